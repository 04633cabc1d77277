// OrvixUninstaller.exe: the desktop program, on the real machine.
#include "platform/platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/win32_platform.h"
#include "ui/desktop_program.h"
#include "platform/win32/com_scope.h"
#include "ui/win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  orvix::win32::RestrictDllSearchToSystem();
  orvix::win32::Win32Platform platform;
  orvix::ScopedPlatform current(platform);
  // The shell's dialogs, icons and the accessibility annotations use COM.
  orvix::win32::ComScope com;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                         ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES |
                                                         ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&controls);
  return orvix::ui::RunDesktopProgram(showCommand);
}
