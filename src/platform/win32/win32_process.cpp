#include <algorithm>
#include <cstddef>

#include "platform/process_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

namespace orvix::win32 {
namespace {

constexpr int kMaxJobListAttempts = 8;

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

HANDLE NativeHandle(std::uintptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::uintptr_t PortableHandle(HANDLE handle) { return reinterpret_cast<std::uintptr_t>(handle); }

void CloseIfOpen(std::uintptr_t handle) {
  if (handle != 0) ::CloseHandle(NativeHandle(handle));
}

// The full path of a process's executable; empty when the process cannot be
// opened (another user's, or a protected one).
std::wstring ImagePath(::DWORD processId) {
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return L"";
  wchar_t path[MAX_PATH * 2] = {};
  ::DWORD length = MAX_PATH * 2;
  const BOOL ok = ::QueryFullProcessImageNameW(process, 0, path, &length);
  ::CloseHandle(process);
  return ok ? std::wstring(path, length) : L"";
}

class Win32Processes : public IProcessApi {
 public:
  std::vector<ProcessEntry> Snapshot() override {
    std::vector<ProcessEntry> processes;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
      processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    ::CloseHandle(snapshot);
    return processes;
  }

  std::wstring ImagePathOf(orvix::DWORD processId) override { return ImagePath(processId); }

  orvix::DWORD CurrentProcessId() override { return ::GetCurrentProcessId(); }

  orvix::DWORD CreateProcess(const std::wstring& commandLine, const std::wstring& directory, orvix::DWORD flags,
                             StartedProcess* started) override {
    // CreateProcessW may write into the command line, so it gets a copy.
    std::wstring writable = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, flags, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
      *started = {};
      return ::GetLastError();
    }
    *started = {PortableHandle(info.hProcess), PortableHandle(info.hThread), info.dwProcessId};
    return ERROR_SUCCESS;
  }

  bool ResumeProcess(const StartedProcess& started) override {
    return started.thread != 0 && ::ResumeThread(NativeHandle(started.thread)) != static_cast<::DWORD>(-1);
  }

  ProcessHandle OpenProcess(orvix::DWORD access, orvix::DWORD processId) override {
    return PortableHandle(::OpenProcess(access, FALSE, processId));
  }

  bool TerminateProcess(ProcessHandle process, orvix::DWORD exitCode) override {
    return ::TerminateProcess(NativeHandle(process), exitCode);
  }

  orvix::DWORD WaitForProcess(ProcessHandle process, orvix::DWORD milliseconds) override {
    return ::WaitForSingleObject(NativeHandle(process), milliseconds);
  }

  bool GetExitCode(ProcessHandle process, orvix::DWORD* exitCode) override {
    ::DWORD code = 0;
    if (!::GetExitCodeProcess(NativeHandle(process), &code)) return false;
    *exitCode = code;
    return true;
  }

  orvix::DWORD WaitForInputIdle(ProcessHandle process, orvix::DWORD milliseconds) override {
    return ::WaitForInputIdle(NativeHandle(process), milliseconds);
  }

  bool IsWow64Process(ProcessHandle process, bool* wow64) override {
    static const auto isWow64 = SystemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL answer = FALSE;
    if (isWow64 == nullptr || !isWow64(NativeHandle(process), &answer)) return false;
    *wow64 = answer != FALSE;
    return true;
  }

  void CloseProcess(const StartedProcess& started) override {
    CloseIfOpen(started.thread);
    CloseIfOpen(started.process);
  }
  void CloseProcess(ProcessHandle process) override { CloseIfOpen(process); }

  JobHandle CreateJob() override { return PortableHandle(::CreateJobObjectW(nullptr, nullptr)); }

  bool AssignToJob(JobHandle job, ProcessHandle process) override {
    return ::AssignProcessToJobObject(NativeHandle(job), NativeHandle(process));
  }

  bool JobProcessIds(JobHandle job, std::vector<orvix::DWORD>* ids) override {
    // The list is a header followed by the ids; members may join between two
    // calls, so the buffer grows until everything fits.
    std::size_t capacity = 32;
    for (int attempt = 0; attempt < kMaxJobListAttempts; ++attempt) {
      std::vector<unsigned char> buffer(offsetof(JOBOBJECT_BASIC_PROCESS_ID_LIST, ProcessIdList) +
                                        capacity * sizeof(ULONG_PTR));
      auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
      const BOOL ok = ::QueryInformationJobObject(NativeHandle(job), JobObjectBasicProcessIdList, list,
                                                  static_cast<::DWORD>(buffer.size()), nullptr);
      if (!ok && ::GetLastError() != ERROR_MORE_DATA) return false;
      if (ok && list->NumberOfProcessIdsInList >= list->NumberOfAssignedProcesses) {
        ids->assign(list->ProcessIdList, list->ProcessIdList + list->NumberOfProcessIdsInList);
        return true;
      }
      capacity = std::max<std::size_t>(capacity * 2, list->NumberOfAssignedProcesses + 8);
    }
    return false;
  }

  void CloseJob(JobHandle job) override { CloseIfOpen(job); }
};

}  // namespace

std::unique_ptr<IProcessApi> MakeProcesses() { return std::make_unique<Win32Processes>(); }

}  // namespace orvix::win32
