// Areas 5 and 6: the classes of one root. A class is the program's when its
// current version or its CLSID was found. A class whose first verb runs the
// program from the install folder may be one that every program uses and
// the program only took over (http, mailto, txtfile, htmlfile): of that
// class only the verb goes, and the class and the extensions that open with
// it stay.
#include "platform/text.h"
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

class TClassArea : public TScanArea {
 public:
  TClassArea(int number, HKEY root) : number_(number), root_(root) {}

  int Number() const override { return number_; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    // The machine's classes found here count as found classes for the
    // classes examined after them; the user's have a list of their own.
    TFoundNames& list = Machine() ? scan.Found().Classes : userClasses_;
    TScanKey classes(root_, ClassesPath(), scan.View64());
    for (const std::wstring& name : classes.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (!IsOwnClassName(name)) continue;
      TScanKey key(root_, classes.Below(name), scan.View64());
      if (!key) continue;
      const Verdict verdict = Examine(scan, key);
      if (verdict.found) {
        Report(scan, list, name, name, Machine());
      } else if (!verdict.verb.empty()) {
        const std::wstring verbPath = name + L"\\shell\\" + verdict.verb;
        Report(scan, verbs_, verbPath, verbPath, false);
      }
    }
  }

 private:
  // A class found whole, or only its verb that runs the program.
  struct Verdict {
    bool found = false;
    std::wstring verb;
  };

  bool Machine() const { return root_ == HKEY_LOCAL_MACHINE; }
  std::wstring ClassesPath() const { return Machine() ? L"\\SOFTWARE\\Classes" : L"\\Software\\Classes"; }

  static Verdict Examine(TRegeditScanClasses& scan, TScanKey& key) {
    const TFoundLists& found = scan.Found();
    if (key.HasSubKey(L"CurVer") && !found.Classes.Empty()) {
      return {found.Classes.Contains(Trim(key.SubKeyDefault(L"CurVer")))};
    }
    if (key.HasSubKey(L"CLSID") && !found.Clsids.Empty()) {
      return {found.Clsids.Contains(Trim(key.SubKeyDefault(L"CLSID")))};
    }
    if (!key.HasSubKey(L"shell")) return {};
    // Only the first verb that has a command decides.
    TScanKey shell(key.Root(), key.Below(L"shell"), key.View64());
    for (const std::wstring& verb : shell.SubKeyNames()) {
      TScanKey verbKey(key.Root(), shell.Below(verb), key.View64());
      if (!verbKey.HasSubKey(L"command")) continue;
      if (scan.MatchesKeyword(verbKey.SubKeyDefault(L"command"))) return {false, verb};
      return {};
    }
    return {};
  }

  // A key given by its path below the root's classes.
  void Report(TRegeditScanClasses& scan, TFoundNames& list, const std::wstring& name, const std::wstring& classPath,
              bool mirror) {
    if (Machine()) {
      scan.ReportClassesKey(list, name, classPath, mirror);
    } else {
      scan.ReportKey(list, root_, name, ClassesPath() + L"\\" + classPath);
    }
  }

  int number_;
  HKEY root_;
  TFoundNames userClasses_;
  TFoundNames verbs_;  // verbs found by command, kept apart from the found classes
};

}  // namespace

TScanAreaPtr MakeUserClassArea() { return std::make_unique<TClassArea>(5, HKEY_CURRENT_USER); }
TScanAreaPtr MakeMachineClassArea() { return std::make_unique<TClassArea>(6, HKEY_LOCAL_MACHINE); }

}  // namespace orvix
