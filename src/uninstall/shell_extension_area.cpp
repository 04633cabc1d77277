// Area 13: found CLSIDs listed among the shell's extensions (Approved and
// its siblings), reported as values.
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

class TShellExtensionArea : public TScanArea {
 public:
  int Number() const override { return 13; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return svBoth; }

  void Run(TRegeditScanClasses& scan) override {
    const TFoundNames& clsids = scan.Found().Clsids;
    if (clsids.Empty()) return;
    TScanKey lists(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions",
                   scan.View64());
    for (const std::wstring& name : lists.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey list(HKEY_LOCAL_MACHINE, lists.Below(name), scan.View64());
      for (const std::wstring& value : list.ValueNames()) {
        if (!scan.Tick()) return;
        if (clsids.Contains(value)) scan.ReportValue(list, value);
      }
    }
  }
};

}  // namespace

TScanAreaPtr MakeShellExtensionArea() { return std::make_unique<TShellExtensionArea>(); }

}  // namespace orvix
