// Areas 5 and 6: the classes of one root. A class is the program's when its
// current version or its CLSID was found, or when its first verb runs a
// program from the install folder; the file extensions that open with a
// class found by command lose their default value.
#include <algorithm>

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
    std::vector<std::wstring> extensions;
    std::vector<std::wstring> byCommand;
    for (const std::wstring& name : classes.SubKeyNames()) {
      if (!scan.Tick()) return;
      if (name.starts_with(L".")) {
        extensions.push_back(name);
        continue;
      }
      if (!IsOwnClassName(name)) continue;
      TScanKey key(root_, classes.Below(name), scan.View64());
      if (!key) continue;
      switch (Examine(scan, key)) {
        case Verdict::Found:
          Report(scan, list, name, Machine());
          break;
        case Verdict::FoundByCommand:
          Report(scan, list, name, false);
          byCommand.push_back(name);
          break;
        case Verdict::NotFound:
          break;
      }
    }
    if (!byCommand.empty()) ReportExtensions(scan, classes, extensions, byCommand);
  }

 private:
  enum class Verdict { NotFound, Found, FoundByCommand };

  bool Machine() const { return root_ == HKEY_LOCAL_MACHINE; }
  std::wstring ClassesPath() const { return Machine() ? L"\\SOFTWARE\\Classes" : L"\\Software\\Classes"; }

  static Verdict Examine(TRegeditScanClasses& scan, TScanKey& key) {
    const TFoundLists& found = scan.Found();
    if (key.HasSubKey(L"CurVer") && !found.Classes.Empty()) {
      return found.Classes.Contains(Trim(key.SubKeyDefault(L"CurVer"))) ? Verdict::Found : Verdict::NotFound;
    }
    if (key.HasSubKey(L"CLSID") && !found.Clsids.Empty()) {
      return found.Clsids.Contains(Trim(key.SubKeyDefault(L"CLSID"))) ? Verdict::Found : Verdict::NotFound;
    }
    if (!key.HasSubKey(L"shell")) return Verdict::NotFound;
    // Only the first verb that has a command decides.
    TScanKey shell(key.Root(), key.Below(L"shell"), key.View64());
    for (const std::wstring& verb : shell.SubKeyNames()) {
      TScanKey verbKey(key.Root(), shell.Below(verb), key.View64());
      if (!verbKey.HasSubKey(L"command")) continue;
      return scan.MatchesKeyword(verbKey.SubKeyDefault(L"command")) ? Verdict::FoundByCommand : Verdict::NotFound;
    }
    return Verdict::NotFound;
  }

  void Report(TRegeditScanClasses& scan, TFoundNames& list, const std::wstring& name, bool mirror) {
    if (Machine()) {
      scan.ReportClassesKey(list, name, name, mirror);
    } else {
      scan.ReportKey(list, root_, name, ClassesPath() + L"\\" + name);
    }
  }

  // The default value of an extension that opens with a removed class: a
  // value finding named " ", which deletes the default value once trimmed.
  void ReportExtensions(TRegeditScanClasses& scan, TScanKey& classes, const std::vector<std::wstring>& extensions,
                        const std::vector<std::wstring>& byCommand) {
    for (const std::wstring& extension : extensions) {
      if (!scan.Tick()) return;
      TScanKey key(root_, classes.Below(extension), scan.View64());
      const std::wstring opensWith = Trim(key.ValueText(L""));
      const auto match = std::find_if(byCommand.begin(), byCommand.end(),
                                      [&](const std::wstring& name) { return SameText(name, opensWith); });
      if (match == byCommand.end()) continue;
      scan.ReportValue(root_, key.Path(), L" ", *match);
      if (Machine()) scan.ReportValue(HKEY_CLASSES_ROOT, extension, L" ", *match);
    }
  }

  int number_;
  HKEY root_;
  TFoundNames userClasses_;
};

}  // namespace

TScanAreaPtr MakeUserClassArea() { return std::make_unique<TClassArea>(5, HKEY_CURRENT_USER); }
TScanAreaPtr MakeMachineClassArea() { return std::make_unique<TClassArea>(6, HKEY_LOCAL_MACHINE); }

}  // namespace orvix
