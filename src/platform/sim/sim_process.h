// Simulated processes. An executable is a behaviour a test registers for a
// path: it runs when the process starts (after a suspended start is
// resumed), acts on the machine, starts other programs, and ends at once,
// later on the simulated clock, or never. Jobs, snapshots, waits and
// termination follow from that.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/process_api.h"
#include "platform/sim/sim_clock.h"
#include "platform/text.h"

namespace orvix::sim {

class SimProcesses;

// What a running simulated program can do.
class SimProcessContext {
 public:
  SimProcessContext(SimProcesses& processes, DWORD pid) : processes_(processes), pid_(pid) {}

  DWORD Pid() const { return pid_; }
  const std::wstring& CommandLine() const;
  const std::wstring& ExePath() const;

  // Starts another program as this process's child; it joins this
  // process's job. Answers the child's id, 0 when it could not start.
  DWORD Start(const std::wstring& commandLine);
  // Ends the process now.
  void Exit(DWORD exitCode);
  // Runs more of the program after some milliseconds of simulated time.
  void After(std::uint64_t milliseconds, std::function<void(SimProcessContext&)> step);
  // Keeps running until terminated.
  void Hang();

 private:
  SimProcesses& processes_;
  DWORD pid_;
};

using SimBehaviour = std::function<void(SimProcessContext&)>;

struct SimProcessInfo {
  DWORD pid = 0;
  DWORD parentPid = 0;
  std::wstring exePath;
  std::wstring commandLine;
  bool suspended = false;
  bool running = true;
  bool wow64 = true;
  DWORD exitCode = STILL_ACTIVE;
  JobHandle job = 0;
  int pendingSteps = 0;
  bool hangs = false;
};

class SimProcesses : public IProcessApi {
 public:
  // `fileExists` tells whether a program file without a behaviour exists;
  // such a program starts and ends at once with exit code 0.
  SimProcesses(SimClock& clock, std::function<bool(const std::wstring&)> fileExists);

  std::vector<ProcessEntry> Snapshot() override;
  std::wstring ImagePathOf(DWORD processId) override;
  DWORD CurrentProcessId() override { return selfPid_; }
  DWORD CreateProcess(const std::wstring& commandLine, const std::wstring& directory, DWORD flags,
                      StartedProcess* started) override;
  bool ResumeProcess(const StartedProcess& started) override;
  ProcessHandle OpenProcess(DWORD access, DWORD processId) override;
  bool TerminateProcess(ProcessHandle process, DWORD exitCode) override;
  DWORD WaitForProcess(ProcessHandle process, DWORD milliseconds) override;
  bool GetExitCode(ProcessHandle process, DWORD* exitCode) override;
  DWORD WaitForInputIdle(ProcessHandle process, DWORD milliseconds) override;
  bool IsWow64Process(ProcessHandle process, bool* wow64) override;
  void CloseProcess(const StartedProcess& started) override;
  void CloseProcess(ProcessHandle process) override;
  JobHandle CreateJob() override;
  bool AssignToJob(JobHandle job, ProcessHandle process) override;
  bool JobProcessIds(JobHandle job, std::vector<DWORD>* ids) override;
  void CloseJob(JobHandle job) override;

  // Set-up for tests.
  void RegisterExecutable(const std::wstring& path, SimBehaviour behaviour, bool is64Bit = false);
  // A program already running when the test begins (Explorer, a browser).
  DWORD AddRunning(const std::wstring& exePath, DWORD parentPid = 0, bool is64Bit = false);
  // The program under test; it appears in snapshots with this path.
  void SetSelf(const std::wstring& exePath);
  // Puts the program under test into a job of its own, as a launcher may:
  // its children start in that job unless they break away, which the job
  // refuses when `allowsBreakaway` is false (CreateProcess then fails with
  // access denied). A process cannot join a second job, as before Windows 8.
  void PutSelfInJob(bool allowsBreakaway);
  // The next `count` job queries fail.
  void FailJobQueries(int count) { failingJobQueries_ = count; }
  int JobQueryCount() const { return jobQueries_; }

  // Inspection.
  const SimProcessInfo* Find(DWORD pid) const;
  std::vector<std::wstring> StartedCommandLines() const { return startedCommandLines_; }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  friend class SimProcessContext;

  struct Executable {
    SimBehaviour behaviour;
    bool is64Bit = false;
  };

  SimProcessInfo* Lookup(ProcessHandle handle);
  DWORD Launch(const std::wstring& commandLine, DWORD parentPid, JobHandle job, bool suspended);
  void Run(DWORD pid);
  void Finish(DWORD pid, DWORD exitCode);
  // The executable a command line names, and its behaviour if registered.
  std::wstring ResolveExecutable(const std::wstring& commandLine, const Executable** executable) const;

  SimClock& clock_;
  std::function<bool(const std::wstring&)> fileExists_;
  std::map<std::wstring, Executable, TextLess> executables_;
  std::map<DWORD, SimProcessInfo> processes_;
  std::map<ProcessHandle, DWORD> handles_;  // process and thread handles to process ids
  std::set<JobHandle> jobs_;
  std::vector<std::wstring> startedCommandLines_;
  int failingJobQueries_ = 0;
  int jobQueries_ = 0;
  bool selfJobAllowsBreakaway_ = true;
  DWORD nextPid_ = 1000;
  DWORD selfPid_ = 0;
  std::uintptr_t nextHandle_ = 0x2000;
};

}  // namespace orvix::sim
