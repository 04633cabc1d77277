#include "ui/desktop_program.h"

#include "language/forms/forms.h"
#include "language/interface_messages.h"
#include "language/language.h"
#include "language/language_setting.h"
#include "platform/app_frame.h"
#include "ui/form_texts.h"
#include "ui/main_window.h"
#include "ui/window.h"

namespace orvix::ui {

int RunDesktopProgram(int showCommand) {
  TLanguage language(kLanguageSectionPrefix);
  language.SetLanguageFolder(TAppFrame().ProgramFolder() + L"Language");
  language.SelectLanguage(ReadLanguageSetting());
  language.InstallAsTextSource();
  LoadInterfaceMessages(language);
  SetFormLanguage(&language);

  auto* window = new MainWindow();
  if (!window->Create()) {
    delete window;
    return 1;
  }
  window->Show(showCommand);
  const int exitCode = MessageLoop::Run();
  SetFormLanguage(nullptr);
  return exitCode;
}

}  // namespace orvix::ui
