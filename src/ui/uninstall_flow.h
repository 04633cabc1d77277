// The uninstall flow through its windows: the uninstall window over the
// chosen programs, then (when the scan finds anything) the review window.
// Called by the main window for its Uninstall command.
#pragma once

#include <vector>

#include "inventory/software_info.h"
#include "ui/win.h"

namespace orvix::ui {

// Shows the uninstall window modally over `owner` (centred on it) and
// returns once it closed: true when the software list should be read again.
// `batch`: the entries are the checked rows of a batch.
bool RunUninstallFlow(HWND owner, TSoftwareInfo& inventory, const std::vector<const TSoftInfo*>& entries,
                      bool batch);

}  // namespace orvix::ui
