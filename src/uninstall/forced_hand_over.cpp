#include "uninstall/forced_hand_over.h"

namespace orvix {

void StartForcedUninstall(TUninstallingModel& session, const TForcedUninstallRequest& request) {
  if (request.ByPath()) {
    session.SetForcedPath(request.forcedPath, request.pathBoxPath);
    return;
  }
  session.FromForcedList = true;
  session.SetEntries({request.entry}, false);
}

}  // namespace orvix
