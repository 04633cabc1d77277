#include "platform/process_helpers.h"

#include "platform/app_frame.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace orvix {
namespace {

void ReplaceAllText(std::wstring& text, std::wstring_view what, const std::wstring& with) {
  for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

}  // namespace

// Windows 9x kept this list in wininit.ini; no system this program runs on
// does, so only the MoveFileEx way is here.
bool DeleteAtReboot(const std::wstring& path, const std::wstring& newPath, TRebootMode mode) {
  const std::wstring target = mode == rmRename ? newPath : L"";
  return CurrentPlatform().Files().MoveFile(path, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) ==
         ERROR_SUCCESS;
}

bool KillProcessByName(const std::wstring& nameOrPath) {
  IProcessApi& processes = CurrentPlatform().Processes();
  bool result = false;
  // Only a path needs each process opened for its image path.
  const bool byPath = nameOrPath.find(L'\\') != std::wstring::npos;
  for (const ProcessEntry& entry : processes.Snapshot()) {
    if (!SameText(entry.exeFile, nameOrPath) && !(byPath && SameText(processes.ImagePathOf(entry.processId), nameOrPath)))
      continue;
    const ProcessHandle process = processes.OpenProcess(PROCESS_TERMINATE, entry.processId);
    result = process != 0 && processes.TerminateProcess(process, 0);
    if (process != 0) processes.CloseProcess(process);
  }
  return result;
}

bool IsProcessRunning(const std::wstring& exeName) {
  for (const ProcessEntry& entry : CurrentPlatform().Processes().Snapshot()) {
    if (SameText(entry.exeFile, exeName)) return true;
  }
  return false;
}

std::wstring ProcessExeName(DWORD processId) {
  for (const ProcessEntry& entry : CurrentPlatform().Processes().Snapshot()) {
    if (entry.processId == processId) return entry.exeFile.substr(0, 260);
  }
  return {};
}

void RunShellCommand(const std::wstring& command) {
  const TAppFrame frame;
  std::wstring text = command;
  ReplaceAllText(text, L"%WINDOWS%", frame.GetFolder(fkWindows));
  ReplaceAllText(text, L"%SYSTEM%", frame.GetFolder(fkSystem));
  ReplaceAllText(text, L"%APP%\\", frame.ProgramFolder());
  ReplaceAllText(text, L"%APP%/", frame.ProgramFolder());
  IShellApi& shell = CurrentPlatform().Shell();
  if (text.size() >= 12 && SameText(text.substr(0, 12), L"RUNDLL32.EXE")) {
    shell.ShellExecute(L"open", L"RunDll32.exe", text.size() > 13 ? text.substr(13, 255) : L"", L"", SW_SHOWNORMAL);
  } else {
    shell.ShellExecute(L"open", text, L"", L"", SW_SHOWNORMAL);
  }
}

bool OpenWebPage(const std::wstring& address) {
  IShellApi& shell = CurrentPlatform().Shell();
  return shell.ShellExecute(L"open", address, L"", L"", SW_SHOWNORMAL) ||
         shell.ShellExecute(L"open", L"iexplore.exe", address, L"", SW_SHOWNORMAL);
}

bool DisableFsRedirection(void** oldValue) { return CurrentPlatform().Files().DisableFsRedirection(oldValue); }

bool RevertFsRedirection(void* oldValue) { return CurrentPlatform().Files().RevertFsRedirection(oldValue); }

}  // namespace orvix
