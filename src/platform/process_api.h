// Processes and jobs: starting programs, watching them and everything they
// start, listing and ending processes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

// Open process or job handles; 0 is never valid.
using ProcessHandle = std::uintptr_t;
using JobHandle = std::uintptr_t;

inline constexpr DWORD PROCESS_TERMINATE = 0x0001;
inline constexpr DWORD PROCESS_VM_OPERATION = 0x0008;
inline constexpr DWORD PROCESS_VM_READ = 0x0010;
inline constexpr DWORD PROCESS_VM_WRITE = 0x0020;
inline constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
inline constexpr DWORD SYNCHRONIZE = 0x00100000;

// One entry of a CreateToolhelp32Snapshot process list.
struct ProcessEntry {
  DWORD processId = 0;
  DWORD parentProcessId = 0;
  std::wstring exeFile;  // the executable's file name, without folder
};

struct StartedProcess {
  ProcessHandle process = 0;
  std::uintptr_t thread = 0;  // the main thread, to resume a suspended start
  DWORD processId = 0;
};

class IProcessApi {
 public:
  virtual ~IProcessApi() = default;

  // The running processes; nothing is opened, so the waits can poll it.
  virtual std::vector<ProcessEntry> Snapshot() = 0;
  // The full path of a process's executable; empty when the process cannot
  // be opened (another user's, a protected one) or has ended.
  virtual std::wstring ImagePathOf(DWORD processId) = 0;
  virtual DWORD CurrentProcessId() = 0;

  // CreateProcessW with the command line as given (no application name),
  // flags such as CREATE_SUSPENDED; answers a Win32 error code.
  virtual DWORD CreateProcess(const std::wstring& commandLine, const std::wstring& directory, DWORD flags,
                              StartedProcess* started) = 0;
  virtual bool ResumeProcess(const StartedProcess& started) = 0;
  virtual ProcessHandle OpenProcess(DWORD access, DWORD processId) = 0;
  virtual bool TerminateProcess(ProcessHandle process, DWORD exitCode) = 0;
  // WaitForSingleObject on the process: WAIT_OBJECT_0 once it has ended,
  // WAIT_TIMEOUT, or WAIT_FAILED.
  virtual DWORD WaitForProcess(ProcessHandle process, DWORD milliseconds) = 0;
  virtual bool GetExitCode(ProcessHandle process, DWORD* exitCode) = 0;
  virtual DWORD WaitForInputIdle(ProcessHandle process, DWORD milliseconds) = 0;
  // Whether the process runs under WOW64 (a 32-bit process on 64-bit Windows).
  virtual bool IsWow64Process(ProcessHandle process, bool* wow64) = 0;
  // Closes the process and its thread handle (either may be 0).
  virtual void CloseProcess(const StartedProcess& started) = 0;
  virtual void CloseProcess(ProcessHandle process) = 0;

  // Job objects: every process a member starts joins the job too.
  virtual JobHandle CreateJob() = 0;
  virtual bool AssignToJob(JobHandle job, ProcessHandle process) = 0;
  // JobObjectBasicProcessIdList: the ids of the job's live processes.
  virtual bool JobProcessIds(JobHandle job, std::vector<DWORD>* ids) = 0;
  virtual void CloseJob(JobHandle job) = 0;
};

}  // namespace orvix
