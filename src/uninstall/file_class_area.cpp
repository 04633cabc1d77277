// Area 4: what a program adds to the classes every file, folder or drive
// belongs to: verbs that run it, and handlers that name its classes.
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

class TFileClassArea : public TScanArea {
 public:
  int Number() const override { return 4; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    for (const std::wstring& fileClass : CommonFileClasses()) {
      if (!scan.Tick()) return;
      ReportVerbs(scan, fileClass);
      ReportHandlers(scan, fileClass);
    }
  }

 private:
  void ReportVerbs(TRegeditScanClasses& scan, const std::wstring& fileClass) {
    const std::wstring shellPath = fileClass + L"\\shell";
    TScanKey shell(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\" + shellPath, scan.View64());
    for (const std::wstring& verb : shell.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey key(HKEY_LOCAL_MACHINE, shell.Below(verb), scan.View64());
      if (key.HasSubKey(L"command") && scan.MatchesKeyword(key.SubKeyDefault(L"command"))) {
        const std::wstring path = shellPath + L"\\" + verb;
        scan.ReportClassesKey(reported_, path, path);
      }
    }
  }

  // In each handler kind (ContextMenuHandlers, PropertySheetHandlers...) the
  // first entry named by a found CLSID, or holding one, is reported.
  void ReportHandlers(TRegeditScanClasses& scan, const std::wstring& fileClass) {
    const TFoundNames& clsids = scan.Found().Clsids;
    if (clsids.Empty()) return;
    const std::wstring shellexPath = fileClass + L"\\shellex";
    TScanKey shellex(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\" + shellexPath, scan.View64());
    for (const std::wstring& kind : shellex.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey handlers(HKEY_LOCAL_MACHINE, shellex.Below(kind), scan.View64());
      for (const std::wstring& entry : handlers.SubKeyNames()) {
        if (!scan.Tick()) return;
        if (clsids.Contains(entry) || clsids.Contains(Trim(handlers.SubKeyDefault(entry)))) {
          const std::wstring path = shellexPath + L"\\" + kind + L"\\" + entry;
          scan.ReportClassesKey(reported_, path, path);
          break;
        }
      }
    }
  }

  TFoundNames reported_;
};

}  // namespace

TScanAreaPtr MakeFileClassArea() { return std::make_unique<TFileClassArea>(); }

}  // namespace orvix
