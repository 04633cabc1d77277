// The desktop program's run: the language of the windows, the main window
// and the message loop. Called by OrvixUninstaller.exe's main() once the
// platform is set.
#pragma once

namespace orvix::ui {

// Answers the process's exit code.
int RunDesktopProgram(int showCommand);

}  // namespace orvix::ui
