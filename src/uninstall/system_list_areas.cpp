// Areas 9 to 12: the system's lists that name the program by a path in its
// install folder: the firewall's rules and allowed programs, the Run lists
// and App Paths.
#include "uninstall/regedit_scan.h"
#include "uninstall/system_areas.h"

namespace orvix {
namespace {

constexpr std::wstring_view kRun = L"\\Microsoft\\Windows\\CurrentVersion\\Run";

// Every value of the key whose text names the install folder, as value
// findings.
void ReportValuesNamingFolder(TRegeditScanClasses& scan, HKEY root, const std::wstring& keyPath) {
  TScanKey key(root, keyPath, scan.View64());
  for (const std::wstring& name : key.ValueNames()) {
    if (!scan.Tick()) return;
    const std::wstring text = key.ValueText(name);
    if (scan.MatchesKeyword(text)) scan.ReportValue(key.Root(), key.Path(), name, text);
  }
}

// Area 9. The firewall lives in SYSTEM, which both views share: one pass in
// the entry's view reaches it.
class TFirewallArea : public TScanArea {
 public:
  int Number() const override { return 9; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    const std::wstring policy = L"\\SYSTEM\\CurrentControlSet\\services\\SharedAccess\\Parameters\\FirewallPolicy\\";
    for (const wchar_t* list :
         {L"FirewallRules", L"RestrictedServices\\Configurable\\System", L"RestrictedServices\\Static\\System",
          L"StandardProfile\\AuthorizedApplications\\List"}) {
      ReportValuesNamingFolder(scan, HKEY_LOCAL_MACHINE, policy + list);
    }
  }
};

// Area 10. The machine's Run key is kept apart per view, and Windows starts
// the programs of both lists at logon; a 32-bit setup may register a 64-bit
// helper (or the other way round), so both lists are read, each finding in
// the view it was found in.
class TMachineRunArea : public TScanArea {
 public:
  int Number() const override { return 10; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return svBoth; }

  void Run(TRegeditScanClasses& scan) override {
    ReportValuesNamingFolder(scan, HKEY_LOCAL_MACHINE, L"\\SOFTWARE" + std::wstring(kRun));
  }
};

// Area 11. The user's Software key is shared by both views: one pass.
class TUserRunArea : public TScanArea {
 public:
  int Number() const override { return 11; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    ReportValuesNamingFolder(scan, HKEY_CURRENT_USER, L"\\Software" + std::wstring(kRun));
  }
};

// Area 12. App Paths is shared by both views from Windows 7 on; before, a
// program's entry sits in the view of its setup, which is the entry's view.
class TAppPathsArea : public TScanArea {
 public:
  int Number() const override { return 12; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    TScanKey paths(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", scan.View64());
    for (const std::wstring& name : paths.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (NamesFolder(scan, paths.Below(name))) scan.ReportKey(names_, HKEY_LOCAL_MACHINE, name, paths.Below(name));
    }
  }

 private:
  static bool NamesFolder(TRegeditScanClasses& scan, const std::wstring& keyPath) {
    TScanKey key(HKEY_LOCAL_MACHINE, keyPath, scan.View64());
    for (const std::wstring& name : key.ValueNames()) {
      if (!scan.Tick()) return false;
      if (scan.MatchesKeyword(key.ValueText(name))) return true;
    }
    return false;
  }

  TFoundNames names_;
};

}  // namespace

TScanAreaPtr MakeFirewallArea() { return std::make_unique<TFirewallArea>(); }
TScanAreaPtr MakeMachineRunArea() { return std::make_unique<TMachineRunArea>(); }
TScanAreaPtr MakeUserRunArea() { return std::make_unique<TUserRunArea>(); }
TScanAreaPtr MakeAppPathsArea() { return std::make_unique<TAppPathsArea>(); }

}  // namespace orvix
