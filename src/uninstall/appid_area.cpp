// Area 3: AppID keys named by an executable (foo.exe) that point at an AppID
// the CLSID area found.
#include "platform/text.h"
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

class TAppIdArea : public TScanArea {
 public:
  int Number() const override { return 3; }
  // It acts only on the AppIDs found by the CLSID area.
  bool NeedsKeyword() const override { return false; }

  void Run(TRegeditScanClasses& scan) override {
    TFoundNames& appIds = scan.Found().AppIds;
    if (appIds.Empty()) return;
    TScanKey root(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\AppID", scan.View64());
    for (const std::wstring& name : root.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (name.find(L'\\') != std::wstring::npos) continue;
      TScanKey key(HKEY_LOCAL_MACHINE, root.Below(name), scan.View64());
      const std::wstring appId = Trim(key.ValueText(L"AppID"));
      if (!appId.empty() && appIds.Contains(appId)) scan.ReportClassesKey(appIds, name, L"AppID\\" + name);
    }
  }
};

}  // namespace

TScanAreaPtr MakeAppIdArea() { return std::make_unique<TAppIdArea>(); }

}  // namespace orvix
