// Area 1: COM classes whose server lies in the install folder, with what
// hangs off them, and classes whose verbs run a program from there.
#include <deque>

#include "platform/command_paths.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/view_paths.h"
#include "uninstall/classes_root.h"
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/type_lib_servers.h"

namespace orvix {
namespace {

bool IsPlainKeyName(const std::wstring& name) { return !Trim(name).empty() && name.find(L'\\') == std::wstring::npos; }

// The long form of a path, or nothing when the system cannot give one.
std::wstring LongForm(const std::wstring& path) {
  std::wstring longPath;
  if (CurrentPlatform().Files().GetLongPathName(path, &longPath) != ERROR_SUCCESS) return {};
  return longPath;
}

class TClsidArea : public TScanArea {
 public:
  int Number() const override { return 1; }
  bool NeedsKeyword() const override { return true; }
  TScanViews Views() const override { return svBoth; }

  void Run(TRegeditScanClasses& scan) override {
    // The machine's classes first: a class the user also registered is the
    // machine's, with the user's copy.
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      classes_ = TClassesRoot(root);
      TScanKey classes(root, classes_.Below(L"CLSID"), scan.View64());
      for (const std::wstring& clsid : classes.SubKeyNames()) {
        if (!scan.Tick()) return;
        TScanKey key(root, classes.Below(clsid), scan.View64());
        if (!key) continue;
        if (ServerMatches(scan, key, L"InprocServer32") || ServerMatches(scan, key, L"LocalServer32")) {
          ReportClass(scan, key, clsid);
        } else {
          FindCommand(scan, clsid);
        }
      }
    }
  }

 private:
  // The server named by the sub-key's default value, in its long form when
  // it is written with short (8.3) names; a command line with arguments is
  // tried through the file it starts.
  static bool ServerMatches(TRegeditScanClasses& scan, TScanKey& key, const wchar_t* serverKey) {
    const std::wstring server = PathTextForView(key.SubKeyDefault(serverKey), key.View64());
    if (Trim(server).empty()) return false;
    std::wstring longServer = LongForm(server);
    if (longServer.empty()) longServer = LongForm(CommandToFilePath(server));
    if (longServer.empty()) longServer = server;
    return scan.MatchesKeyword(longServer) || scan.MatchesKeyword(server);
  }

  void ReportClass(TRegeditScanClasses& scan, TScanKey& key, const std::wstring& clsid) {
    TFoundLists& found = scan.Found();
    classes_.Report(scan, found.Clsids, clsid, L"CLSID\\" + clsid);
    // The user's copy of a machine's class.
    if (classes_.Machine()) scan.ReportKey(userClsids_, HKEY_CURRENT_USER, clsid, L"\\Software\\Classes\\CLSID\\" + clsid);

    const std::wstring appId = key.ValueText(L"AppID");
    if (IsPlainKeyName(appId)) classes_.Report(scan, found.AppIds, appId, L"AppID\\" + appId);

    // Type libraries are registered for the machine.
    const std::wstring typeLib = key.SubKeyDefault(L"TypeLib");
    if (classes_.Machine() && IsPlainKeyName(typeLib) && OwnsTypeLib(scan, typeLib))
      scan.ReportClassesKey(found.TypeLibs, typeLib, L"TypeLib\\" + typeLib);

    const std::wstring progId = key.SubKeyDefault(L"ProgID");
    if (IsOwnClassName(progId) && OwnsProgId(scan, progId, clsid))
      classes_.Report(scan, classes_.Machine() ? found.Classes : found.UserClasses, progId, progId);

    ReportBrowserRegistrations(scan, clsid);
  }

  // A type library is the program's when every file it names lies in the
  // install folder: a class may name a library of the system (stdole) or of
  // another program, and that must stay.
  static bool OwnsTypeLib(TRegeditScanClasses& scan, const std::wstring& typeLib) {
    for (const std::wstring& server : TypeLibServers(scan, typeLib)) {
      if (!scan.MatchesKeyword(server)) return false;
    }
    return true;
  }

  // A ProgID is the program's unless it names another class.
  bool OwnsProgId(TRegeditScanClasses& scan, const std::wstring& progId, const std::wstring& clsid) const {
    TScanKey key(classes_.Root(), classes_.Below(progId), scan.View64());
    const std::wstring named = key.SubKeyDefault(L"CLSID");
    return Trim(named).empty() || SameText(Trim(named), clsid);
  }

  // Toolbars, extensions, helper objects and their settings in the browser.
  void ReportBrowserRegistrations(TRegeditScanClasses& scan, const std::wstring& clsid) {
    ReportValueIfPresent(scan, HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", clsid);
    for (const wchar_t* parent :
         {L"\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\",
          L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Ext\\PreApproved\\",
          L"\\SOFTWARE\\Classes\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\"}) {
      ReportKeyAt(scan, HKEY_LOCAL_MACHINE, parent + clsid);
    }
    for (const wchar_t* parent : {L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\",
                                  L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats\\"}) {
      ReportKeyAt(scan, HKEY_CURRENT_USER, parent + clsid);
    }
    ReportValueIfPresent(scan, HKEY_CURRENT_USER, L"\\Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser",
                         clsid);
    ReportKeyAt(scan, HKEY_LOCAL_MACHINE,
                L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\" + clsid);
  }

  void ReportKeyAt(TRegeditScanClasses& scan, HKEY root, const std::wstring& path) {
    scan.ReportKey(browserKeys_, root, path, path);
  }

  static void ReportValueIfPresent(TRegeditScanClasses& scan, HKEY root, const std::wstring& path,
                                   const std::wstring& name) {
    TScanKey key(root, path, scan.View64());
    if (key.HasValue(name)) scan.ReportValue(key, name);
  }

  // A class without a matching server may still run the program through a
  // verb somewhere below it: the first key, breadth first, that holds a
  // "command" naming the install folder is reported.
  void FindCommand(TRegeditScanClasses& scan, const std::wstring& clsid) {
    const std::wstring classPath = L"CLSID\\" + clsid;
    std::deque<std::wstring> queue{classPath};
    while (!queue.empty()) {
      const std::wstring path = queue.front();
      queue.pop_front();
      TScanKey key(classes_.Root(), classes_.Below(path), scan.View64());
      if (!key) continue;
      if (key.HasSubKey(L"command") && scan.MatchesKeyword(key.SubKeyDefault(L"command"))) {
        classes_.Report(scan, path == classPath ? scan.Found().Clsids : commandKeys_, path == classPath ? clsid : path,
                        path);
        return;
      }
      for (const std::wstring& name : key.SubKeyNames()) {
        if (!scan.Tick()) return;
        queue.push_back(path + L"\\" + name);
      }
    }
  }

  TClassesRoot classes_{HKEY_LOCAL_MACHINE};  // the root being walked
  TFoundNames userClsids_;
  TFoundNames browserKeys_;
  TFoundNames commandKeys_;
};

}  // namespace

TScanAreaPtr MakeClsidArea() { return std::make_unique<TClsidArea>(); }

}  // namespace orvix
