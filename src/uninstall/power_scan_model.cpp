#include "uninstall/power_scan_model.h"

#include "language/messages.h"
#include "online/statistics.h"
#include "shredder/shred_file.h"
#include "uninstall/tree_checks.h"

namespace orvix {

TPowerScanModel::TPowerScanModel(TLeftoverTree& tree, IPowerScanPrompts& prompts, TEventReporter reportEvent)
    : tree_(tree), prompts_(prompts), reportEvent_(std::move(reportEvent)) {
  if (!reportEvent_) reportEvent_ = [](const std::wstring& event) { ReportEvent(event, 0); };
}

void TPowerScanModel::Shown() {
  selectAllFrozen_ = false;
  shredFiles_ = false;
}

std::wstring TPowerScanModel::SelectAllLabel() const {
  return selectAllState_ == 0 ? Text(msg::Select_All_M) : Text(msg::Deselect_All_M);
}

void TPowerScanModel::MouseDown(TLeftoverNode& node, bool onCheckBox) {
  if (deleting_) return;  // the passes read the check states as they go
  if (collapseMark_) {
    collapseMark_ = false;
    return;
  }
  if (!onCheckBox) return;
  SetCheckState(node, node.CheckState == csChecked ? csUnchecked : csChecked);
  deleteEnabled_ = !onlyPendingLeft_ && AnyNodeIn(tree_, [](const TLeftoverNode& n) { return n.CheckState != csUnchecked; });
  // After Deselect All the label stays "Select All" whatever is clicked.
  if (!selectAllFrozen_) UpdateSelectAllLabel();
}

void TPowerScanModel::UpdateSelectAllLabel() {
  // A still-installed finding is left out of "all" (tree_checks.h).
  selectAllState_ =
      AnyNodeIn(tree_, [](const TLeftoverNode& n) { return n.CheckState == csUnchecked && !n.Data.StillInstalled; }) ? 0
                                                                                                                      : 1;
}

void TPowerScanModel::ClickSelectAll() {
  if (deleting_) return;
  const bool selectAll = selectAllState_ == 0;
  SetAllCheckStates(tree_, selectAll ? csChecked : csUnchecked);
  selectAllFrozen_ = !selectAll;
  deleteEnabled_ = selectAll && !onlyPendingLeft_;
  selectAllState_ = selectAll ? 1 : 0;
}

bool TPowerScanModel::Cancel() {
  cancelled_ = true;
  SetShredStopRequest(true);
  return !deleting_;
}

void TPowerScanModel::Closed() { SetShredStopRequest(false); }

}  // namespace orvix
