// Forced uninstall's Next hands its choice to the uninstall window's model.
#pragma once

#include "uninstall/forced_uninstall_model.h"
#include "uninstall/uninstalling_model.h"

namespace orvix {

// The chosen entry comes from the forced-uninstall list (never a batch); a
// bare path puts the window into state 3, which deletes the chosen file and
// the path box's file.
void StartForcedUninstall(TUninstallingModel& session, const TForcedUninstallRequest& request);

}  // namespace orvix
