// Areas 16 and 19: lists kept as the values of one key, where a value
// belongs to the program when its data (control panel applets) or its name
// (the shell's MUICache, named by executable paths) lies in the install
// folder.
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

enum TValueTest { vtData, vtName };

class TValueListArea : public TScanArea {
 public:
  TValueListArea(int number, HKEY root, const wchar_t* path, TScanViews views, TValueTest test)
      : number_(number), root_(root), path_(path), views_(views), test_(test) {}

  int Number() const override { return number_; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return views_; }

  void Run(TRegeditScanClasses& scan) override {
    TScanKey list(root_, path_, scan.View64());
    for (const std::wstring& name : list.ValueNames()) {
      if (!scan.Tick()) return;
      const std::wstring text = list.ValueText(name);
      if (scan.MatchesKeyword(test_ == vtName ? name : text)) scan.ReportValue(list.Root(), list.Path(), name, text);
    }
  }

 private:
  int number_;
  HKEY root_;
  const wchar_t* path_;
  TScanViews views_;
  TValueTest test_;
};

}  // namespace

// The applet list lies in HKLM\SOFTWARE, which is kept apart per view: a
// 32-bit applet is registered in the 32-bit view, a 64-bit one in the
// 64-bit view, whatever the bitness of the uninstall entry.
TScanAreaPtr MakeControlPanelArea() {
  return std::make_unique<TValueListArea>(16, HKEY_LOCAL_MACHINE,
                                          L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls",
                                          svBoth, vtData);
}

// HKCU\Software is one key in both views: one pass.
TScanAreaPtr MakeMuiCacheArea() {
  return std::make_unique<TValueListArea>(19, HKEY_CURRENT_USER, L"\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache",
                                          svEntry, vtName);
}

}  // namespace orvix
