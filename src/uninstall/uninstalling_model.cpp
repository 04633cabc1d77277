#include "uninstall/uninstalling_model.h"

#include <algorithm>

#include "language/messages.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "uninstall/forced_path.h"
#include "uninstall/uninstall_log.h"

namespace orvix {
namespace {

// Marks a step as running for as long as it is in scope.
class TStepScope {
 public:
  explicit TStepScope(bool& running) : running_(running) { running_ = true; }
  ~TStepScope() { running_ = false; }
  TStepScope(const TStepScope&) = delete;
  TStepScope& operator=(const TStepScope&) = delete;

 private:
  bool& running_;
};

bool IsWindows2000() {
  const OsVersionInfo os = CurrentPlatform().System().OsVersion();
  return os.major == 5 && os.minor == 0;
}

}  // namespace

TUninstallingOptions ReadUninstallingOptions() {
  return {ReadCreateRestore(), ReadAutoUninstaller(), ReadAutoPowerfulScan()};
}

TUninstallingModel::TUninstallingModel(TSoftwareInfo& inventory, IPump& pump, TUninstallingEvents events)
    : TUninstallingModel(inventory, pump, std::move(events), ReadUninstallingOptions()) {}

TUninstallingModel::TUninstallingModel(TSoftwareInfo& inventory, IPump& pump, TUninstallingEvents events,
                                       const TUninstallingOptions& options)
    : events_(std::move(events)),
      operations_(inventory, pump),
      createRestore_(options.createRestore),
      autoUninstaller_(options.autoUninstaller),
      autoPowerfulScan_(options.autoPowerfulScan) {
  caption_ = Text(msg::frmUninstalling_Caption);
  title_ = Text(msg::lbl_Question);
}

void TUninstallingModel::SetEntries(std::vector<const TSoftInfo*> entries, bool batch) {
  entries_ = std::move(entries);
  batch_ = batch;
}

void TUninstallingModel::SetForcedPath(const std::wstring& forcedPath, const std::wstring& pathBoxText) {
  FromForcedList = true;
  forcedByPath_ = true;
  forcedPath_ = forcedPath;
  pathBoxText_ = pathBoxText;
  SetState(usFilesDeleted);
}

bool TUninstallingModel::AnyOutcome(TUninstallOutcome outcome) const {
  return std::any_of(results_.begin(), results_.end(),
                     [&](const TUninstallResult& result) { return result.Outcome == outcome; });
}

bool TUninstallingModel::AnyStillInstalled() const {
  return AnyOutcome(uoNotStarted) || AnyOutcome(uoStillInstalled);
}

void TUninstallingModel::SetState(int state) {
  if (state == state_) return;
  state_ = state;
  switch (state) {
    case usRestorePoint:
      caption_ = Text(msg::Create_Restore_M);
      title_ = Text(msg::CreateRestore_Title_M);
      detail_ = Text(msg::CreateRestore_Detaill_M);
      break;
    case usUninstalling:
      caption_ = Text(msg::Uninstalling_M);
      detail_ = Text(msg::Uninstalling_Detaill_M);
      break;
    case usFilesDeleted: {
      // Only existing files named by full paths: a name in the path box is no file here.
      forcedDeletions_ = DeleteForcedFiles(forcedPath_, pathBoxText_);
      resultLine_ = Text(msg::UninstallComplete_Title_M);
      uninstallEnabled_ = false;
      powerfulScanEnabled_ = true;
      break;
    }
    case usFinished:
      resultLine_ = AnyOutcome(uoNotStarted)
                        ? Text(msg::Uninstall_NotStarted_M)
                    : AnyOutcome(uoStillInstalled)
                        ? Text(msg::Uninstall_StillInstalled_M)
                        : Text(msg::lbl_Finished);
      uninstallEnabled_ = false;
      powerfulScanEnabled_ = true;
      break;
    case usScanning:
      title_ = Text(msg::lbl_PowerfulScanning);
      break;
    default:
      break;
  }
}

void TUninstallingModel::Show() {
  uninstallCancelled_ = false;
  if (autoUninstaller_ && state_ == usConfirm) {
    uninstallStarted_ = true;
    SetState(usUninstalling);
    uninstallEnabled_ = false;
    timerRunning_ = true;
  }
}

void TUninstallingModel::UninstallClick() {
  if (stepRunning_ || !uninstallEnabled_) return;
  uninstallStarted_ = true;
  SetState(createRestore_ ? usRestorePoint : usUninstalling);
  uninstallEnabled_ = false;
  timerRunning_ = true;
}

void TUninstallingModel::ToggleCreateRestore() {
  createRestore_ = !createRestore_;
  WriteCreateRestore(createRestore_);
}

void TUninstallingModel::AddLogLines(const TUninstallResult& result, std::vector<std::wstring>& lines) const {
  if (result.Outcome == uoCancelled) return;  // nothing was run
  lines.push_back(L"[" + result.DisplayName + L"]");
  lines.push_back(Text(msg::Date_M) + L":" + FormatShortDateLongTime(NowLocal()));
  if (result.Outcome == uoNotStarted) {
    lines.push_back(MessageText(msg::Uninstall_NotStarted_Log_M,
                                {result.Command, CurrentPlatform().System().SystemErrorText(result.Error)}));
  } else if (result.Outcome == uoStillInstalled) {
    lines.push_back(MessageText(msg::Uninstall_StillInstalled_Log_M,
                                {result.DisplayName}));
  }
  lines.push_back(L"");
}

void TUninstallingModel::UninstallTimer() {
  if (stepRunning_) return;
  if (!UninstallStep()) return;
  // A program whose uninstaller did not run is still installed: its
  // "leftovers" are the program itself, so they are scanned only when the
  // user asks.
  if (autoPowerfulScan_ && !AnyStillInstalled()) PowerfulScanClick();
}

bool TUninstallingModel::UninstallStep() {
  const TStepScope step(stepRunning_);
  timerRunning_ = false;
  if (autoUninstaller_) {
    // No restore point in this mode.
    caption_ = Text(msg::Uninstalling_M);
  } else if (createRestore_ && !uninstallCancelled_) {
    if (!IsWindows2000()) {
      busy_ = true;
      TUninstallOperations::LiftRestorePointFrequencyLimit();
      operations_.CreateRestorePoint();
      busy_ = false;
    }
    SetState(usUninstalling);
  }

  if (!uninstallCancelled_ && !entries_.empty()) {
    busy_ = true;
    std::vector<std::wstring> lines;
    auto run = [&](const TSoftInfo* entry, std::wstring title) {
      title_ = std::move(title);
      titles_.push_back(title_);
      results_.push_back(operations_.UninstallEntry(entry));
      AddLogLines(results_.back(), lines);
    };
    if (!batch_ || FromForcedList) {
      run(entries_.front(), MessageText(msg::Uninstall_M, {entries_.front()->DisplayName}));
    } else {
      const auto total = static_cast<std::int64_t>(entries_.size());
      for (std::int64_t n = 1; n <= total && !uninstallCancelled_; ++n) {
        const TSoftInfo* entry = entries_[static_cast<std::size_t>(n - 1)];
        run(entry, MessageText(msg::Standard_Uninstall_M, {entry->DisplayName, n, total}));
      }
    }
    busy_ = false;
    if (!lines.empty()) AppendUninstallLog(lines, UninstallWindowLogHeader);
  }

  if (uninstallCancelled_) {
    if (events_.refreshSoftwareList) events_.refreshSoftwareList();
    Close();
    return false;
  }
  SetState(usFinished);
  return true;
}

int TUninstallingModel::ScanEntries(TLeftoverTree& tree) {
  int warning = 1;
  if (batch_ && !FromForcedList) {
    for (const TSoftInfo* entry : entries_) {
      if (uninstallCancelled_) break;
      operations_.ScanLeftovers(entry, tree, L"");
      if (warning <= 1) warning = operations_.FindInFolder(entry->InstallLocation);
    }
  } else if (forcedByPath_) {
    // A dangling shortcut's folder holds nothing of its program; without a
    // folder the scan would run over the whole machine for no name at all.
    // The path box itself goes to the scan: its folder is scanned, and only
    // a folder chosen as such, never the folder of a file, is also searched
    // for by name.
    if (!uninstallCancelled_ && !BarePathScanFolder(pathBoxText_).empty())
      operations_.ScanLeftovers(nullptr, tree, pathBoxText_);
  } else if (!entries_.empty() && !uninstallCancelled_) {
    operations_.ScanLeftovers(entries_.front(), tree, L"");
    warning = operations_.FindInFolder(entries_.front()->InstallLocation);
  }
  return warning;
}

void TUninstallingModel::PowerfulScanClick() {
  if (stepRunning_) return;
  const TStepScope step(stepRunning_);
  if (events_.reportEvent) events_.reportEvent(L"13");
  powerfulScanEnabled_ = false;
  SetState(usScanning);
  busy_ = true;
  TLeftoverTree tree;
  const int warning = ScanEntries(tree);
  busy_ = false;
  if (!uninstallCancelled_) {
    if (!tree.Programs().empty()) {
      if (events_.showReview) events_.showReview(tree, warning > 1);
    } else if (events_.showMessage) {
      events_.showMessage(Text(msg::NoPowerfulScan_Found_Tip));
    }
  }
  if (events_.refreshSoftwareList) events_.refreshSoftwareList();
  Close();
}

void TUninstallingModel::CancelClick() {
  uninstallCancelled_ = true;
  operations_.CancelUninstall();
  operations_.CancelScan();
  if (state_ == usConfirm || state_ == usFilesDeleted || state_ == usFinished) {
    if (uninstallStarted_ && events_.refreshSoftwareList) events_.refreshSoftwareList();
    Close();
  }
}

void TUninstallingModel::Close() {
  timerRunning_ = false;
  closed_ = true;
  if (events_.close) events_.close();
}

}  // namespace orvix
