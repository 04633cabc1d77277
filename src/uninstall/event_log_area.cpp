// Area 18: event log sources whose message files (or any other value) lie
// in the install folder, in the Application log, then the System log.
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

constexpr const wchar_t* kEventLog = L"\\SYSTEM\\CurrentControlSet\\services\\eventlog\\";

class TEventLogArea : public TScanArea {
 public:
  int Number() const override { return 18; }
  bool NeedsKeyword() const override { return true; }
  // SYSTEM is not redirected: both views reach the same keys, one pass does.
  TScanViews Views() const override { return svEntry; }

  void Run(TRegeditScanClasses& scan) override {
    for (const wchar_t* log : {L"Application", L"System"}) {
      TScanKey sources(HKEY_LOCAL_MACHINE, kEventLog + std::wstring(log), scan.View64());
      for (const std::wstring& name : sources.SubKeyNames()) {
        if (!scan.Tick()) return;
        TScanKey source(HKEY_LOCAL_MACHINE, sources.Below(name), scan.View64());
        // A program may register the same source name in both logs: the
        // found name carries the log so that both are reported.
        if (NamesKeyword(scan, source)) scan.ReportKey(reported_, HKEY_LOCAL_MACHINE, std::wstring(log) + L"\\" + name, source.Path());
      }
    }
  }

 private:
  static bool NamesKeyword(TRegeditScanClasses& scan, TScanKey& key) {
    for (const std::wstring& value : key.ValueNames()) {
      if (scan.MatchesKeyword(key.ValueText(value))) return true;
    }
    return false;
  }

  TFoundNames reported_;
};

}  // namespace

TScanAreaPtr MakeEventLogArea() { return std::make_unique<TEventLogArea>(); }

}  // namespace orvix
