// A small child process for the Windows tests, a program without windows
// (the GUI subsystem, so that WaitForInputIdle applies to it).
//
//   orvix_test_sleeper.exe MILLISECONDS [EXIT_CODE]
//       sleeps, then exits with EXIT_CODE (default 0)
//   orvix_test_sleeper.exe spawn MILLISECONDS
//       starts a copy of itself that sleeps MILLISECONDS and exits at once
//       with that copy's process id (0 when it could not be started)
//   orvix_test_sleeper.exe idle MILLISECONDS
//       waits for window messages that never come, as an idle program does
//   orvix_test_sleeper.exe hold FILE MARKER
//       opens FILE without sharing its deletion, creates MARKER, and keeps
//       the file open until MARKER is gone (five minutes at most)
#include <cwchar>
#include <string>

#include <windows.h>

namespace {

unsigned long Number(const wchar_t* text) { return std::wcstoul(text, nullptr, 10); }

int Spawn(const wchar_t* milliseconds) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + milliseconds;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
    return 0;
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);
  return static_cast<int>(child.dwProcessId);
}

void WaitForMessages(unsigned long milliseconds) {
  const DWORD start = ::GetTickCount();
  MSG message;
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the message queue
  while (::GetTickCount() - start < milliseconds) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - (::GetTickCount() - start), QS_ALLINPUT);
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
}

int Hold(const wchar_t* file, const wchar_t* marker) {
  HANDLE held = ::CreateFileW(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 3;
  HANDLE created = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (created == INVALID_HANDLE_VALUE) return 4;
  ::CloseHandle(created);
  for (int i = 0; i < 3000 && ::GetFileAttributesW(marker) != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
  ::CloseHandle(held);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"spawn") == 0) return Spawn(argv[2]);
  if (argc == 3 && std::wcscmp(argv[1], L"idle") == 0) {
    WaitForMessages(Number(argv[2]));
    return 0;
  }
  if (argc == 4 && std::wcscmp(argv[1], L"hold") == 0) return Hold(argv[2], argv[3]);
  if (argc < 2) return 2;
  ::Sleep(Number(argv[1]));
  return argc >= 3 ? static_cast<int>(Number(argv[2])) : 0;
}
