#include "uninstall/uninstall_operations.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform/app_frame.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/quiet_command.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

// The last three are the programs of our own product line's system-care
// tool, which may be running beside any uninstall.
constexpr std::array<const wchar_t*, 10> kIgnoredPrograms = {
    L"iexplore.exe", L"firefox.exe",     L"chrome.exe",    L"opera.exe",          L"safari.exe",
    L"explorer.exe", L"wmpnscfg.exe",    L"orvixcare.exe", L"orvixcaretray.exe", L"orvixquicksettings.exe"};

constexpr const wchar_t* kSystemRestoreKey = L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";

constexpr std::size_t kDescriptionUnits = 256;
constexpr std::size_t kStateManagerStatusBytes = 12;  // a 32-bit status and a 64-bit sequence number, packed

void AppendUnits(std::wstring& record, std::uint64_t value, int units) {
  for (int i = 0; i < units; ++i) record.push_back(static_cast<wchar_t>((value >> (16 * i)) & 0xFFFF));
}

bool IsToolbarMarker(const std::wstring& command) {
  return command == L"_SPECIAL_ORVIXTOOLBAR_" || command.find(L"_SPECIAL_TOOLBAR_") != std::wstring::npos;
}

// File-system redirection off for one scope, on 64-bit Windows only.
class TRedirectionOff {
 public:
  explicit TRedirectionOff(bool wanted) { active_ = wanted && DisableFsRedirection(&old_); }
  ~TRedirectionOff() {
    if (active_) RevertFsRedirection(old_);
  }
  TRedirectionOff(const TRedirectionOff&) = delete;
  TRedirectionOff& operator=(const TRedirectionOff&) = delete;

 private:
  void* old_ = nullptr;
  bool active_ = false;
};

}  // namespace

std::wstring RestorePointRecord(const std::wstring& description) {
  std::wstring record;
  AppendUnits(record, 100, 2);  // BEGIN_SYSTEM_CHANGE
  AppendUnits(record, 1, 2);    // APPLICATION_UNINSTALL
  AppendUnits(record, 0, 4);    // sequence number
  const std::wstring text = description.substr(0, kDescriptionUnits - 1);
  record += text;
  record.append(kDescriptionUnits - text.size(), L'\0');
  return record;
}

bool IgnoredWhileWaiting(const std::wstring& exeName) {
  return std::any_of(kIgnoredPrograms.begin(), kIgnoredPrograms.end(),
                     [&](const wchar_t* name) { return LowerCase(exeName) == name; });
}

TUninstallOperations::TUninstallOperations(const TSoftwareInfo& inventory, IPump& pump)
    : inventory_(inventory), pump_(pump), scan_(&pump) {}

std::wstring TUninstallOperations::CommandOf(const TSoftInfo& entry) const {
  std::wstring command = entry.UninstallString;
  if (Quiet) {
    // Without a quiet form the uninstaller shows its own windows.
    const std::wstring quiet = QuietUninstallCommand(entry);
    if (!quiet.empty()) command = quiet;
  }
  return ExpandFolderMacros(command).text;
}

TUninstallResult TUninstallOperations::UninstallEntry(const TSoftInfo* entry) {
  TUninstallResult result;
  if (entry == nullptr) return result;
  result.DisplayName = entry->DisplayName;
  result.Command = CommandOf(*entry);
  if (IsToolbarMarker(result.Command)) {
    Pause(11, 20);
    result.Outcome = uoToolbarMarker;
    return result;
  }
  uninstallCancelled_ = false;
  if (entry->InstallLocation.empty()) foundFolders_[entry] = ScanLocation(*entry);
  if (RunUninstallerAndWait(result.Command) != 0) {
    result.Outcome = uninstallCancelled_ && lastStartError_ == ERROR_SUCCESS ? uoCancelled : uoNotStarted;
    result.Error = lastStartError_;
  } else if (IsStillInstalled(*entry, result.Command)) {
    // The user cancelled the uninstaller's own window, or it failed quietly.
    result.Outcome = uoStillInstalled;
  }
  return result;
}

bool TUninstallOperations::Pause(int steps, DWORD stepMs) {
  IClockApi& clock = CurrentPlatform().Clock();
  for (int i = 0; i < steps; ++i) {
    clock.Sleep(stepMs);
    pump_.ProcessMessages();
  }
  return !uninstallCancelled_;
}

