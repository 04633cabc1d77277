// A registration is the program's when its capabilities key is: found
// already (inside the program's vendor key), or recording the install
// folder and no place outside it (then the key goes too). A registration
// named like the program whose capabilities key is gone is its leftover.
#include "uninstall/registered_applications.h"

#include <array>
#include <optional>

#include "platform/text.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

constexpr std::array kRoots = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

bool RecordsFolder(const TRegeditScanClasses& scan, TScanKey& key) {
  for (const std::wstring& value : key.ValueNames()) {
    if (NamesInstallFolder(scan, key.ValueText(value))) return true;
  }
  return false;
}

}  // namespace

void TRegisteredApplications::Run(TRegeditScanClasses& scan) {
  for (const HKEY root : kRoots) {
    TScanKey list(root, root == HKEY_LOCAL_MACHINE ? L"\\SOFTWARE\\RegisteredApplications"
                                                   : L"\\Software\\RegisteredApplications",
                  scan.View64());
    for (const std::wstring& name : list.ValueNames()) {
      if (!scan.Tick()) return;
      const std::wstring capabilities = Trim(list.ValueText(name));
      if (name.empty() || capabilities.empty()) continue;
      // A 32-bit program's key of the machine lies in the 32-bit view.
      bool exists = false;
      bool own = false;
      for (const bool view64 : {true, false}) {
        if (!scan.Wow64() && view64) continue;
        TScanKey key(root, L"\\" + capabilities, view64);
        if (!key) continue;
        exists = true;
        if (scan.ReportedAtOrAbove(root, capabilities, view64)) {
          own = true;
        } else if (RecordsFolder(scan, key) && PlacesLieInFolder(scan, key)) {
          own = true;
          TScanViewSwitch view(scan, view64);
          scan.ReportKey(capabilities_, root, capabilities, L"\\" + capabilities);
        }
      }
      if (own || (!exists && SameText(name, Trim(scan.Record().DisplayName)))) scan.ReportValue(list, name);
    }
  }
}

}  // namespace orvix
