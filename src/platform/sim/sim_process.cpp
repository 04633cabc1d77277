#include "platform/sim/sim_process.h"

#include <cstdio>
#include <cstdlib>

namespace orvix::sim {
namespace {

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void EndlessWait(const std::wstring& exe) {
  std::fprintf(stderr, "simulated wait would never end: %ls keeps running and nothing else is scheduled\n",
               exe.c_str());
  std::abort();
}

}  // namespace

const std::wstring& SimProcessContext::CommandLine() const { return processes_.processes_.at(pid_).commandLine; }
const std::wstring& SimProcessContext::ExePath() const { return processes_.processes_.at(pid_).exePath; }

DWORD SimProcessContext::Start(const std::wstring& commandLine) {
  const SimProcessInfo& self = processes_.processes_.at(pid_);
  return processes_.Launch(commandLine, pid_, self.job, false);
}

void SimProcessContext::Exit(DWORD exitCode) { processes_.Finish(pid_, exitCode); }

void SimProcessContext::After(std::uint64_t milliseconds, std::function<void(SimProcessContext&)> step) {
  ++processes_.processes_.at(pid_).pendingSteps;
  SimProcesses& processes = processes_;
  const DWORD pid = pid_;
  processes.clock_.Schedule(milliseconds, [&processes, pid, step = std::move(step)] {
    SimProcessInfo& info = processes.processes_.at(pid);
    if (!info.running) return;
    --info.pendingSteps;
    SimProcessContext context(processes, pid);
    step(context);
    const SimProcessInfo& after = processes.processes_.at(pid);
    if (after.running && after.pendingSteps == 0 && !after.hangs) processes.Finish(pid, 0);
  });
}

void SimProcessContext::Hang() { processes_.processes_.at(pid_).hangs = true; }

SimProcesses::SimProcesses(SimClock& clock, std::function<bool(const std::wstring&)> fileExists)
    : clock_(clock), fileExists_(std::move(fileExists)) {}

void SimProcesses::RegisterExecutable(const std::wstring& path, SimBehaviour behaviour, bool is64Bit) {
  executables_[path] = {std::move(behaviour), is64Bit};
}

DWORD SimProcesses::AddRunning(const std::wstring& exePath, DWORD parentPid, bool is64Bit) {
  nextPid_ += 4;
  SimProcessInfo info;
  info.pid = nextPid_;
  info.parentPid = parentPid;
  info.exePath = exePath;
  info.commandLine = L"\"" + exePath + L"\"";
  info.wow64 = !is64Bit;
  info.hangs = true;
  processes_[info.pid] = info;
  return info.pid;
}

void SimProcesses::SetSelf(const std::wstring& exePath) {
  if (selfPid_ == 0) selfPid_ = AddRunning(exePath);
  processes_[selfPid_].exePath = exePath;
}

void SimProcesses::PutSelfInJob(bool allowsBreakaway) {
  processes_[selfPid_].job = CreateJob();
  selfJobAllowsBreakaway_ = allowsBreakaway;
}

const SimProcessInfo* SimProcesses::Find(DWORD pid) const {
  const auto it = processes_.find(pid);
  return it == processes_.end() ? nullptr : &it->second;
}

SimProcessInfo* SimProcesses::Lookup(ProcessHandle handle) {
  const auto it = handles_.find(handle);
  if (it == handles_.end()) return nullptr;
  return &processes_.at(it->second);
}

std::wstring SimProcesses::ResolveExecutable(const std::wstring& commandLine, const Executable** executable) const {
  *executable = nullptr;
  auto known = [&](const std::wstring& candidate) -> std::wstring {
    for (const std::wstring& name : {candidate, candidate + L".exe"}) {
      if (const auto it = executables_.find(name); it != executables_.end()) {
        *executable = &it->second;
        return it->first;
      }
      if (name.find(L'\\') == std::wstring::npos) {
        // A bare name is looked for among the registered programs, as the
        // search path would find it.
        for (const auto& [path, entry] : executables_) {
          if (SameText(FileNameOf(path), name)) {
            *executable = &entry;
            return path;
          }
        }
      } else if (fileExists_ && fileExists_(name)) {
        return name;
      }
    }
    return {};
  };

  const std::wstring text = Trim(commandLine);
  if (!text.empty() && text[0] == L'"') {
    const std::size_t close = text.find(L'"', 1);
    return known(text.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
  }
  // Unquoted: every prefix ending before a space, shortest first.
  for (std::size_t end = 0; end != std::wstring::npos;) {
    end = text.find(L' ', end + 1);
    const std::wstring found = known(text.substr(0, end));
    if (!found.empty()) return found;
  }
  return {};
}

DWORD SimProcesses::Launch(const std::wstring& commandLine, DWORD parentPid, JobHandle job, bool suspended) {
  const Executable* executable = nullptr;
  const std::wstring exePath = ResolveExecutable(commandLine, &executable);
  if (exePath.empty()) return 0;
  nextPid_ += 4;
  SimProcessInfo info;
  info.pid = nextPid_;
  info.parentPid = parentPid;
  info.exePath = exePath;
  info.commandLine = commandLine;
  info.suspended = suspended;
  info.wow64 = executable == nullptr || !executable->is64Bit;
  info.job = job;
  processes_[info.pid] = info;
  startedCommandLines_.push_back(commandLine);
  // A program that is not suspended runs at once, before its creator can do
  // anything else: the least favourable order a real start can take.
  if (!suspended) Run(info.pid);
  return info.pid;
}

void SimProcesses::Run(DWORD pid) {
  SimProcessInfo& info = processes_.at(pid);
  info.suspended = false;
  const Executable* executable = nullptr;
  ResolveExecutable(L"\"" + info.exePath + L"\"", &executable);
  if (executable != nullptr && executable->behaviour) {
    SimProcessContext context(*this, pid);
    executable->behaviour(context);
  }
  const SimProcessInfo& after = processes_.at(pid);
  if (after.running && after.pendingSteps == 0 && !after.hangs) Finish(pid, 0);
}

void SimProcesses::Finish(DWORD pid, DWORD exitCode) {
  SimProcessInfo& info = processes_.at(pid);
  if (!info.running) return;
  info.running = false;
  info.exitCode = exitCode;
}

std::vector<ProcessEntry> SimProcesses::Snapshot() {
  std::vector<ProcessEntry> entries;
  for (const auto& [pid, info] : processes_) {
    if (info.running) entries.push_back({pid, info.parentPid, FileNameOf(info.exePath)});
  }
  return entries;
}

std::wstring SimProcesses::ImagePathOf(DWORD processId) {
  const auto found = processes_.find(processId);
  return found != processes_.end() && found->second.running ? found->second.exePath : L"";
}

DWORD SimProcesses::CreateProcess(const std::wstring& commandLine, const std::wstring& /*directory*/, DWORD flags,
                                  StartedProcess* started) {
  const auto self = processes_.find(selfPid_);
  const JobHandle selfJob = self == processes_.end() ? 0 : self->second.job;
  const bool breakaway = (flags & CREATE_BREAKAWAY_FROM_JOB) != 0;
  if (selfJob != 0 && breakaway && !selfJobAllowsBreakaway_) return ERROR_ACCESS_DENIED;
  const DWORD pid = Launch(commandLine, selfPid_, breakaway ? 0 : selfJob, (flags & CREATE_SUSPENDED) != 0);
  if (pid == 0) return ERROR_FILE_NOT_FOUND;
  started->processId = pid;
  started->process = nextHandle_ += 4;
  handles_[started->process] = pid;
  started->thread = nextHandle_ += 4;
  handles_[started->thread] = pid;
  return ERROR_SUCCESS;
}

bool SimProcesses::ResumeProcess(const StartedProcess& started) {
  SimProcessInfo* info = Lookup(started.thread);
  if (info == nullptr) return false;
  if (info->suspended && info->running) Run(info->pid);
  return true;
}

ProcessHandle SimProcesses::OpenProcess(DWORD /*access*/, DWORD processId) {
  if (processes_.find(processId) == processes_.end()) return 0;
  const ProcessHandle handle = nextHandle_ += 4;
  handles_[handle] = processId;
  return handle;
}

bool SimProcesses::TerminateProcess(ProcessHandle process, DWORD exitCode) {
  SimProcessInfo* info = Lookup(process);
  if (info == nullptr || !info->running) return false;
  Finish(info->pid, exitCode);
  return true;
}

DWORD SimProcesses::WaitForProcess(ProcessHandle process, DWORD milliseconds) {
  SimProcessInfo* info = Lookup(process);
  if (info == nullptr) return WAIT_FAILED;
  const DWORD pid = info->pid;
  const bool ended = clock_.AdvanceUntil(milliseconds, [&] { return !processes_.at(pid).running; });
  if (!ended && milliseconds == INFINITE) EndlessWait(processes_.at(pid).exePath);
  return ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

bool SimProcesses::GetExitCode(ProcessHandle process, DWORD* exitCode) {
  SimProcessInfo* info = Lookup(process);
  if (info == nullptr) return false;
  *exitCode = info->running ? STILL_ACTIVE : info->exitCode;
  return true;
}

DWORD SimProcesses::WaitForInputIdle(ProcessHandle process, DWORD /*milliseconds*/) {
  SimProcessInfo* info = Lookup(process);
  return info != nullptr && info->running ? WAIT_OBJECT_0 : WAIT_FAILED;
}

bool SimProcesses::IsWow64Process(ProcessHandle process, bool* wow64) {
  SimProcessInfo* info = Lookup(process);
  if (info == nullptr) return false;
  *wow64 = info->wow64;
  return true;
}

void SimProcesses::CloseProcess(const StartedProcess& started) {
  handles_.erase(started.process);
  handles_.erase(started.thread);
}

void SimProcesses::CloseProcess(ProcessHandle process) { handles_.erase(process); }

JobHandle SimProcesses::CreateJob() {
  const JobHandle job = nextHandle_ += 4;
  jobs_.insert(job);
  return job;
}

bool SimProcesses::AssignToJob(JobHandle job, ProcessHandle process) {
  SimProcessInfo* info = Lookup(process);
  if (info == nullptr || jobs_.count(job) == 0 || !info->running) return false;
  if (info->job != 0 && info->job != job) return false;  // one job per process, as before Windows 8
  info->job = job;
  return true;
}

bool SimProcesses::JobProcessIds(JobHandle job, std::vector<DWORD>* ids) {
  if (jobs_.count(job) == 0) return false;
  ++jobQueries_;
  if (failingJobQueries_ > 0) {
    --failingJobQueries_;
    return false;
  }
  ids->clear();
  for (const auto& [pid, info] : processes_) {
    if (info.running && info.job == job) ids->push_back(pid);
  }
  return true;
}

void SimProcesses::CloseJob(JobHandle job) { jobs_.erase(job); }

}  // namespace orvix::sim