int TUninstallOperations::RunUninstallerAndWait(const std::wstring& command) {
  lastStartError_ = ERROR_SUCCESS;
  const TRedirectionOff redirection(inventory_.RedirectionOff());
  IProcessApi& processes = CurrentPlatform().Processes();

  // A second for the window to show what is about to run; Cancel meanwhile
  // starts nothing.
  if (!Pause(10, 100)) return -1;

  // The whole command line goes to CreateProcessW, however long: cutting it
  // would run a different command. Suspended, so that nothing it starts
  // can run before it is in the job.
  StartedProcess started;
  DWORD error = processes.CreateProcess(command, L"", CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB, &started);
  // Started from within a job that forbids breaking away: start it inside
  // that job, and follow it by the process tree below.
  if (error == ERROR_ACCESS_DENIED) error = processes.CreateProcess(command, L"", CREATE_SUSPENDED, &started);
  if (error != ERROR_SUCCESS) {
    lastStartError_ = error;
    return -1;
  }

  const JobHandle job = processes.CreateJob();
  const bool inJob = job != 0 && processes.AssignToJob(job, started.process);
  processes.ResumeProcess(started);
  if (!inJob || !WaitForJob(job)) WaitForProcessTree(started.processId);
  // Closing our handles ends nothing: the job does not kill on close.
  if (job != 0) processes.CloseJob(job);
  processes.CloseProcess(started);
  return 0;
}

bool TUninstallOperations::WaitForJob(JobHandle job) {
  IProcessApi& processes = CurrentPlatform().Processes();
  int failures = 0;
  while (!uninstallCancelled_) {
    std::vector<DWORD> ids;
    if (!processes.JobProcessIds(job, &ids)) {
      if (++failures >= kMaxJobQueryFailures) return false;
    } else {
      const std::vector<ProcessEntry> snapshot = processes.Snapshot();
      std::size_t ignored = 0;
      for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i > 0) pump_.ProcessMessages();
        const auto found = std::find_if(snapshot.begin(), snapshot.end(),
                                        [&](const ProcessEntry& entry) { return entry.processId == ids[i]; });
        if (found != snapshot.end() && IgnoredWhileWaiting(found->exeFile)) ++ignored;
      }
      if (ignored == ids.size()) return true;
    }
    Pause(1, 50);
  }
  return true;
}

void TUninstallOperations::WaitForProcessTree(DWORD rootProcessId) {
  IProcessApi& processes = CurrentPlatform().Processes();
  // Every process ever seen below the uninstaller: a child keeps its
  // parent's id after the parent has ended.
  std::set<DWORD> tree = {rootProcessId};
  while (!uninstallCancelled_) {
    const std::vector<ProcessEntry> snapshot = processes.Snapshot();
    for (bool grew = true; grew;) {
      grew = false;
      for (const ProcessEntry& entry : snapshot) {
        if (tree.count(entry.parentProcessId) != 0 && tree.insert(entry.processId).second) grew = true;
      }
    }
    const bool waiting = std::any_of(snapshot.begin(), snapshot.end(), [&](const ProcessEntry& entry) {
      return tree.count(entry.processId) != 0 && !IgnoredWhileWaiting(entry.exeFile);
    });
    if (!waiting) return;
    Pause(1, 50);
  }
}

void TUninstallOperations::LiftRestorePointFrequencyLimit() {
  const bool view64 = IsWow64();
  if (!RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", kSystemRestoreKey, view64)) return;
  try {
    TRegistry registry(KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : 0));
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (registry.OpenKey(kSystemRestoreKey, false)) registry.WriteInteger(L"SystemRestorePointCreationFrequency", 0);
  } catch (const ERegistryException&) {
    // Without the right to change it, the limit stays.
  }
}

void TUninstallOperations::CreateRestorePoint() {
  std::packaged_task<void()> task([] {
    // Any failure (no library, no function, a refusal) leaves no trace.
    IModuleApi& modules = CurrentPlatform().Modules();
    const ModuleHandle client = modules.LoadSystemLibrary(L"SrClient.dll");
    if (client == 0 || !modules.HasExport(client, "SRSetRestorePointW")) return;
    const auto status = std::make_shared<std::vector<std::uint8_t>>(kStateManagerStatusBytes);  // STATEMGRSTATUS
    modules.CallExport(client, "SRSetRestorePointW", {RestorePointRecord(kRestorePointDescription), status});
  });
  std::future<void> finished = task.get_future();
  std::thread worker(std::move(task));
  while (finished.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) pump_.ProcessMessages();
  worker.join();
}

void TUninstallOperations::CancelScan() {
  scanCancelled_ = true;
  scan_.Stop();
}

int TUninstallOperations::ScanLeftovers(const TSoftInfo* entry, TLeftoverTree& tree, const std::wstring& folderText,
                                        const TTreeImageList* programIcons) {
  if (scanCancelled_) return 0;
  const auto remembered = entry != nullptr ? foundFolders_.find(entry) : foundFolders_.end();
  std::optional<TSoftInfo> withFolder;
  if (remembered != foundFolders_.end() && !remembered->second.empty()) {
    withFolder = *entry;
    withFolder->InstallLocation = remembered->second;
  }
  const int found = scan_.ScanLeftovers(withFolder ? &*withFolder : entry, tree, folderText, programIcons);
  if (scan_.Cancelled()) scanCancelled_ = true;
  return found;
}

}  // namespace orvix
