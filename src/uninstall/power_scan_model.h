// The leftover review window's logic without its window: the check boxes
// and the select-all label, the File Shredder option, Delete with its two
// passes, the log of what was done, and Cancel. The window draws the model
// and forwards its events.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/pump_api.h"
#include "uninstall/deletion_guard.h"
#include "uninstall/result_tree.h"

namespace orvix {

// How the review window speaks to the user.
class IPowerScanPrompts {
 public:
  virtual ~IPowerScanPrompts() = default;
  // A Yes/No question box with the window's caption as title; true for Yes.
  virtual bool Confirm(const std::wstring& question) = 0;
  virtual void Message(const std::wstring& text, const std::wstring& caption) = 0;
};

// Reports a usage event by number (the statistics library in the program).
using TEventReporter = std::function<void(const std::wstring& event)>;

// What became of one checked finding.
// Refused: the deletion guard would not let it go (its reason is logged).
enum class TDeleteOutcome { Removed, Scheduled, Failed, Refused };

// What one press of Delete did.
struct TPowerScanRun {
  bool confirmed = false;
  int removed = 0;    // findings deleted (files shredded or deleted, keys, values, folders)
  int scheduled = 0;  // files and folders left for the restart
  int failed = 0;     // findings that stay as they were
  int refused = 0;    // findings the deletion guard kept (counted in failed too)
};

class TPowerScanModel {
 public:
  TPowerScanModel(TLeftoverTree& tree, IPowerScanPrompts& prompts, TEventReporter reportEvent = {});

  // FormShow.
  void Shown();

  bool ShredFiles() const { return shredFiles_; }
  void ToggleShredFiles() { shredFiles_ = !shredFiles_; }
  // More than one installed program shares the install folder.
  bool ShowWarning = false;

  bool Cancelled() const { return cancelled_; }
  bool Deleting() const { return deleting_; }
  bool OnlyPendingLeft() const { return onlyPendingLeft_; }
  int SelectAllState() const { return selectAllState_; }
  bool SelectAllFrozen() const { return selectAllFrozen_; }
  bool DeleteEnabled() const { return deleteEnabled_; }
  std::wstring SelectAllLabel() const;
  bool DraggingAllowed() const { return !deleting_; }
  // While Delete runs: the progress bar (0 to 100) and the item line below
  // it; the shredder panel when files are shredded.
  bool ProgressShown() const { return progressShown_; }
  int Progress() const { return progress_; }
  const std::wstring& ItemLine() const { return itemLine_; }
  bool ShredderPanelShown() const { return shredderPanelShown_; }
  // The window should close (after Delete finished or was cancelled).
  bool CloseRequested() const { return closeRequested_; }

  // The tree is about to collapse: the mouse-down that caused it toggles nothing.
  void Collapsing() { collapseMark_ = true; }
  // A mouse-down on a node; only a hit on the check box toggles it.
  void MouseDown(TLeftoverNode& node, bool onCheckBox);
  // The select-all label.
  void ClickSelectAll();

  // Asks, deletes the checked findings, logs what was done and reports it.
  // While it runs (it pumps messages per finding) a second Delete, a check
  // box click or Select All does nothing.
  TPowerScanRun Delete(IPump& pump);
  // Cancel or Close: stops a running deletion (and its shredding); true
  // when the window should close now rather than when Delete ends.
  bool Cancel();
  // The window closed.
  void Closed();

 private:
  using TOutcome = TDeleteOutcome;
  struct TLogEntry {
    std::wstring text;
    const TLeftoverNode* folder = nullptr;  // a folder's line waits for the second pass
    std::wstring folderPath;
  };

  bool StopNow(IPump& pump);
  void Step(int& visited, int total);
  void FirstPass(IPump& pump);
  void DeleteFinding(TLeftoverNode& finding, IPump& pump);
  TOutcome DeleteRegistryFinding(const TMyTreeData& data);
  TOutcome DeleteFile(const std::wstring& path, IPump& pump);
  void SecondPass();
  void RemoveFolder(TLeftoverNode& folder);
  void MarkPending(TLeftoverNode& node);
  void Record(const TLeftoverNode& finding, TOutcome outcome);
  // The guard's reason to keep a finding; empty when it may go.
  std::wstring Refusal(const TMyTreeData& data) const;
  std::vector<std::wstring> LogLines() const;
  void Recount();
  void UpdateSelectAllLabel();
  void UpdateDeleteEnabled();

  TLeftoverTree& tree_;
  IPowerScanPrompts& prompts_;
  TEventReporter reportEvent_;

  bool shredFiles_ = false;
  bool cancelled_ = false;
  bool deleting_ = false;
  bool onlyPendingLeft_ = false;
  int selectAllState_ = 0;
  bool selectAllFrozen_ = false;
  bool deleteEnabled_ = false;
  bool collapseMark_ = false;
  bool progressShown_ = false;
  int progress_ = 0;
  std::wstring itemLine_;
  bool shredderPanelShown_ = false;
  bool closeRequested_ = false;

  // One run of Delete.
  TPowerScanRun run_;
  std::vector<TLogEntry> log_;
  std::map<const TLeftoverNode*, TOutcome> outcomes_;
  std::map<const TLeftoverNode*, std::wstring> refusals_;  // why the guard kept a finding
  std::optional<TDeletionGuard> guard_;                     // read afresh for each Delete
};

}  // namespace orvix
