#include "shell/start_routing.h"

#include "platform/platform.h"
#include "platform/text.h"
#include "shell/window_messages.h"

namespace orvix {
namespace {

struct TCommandName {
  const wchar_t* text;
  TStartCommand command;
};
constexpr TCommandName kCommands[] = {
    {L"/install", stcInstall},
    {L"MenuRight", stcMenuRight},
    {L"control_statistics", stcControlStatistics},
    {L"explorer_statistics", stcExplorerStatistics},
};

WindowHandle FindRunningWindow() { return CurrentPlatform().Windows().FindTopWindow(kMainWindowClass, kMainWindowTitle); }

// The running copy gets what this start asked for.
void ForwardToRunningCopy(const TStartArguments& args) {
  IWindowApi& windows = CurrentPlatform().Windows();
  const WindowHandle window = FindRunningWindow();
  if (window == 0) return;
  windows.PostToWindow(window, kMsgBringToFront, 0, 0);
  if (args.command == stcControlStatistics && !args.second.empty()) {
    windows.SendCopyData(window, kCopyDataForcedName, CopyDataPayload(args.second));
  } else if (args.command == stcExplorerStatistics) {
    windows.PostToWindow(window, kMsgShredFromExplorer, 0, 0);
  }
}

}  // namespace

TStartArguments ParseStartArguments(const std::vector<std::wstring>& args) {
  TStartArguments parsed;
  if (!args.empty()) parsed.first = Trim(args[0]);
  if (args.size() > 1) parsed.second = Trim(args[1]);
  for (const TCommandName& name : kCommands) {
    if (SameText(parsed.first, name.text)) parsed.command = name.command;
  }
  return parsed;
}

std::optional<int> RouteStart(const TStartArguments& args, const TSelfInstallHooks& install) {
  if (args.command == stcInstall) {
    if (install.installWanted && install.install && install.installWanted()) install.install(args.second);
    // Started by an installer while no copy runs: the installation was all.
    if (FindRunningWindow() == 0) return 0;
  }
  // Without a mutex at all the program runs unguarded rather than not at all.
  bool existed = false;
  CurrentPlatform().Windows().CreateNamedMutex(kInstanceMutexName, &existed);
  if (!existed) return std::nullopt;
  ForwardToRunningCopy(args);
  return 0;
}

}  // namespace orvix
