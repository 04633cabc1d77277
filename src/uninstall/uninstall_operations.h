// The inventory's uninstall operations: running one program's uninstaller
// and waiting for it and everything it starts, the restore point made
// before, and the cancel flags of the wait and of the leftover scan. They
// run on the user-interface thread and keep the window alive through the
// pump while they wait.
#pragma once

#include <map>
#include <string>

#include "inventory/software_info.h"
#include "platform/process_api.h"
#include "platform/pump_api.h"
#include "platform/win_types.h"
#include "uninstall/leftover_scan.h"

namespace orvix {

// What became of one entry's uninstall.
enum TUninstallOutcome {
  uoFinished,       // the uninstaller ran and everything it started has ended
  uoToolbarMarker,  // a toolbar's marker text in place of a command: nothing to run
  uoNotStarted,     // the uninstaller could not be started
  uoCancelled,      // cancelled before the uninstaller was started
  uoStillInstalled, // the uninstaller ended, yet the entry and the uninstaller are still there
};

struct TUninstallResult {
  std::wstring DisplayName;  // empty for no entry
  TUninstallOutcome Outcome = uoFinished;
  std::wstring Command;  // what was run, folder macros expanded
  DWORD Error = 0;       // why it could not be started
};

// Executables that never keep the wait alive: browsers, Explorer and the
// like, which an uninstaller may open or restart and leave running.
bool IgnoredWhileWaiting(const std::wstring& exeName);

// RESTOREPOINTINFOW as the restore client takes it: event type 100
// (BEGIN_SYSTEM_CHANGE), restore point type 1 (APPLICATION_UNINSTALL),
// sequence number 0 and the description in 256 wide characters, packed, as
// 16-bit units one per character, so that on Windows the text's buffer is
// the record itself.
std::wstring RestorePointRecord(const std::wstring& description);

class TUninstallOperations {
 public:
  static constexpr int kMaxJobQueryFailures = 11;
  static constexpr const wchar_t* kRestorePointDescription = L"Orvix Uninstaller restore point";

  TUninstallOperations(const TSoftwareInfo& inventory, IPump& pump);

  // Runs the entry's uninstall command and waits (RunUninstallerAndWait);
  // toolbar marker texts run nothing.
  TUninstallResult UninstallEntry(const TSoftInfo* entry);
  // Starts the command in a new job and waits until the job holds only
  // ignored programs; 0, or -1 when the process could not be created
  // (LastStartError() says why).
  int RunUninstallerAndWait(const std::wstring& command);
  DWORD LastStartError() const { return lastStartError_; }

  // Lets a restore point be made although one was made recently.
  static void LiftRestorePointFrequencyLimit();
  // Asks the system for a restore point on a worker thread and waits for it;
  // a system without the service (Wine), or one that refuses, changes nothing.
  void CreateRestorePoint();

  void CancelUninstall() { uninstallCancelled_ = true; }
  bool UninstallCancelled() const { return uninstallCancelled_; }
  // Stops the running leftover scan and marks the scan as cancelled.
  void CancelScan();
  bool ScanCancelled() const { return scanCancelled_; }

  int ScanLeftovers(const TSoftInfo* entry, TLeftoverTree& tree, const std::wstring& folderText,
                    const TTreeImageList* programIcons = nullptr);
  int FindInFolder(const std::wstring& folder) const { return inventory_.FindInFolder(folder); }

  // Runs each entry's silent form where it has one (QuietUninstallString,
  // or msiexec with /qn), for scripts that cannot answer a dialog.
  bool Quiet = false;

 private:
  std::wstring CommandOf(const TSoftInfo& entry) const;
  // Pauses on the platform clock with messages processed after each step;
  // false when the wait was cancelled meanwhile.
  bool Pause(int steps, DWORD stepMs);
  // True when the wait ended as it should; false after too many failed
  // queries, when the caller falls back to the process tree.
  bool WaitForJob(JobHandle job);
  void WaitForProcessTree(DWORD rootProcessId);

  const TSoftwareInfo& inventory_;
  IPump& pump_;
  TLeftoverScan scan_;
  // Install folders found from the uninstall command before the uninstaller
  // ran (it may remove them), for entries that record none.
  std::map<const TSoftInfo*, std::wstring> foundFolders_;
  bool uninstallCancelled_ = false;
  bool scanCancelled_ = false;
  DWORD lastStartError_ = 0;
};

}  // namespace orvix
