// Areas 5 and 6: the classes of one root. A class is the program's when its
// current version or its CLSID was found, or when it is the program's own by
// its verbs and icon (classes_root.h). A class whose first verb runs the
// program but which keeps verbs or an icon of others may be one that every
// program uses and the program only took over (http, mailto, txtfile,
// htmlfile): of that class only the verb goes, and the class and the
// extensions that open with it stay.
#include "platform/text.h"
#include "uninstall/classes_root.h"
#include "uninstall/com_areas.h"
#include "uninstall/open_with_scan.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

class TClassArea : public TScanArea {
 public:
  TClassArea(int number, HKEY root) : number_(number), classes_(root) {}

  int Number() const override { return number_; }
  bool NeedsKeyword() const override { return true; }

  void Run(TRegeditScanClasses& scan) override {
    // The machine's classes found here count as found classes for the
    // classes examined after them; the user's have a list of their own.
    TFoundNames& list = classes_.Machine() ? scan.Found().Classes : scan.Found().UserClasses;
    std::vector<std::wstring>& fileTypes = classes_.Machine() ? scan.Found().MachineFileTypes : scan.Found().UserFileTypes;
    TScanKey classes(classes_.Root(), classes_.Path(), scan.View64());
    for (const std::wstring& name : classes.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (name.starts_with(L'.')) fileTypes.push_back(name);
      if (!IsOwnClassName(name)) continue;
      TScanKey key(classes_.Root(), classes.Below(name), scan.View64());
      if (!key) continue;
      const TVerbVerdict verdict = Examine(scan, key);
      if (verdict.own) classes_.Report(scan, list, name, name, classes_.Machine());
      // A class every program uses (mailto) is never reported whole: its verb is.
      if (!list.Contains(name, scan.View64()) && !verdict.firstVerb.empty()) {
        const std::wstring verbPath = name + L"\\shell\\" + verdict.firstVerb;
        classes_.Report(scan, verbs_, verbPath, verbPath, false);
      }
    }
    if (classes_.Machine()) openWith_.Run(scan);
  }

 private:
  static TVerbVerdict Examine(TRegeditScanClasses& scan, TScanKey& key) {
    const TFoundLists& found = scan.Found();
    if (key.HasSubKey(L"CurVer") && !found.Classes.Empty()) {
      return {found.Classes.Contains(Trim(key.SubKeyDefault(L"CurVer"))), {}};
    }
    if (key.HasSubKey(L"CLSID") && !found.Clsids.Empty()) {
      return {found.Clsids.Contains(Trim(key.SubKeyDefault(L"CLSID"))), {}};
    }
    return ExamineVerbs(scan, key);
  }

  int number_;
  TClassesRoot classes_;
  TFoundNames verbs_;  // verbs found by command, kept apart from the found classes
  TOpenWithScan openWith_;
};

}  // namespace

TScanAreaPtr MakeUserClassArea() { return std::make_unique<TClassArea>(5, HKEY_CURRENT_USER); }
TScanAreaPtr MakeMachineClassArea() { return std::make_unique<TClassArea>(6, HKEY_LOCAL_MACHINE); }

}  // namespace orvix
