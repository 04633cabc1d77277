// Area 7: interfaces described by a found type library, by a library whose
// file lies in the install folder, or marshalled by a found proxy class.
#include <map>

#include "platform/text.h"
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/type_lib_servers.h"

namespace orvix {
namespace {

class TInterfaceArea : public TScanArea {
 public:
  int Number() const override { return 7; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return svBoth; }

  void Run(TRegeditScanClasses& scan) override {
    libraryMatches_.clear();  // a type library's files may differ per view
    const TFoundLists& found = scan.Found();
    TScanKey interfaces(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\Interface", scan.View64());
    for (const std::wstring& name : interfaces.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey key(HKEY_LOCAL_MACHINE, interfaces.Below(name), scan.View64());
      if (!key) continue;
      const std::wstring typeLib = key.HasSubKey(L"TypeLib") ? Trim(key.SubKeyDefault(L"TypeLib")) : L"";
      bool report = false;
      if (!typeLib.empty()) {
        report = found.TypeLibs.Contains(typeLib) || LibraryInFolder(scan, typeLib);
      } else if (key.HasSubKey(L"ProxyStubClsid32")) {
        report = found.Clsids.Contains(Trim(key.SubKeyDefault(L"ProxyStubClsid32")));
      }
      if (report) scan.ReportClassesKey(reported_, name, L"Interface\\" + name);
    }
  }

 private:
  // Whether a file of the type library lies in the install folder; many
  // interfaces share one library, so the answer is kept.
  bool LibraryInFolder(TRegeditScanClasses& scan, const std::wstring& typeLib) {
    auto it = libraryMatches_.find(typeLib);
    if (it != libraryMatches_.end()) return it->second;
    bool match = false;
    for (const std::wstring& server : TypeLibServers(scan, typeLib)) {
      if (scan.MatchesKeyword(server)) match = true;
    }
    libraryMatches_.emplace(typeLib, match);
    return match;
  }

  TFoundNames reported_;
  std::map<std::wstring, bool, TextLess> libraryMatches_;
};

}  // namespace

TScanAreaPtr MakeInterfaceArea() { return std::make_unique<TInterfaceArea>(); }

}  // namespace orvix
