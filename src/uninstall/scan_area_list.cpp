// The fixed order of the full scan. Each area knows its number; this list
// only says which areas exist (see scan_area.h).
#include "uninstall/scan_area_list.h"

#include <algorithm>

#include "uninstall/com_areas.h"
#include "uninstall/file_area.h"
#include "uninstall/software_list_areas.h"
#include "uninstall/system_areas.h"

namespace orvix {

std::vector<TScanAreaPtr> MakeScanAreas() {
  std::vector<TScanAreaPtr> areas;
  areas.push_back(MakeClsidArea());
  areas.push_back(MakeInstallerArea());
  areas.push_back(MakeAppIdArea());
  areas.push_back(MakeFileClassArea());
  areas.push_back(MakeUserClassArea());
  areas.push_back(MakeMachineClassArea());
  areas.push_back(MakeInterfaceArea());
  areas.push_back(MakeServiceArea());
  areas.push_back(MakeFirewallArea());
  areas.push_back(MakeMachineRunArea());
  areas.push_back(MakeUserRunArea());
  areas.push_back(MakeAppPathsArea());
  areas.push_back(MakeShellExtensionArea());
  areas.push_back(MakeFileArea());
  areas.push_back(MakeMachineVendorArea());
  areas.push_back(MakeUserVendorArea());
  areas.push_back(MakeControlPanelArea());
  areas.push_back(MakeClientArea());
  areas.push_back(MakeEventLogArea());
  areas.push_back(MakeMuiCacheArea());
  areas.push_back(MakeMakerProductArea());
  std::stable_sort(areas.begin(), areas.end(),
                   [](const TScanAreaPtr& a, const TScanAreaPtr& b) { return a->Number() < b->Number(); });
  return areas;
}

}  // namespace orvix
