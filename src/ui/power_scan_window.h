// The review window (TfrmPowerScan) over TPowerScanModel: the findings of
// the scan in a tree with check boxes, Select All, the File Shredder
// option, Delete with its progress, Cancel, and the commands that open a
// finding in Explorer or the registry editor.
#pragma once

#include "uninstall/power_scan_model.h"
#include "uninstall/result_tree.h"
#include "ui/win.h"

namespace orvix::ui {

// Shows the review modally over `owner` and returns once it closed.
// `warning`: more than one listed program keeps a folder inside a removed
// program's folder.
void ShowPowerScanWindow(HWND owner, TLeftoverTree& tree, bool warning, const TEventReporter& reportEvent);

}  // namespace orvix::ui
