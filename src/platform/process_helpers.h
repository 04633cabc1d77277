// Process and file helpers several subsystems share.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace orvix {

enum TRebootMode { rmDelete = 1, rmRename = 2 };

// Schedules a file or empty folder for deletion (or renaming to newPath) at
// the next restart.
bool DeleteAtReboot(const std::wstring& path, const std::wstring& newPath, TRebootMode mode);

// Ends (exit code 0) every process whose executable name or full path equals
// the text ignoring case; the answer of the last termination, false when
// none matched.
bool KillProcessByName(const std::wstring& nameOrPath);
bool IsProcessRunning(const std::wstring& exeName);
// The executable file name of a process, empty when there is none.
std::wstring ProcessExeName(DWORD processId);

// Opens a command of the program's own tables ("%WINDOWS%", "%SYSTEM%" and
// "%APP%\" placeholders; "RUNDLL32.EXE ..." runs through RunDll32).
void RunShellCommand(const std::wstring& command);

// Opens a web address with its default handler, else with Internet
// Explorer; false when neither took it.
bool OpenWebPage(const std::wstring& address);

// File-system redirection of a 32-bit process on 64-bit Windows, for the
// calling thread; false where the system has none.
bool DisableFsRedirection(void** oldValue);
bool RevertFsRedirection(void* oldValue);

}  // namespace orvix
