#include "ui/desktop_program.h"

#include <string>
#include <vector>

#include "shell/start_routing.h"
#include "ui/main_window.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

// The command line's arguments without the program's own name.
std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(list[i]);
  if (list != nullptr) ::LocalFree(list);
  return arguments;
}

}  // namespace

int RunDesktopProgram(int showCommand) {
  TMainWindowOptions options;
  options.arguments = Arguments();
  // A second copy hands its request to the running one and ends here.
  if (const std::optional<int> exitCode = RouteStart(ParseStartArguments(options.arguments))) return *exitCode;

  auto* window = new MainWindow(std::move(options));
  if (!window->Create()) {
    delete window;
    return 1;
  }
  window->ShowAtBounds(showCommand);
  return MessageLoop::Run();
}

}  // namespace orvix::ui
