// The uninstall window without its window: the states from the question to
// the leftover scan, the run over one entry, a batch or a bare path, the
// restore point, the log lines and Cancel at every step. The window draws
// what this says and forwards its clicks and its one-shot timer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inventory/software_info.h"
#include "platform/pump_api.h"
#include "uninstall/forced_path.h"
#include "uninstall/result_tree.h"
#include "uninstall/uninstall_operations.h"

namespace orvix {

enum TUninstallingState : int {
  usConfirm = 0,
  usRestorePoint = 1,
  usUninstalling = 2,
  usFilesDeleted = 3,  // forced uninstall of a bare path
  usFinished = 4,
  usScanning = 5,
};

// What the window asks of the program around it; any may be left empty.
struct TUninstallingEvents {
  // The main window re-reads the inventory and redisplays its list.
  std::function<void()> refreshSoftwareList;
  std::function<void()> close;
  // Shows the findings in the review window, modally. `warning`: more than
  // one listed program keeps a folder inside a removed program's folder.
  std::function<void(TLeftoverTree& tree, bool warning)> showReview;
  // A message box with the application title and an OK button.
  std::function<void(const std::wstring& text)> showMessage;
  // A usage-statistics event.
  std::function<void(const std::wstring& event)> reportEvent;
};

// The Main.ini settings the window follows.
struct TUninstallingOptions {
  bool createRestore = false;
  bool autoUninstaller = false;
  bool autoPowerfulScan = false;
};
// CreateRestore, AutoUninstaller and AutoPowerfulScan as Main.ini has them.
TUninstallingOptions ReadUninstallingOptions();

class TUninstallingModel {
 public:
  // FormCreate: state 0, the settings read from Main.ini.
  TUninstallingModel(TSoftwareInfo& inventory, IPump& pump, TUninstallingEvents events);
  // The same with settings of the caller's (the console's options).
  TUninstallingModel(TSoftwareInfo& inventory, IPump& pump, TUninstallingEvents events,
                     const TUninstallingOptions& options);

  // The programs to remove: the one selected, or in batch mode the checked
  // ones in list order.
  void SetEntries(std::vector<const TSoftInfo*> entries, bool batch);
  // The entry comes from the forced-uninstall window's list: never a batch.
  bool FromForcedList = false;
  // Bare-path mode of forced uninstall: enters state 3, which deletes the
  // chosen path and the file named in the path box.
  void SetForcedPath(const std::wstring& forcedPath, const std::wstring& pathBoxText);

  // The steps keep the window's messages flowing while they wait, so a
  // second click, the timer or a callback can arrive in the middle of one:
  // the uninstall and scan steps, and the Uninstall click, do nothing while
  // a step runs (Cancel is the one thing that acts then).
  void Show();                // FormShow
  void UninstallClick();      // RdImageButton_UninstallClick
  void UninstallTimer();      // Timer_UninstallTimer: the uninstall step
  void PowerfulScanClick();   // RdImageButton_PowerFulScanClick: the scan step
  void CancelClick();         // RdImageButton_CancelClick and the Close button
  void ToggleCreateRestore(); // the restore-point check box, written at once

  int State() const { return state_; }
  bool CreateRestoreChecked() const { return createRestore_; }
  bool UninstallEnabled() const { return uninstallEnabled_; }
  bool PowerfulScanEnabled() const { return powerfulScanEnabled_; }
  // Timer_Uninstall is running: the window calls UninstallTimer after 100 ms.
  bool UninstallTimerRunning() const { return timerRunning_; }
  bool BusyIndicatorShown() const { return busy_; }
  bool UninstallStarted() const { return uninstallStarted_; }
  bool UninstallCancelled() const { return uninstallCancelled_; }
  // The uninstall or the scan step is running.
  bool StepRunning() const { return stepRunning_; }
  bool Closed() const { return closed_; }

  const std::wstring& Caption() const { return caption_; }
  // The entry being uninstalled, "Uninstall Foo (1/1)".
  const std::wstring& Title() const { return title_; }
  const std::wstring& Detail() const { return detail_; }
  // The line under the title in states 3 and 4.
  const std::wstring& ResultLine() const { return resultLine_; }
  // Every title shown during the run, in order.
  const std::vector<std::wstring>& Titles() const { return titles_; }
  // One result per entry run.
  const std::vector<TUninstallResult>& Results() const { return results_; }
  // What state 3 deleted, and what it could not.
  const std::vector<TForcedDeletion>& ForcedDeletions() const { return forcedDeletions_; }
  bool AnyOutcome(TUninstallOutcome outcome) const;
  // Whether an uninstaller could not start, or ended with its program still installed.
  bool AnyStillInstalled() const;

  TUninstallOperations& Operations() { return operations_; }

 private:
  void SetState(int state);
  // The uninstall step up to state 4; false when it was cancelled (and closed).
  bool UninstallStep();
  void AddLogLines(const TUninstallResult& result, std::vector<std::wstring>& lines) const;
  int ScanEntries(TLeftoverTree& tree);
  void Close();

  TUninstallingEvents events_;
  TUninstallOperations operations_;
  std::vector<const TSoftInfo*> entries_;
  bool batch_ = false;
  bool forcedByPath_ = false;
  std::wstring forcedPath_;
  std::wstring pathBoxText_;

  int state_ = usConfirm;
  bool createRestore_ = false;
  bool autoUninstaller_ = false;
  bool autoPowerfulScan_ = false;
  bool uninstallEnabled_ = true;
  bool powerfulScanEnabled_ = false;
  bool timerRunning_ = false;
  bool busy_ = false;
  bool uninstallStarted_ = false;
  bool uninstallCancelled_ = false;
  bool closed_ = false;
  bool stepRunning_ = false;
  std::wstring caption_;
  std::wstring title_;
  std::wstring detail_;
  std::wstring resultLine_;
  std::vector<std::wstring> titles_;
  std::vector<TUninstallResult> results_;
  std::vector<TForcedDeletion> forcedDeletions_;
};

}  // namespace orvix
