// Area 17: client registrations (mail, news, browsers, media players...)
// under HKEY_LOCAL_MACHINE \SOFTWARE\Clients: a client key is the program's
// when a value anywhere below it names the install folder, or when it holds
// a key named like the program. Then the default-programs lists
// (registered_applications.h).
#include "platform/text.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/registered_applications.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

constexpr const wchar_t* kClients = L"\\SOFTWARE\\Clients";

class TClientArea : public TScanArea {
 public:
  int Number() const override { return 17; }
  bool NeedsKeyword() const override { return true; }
  // Clients is one key in both views on Windows 7 and later (it was mirrored
  // between them before); the 64-bit view reaches the key itself.
  TScanViews Views() const override { return svMachine64; }

  void Run(TRegeditScanClasses& scan) override {
    TScanKey clients(HKEY_LOCAL_MACHINE, kClients, scan.View64());
    for (const std::wstring& kind : clients.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey kindKey(HKEY_LOCAL_MACHINE, clients.Below(kind), scan.View64());
      for (const std::wstring& client : kindKey.SubKeyNames()) {
        if (!scan.Tick()) return;
        TScanKey clientKey(HKEY_LOCAL_MACHINE, kindKey.Below(client), scan.View64());
        // One program may be the client of several kinds under one name.
        if (clientKey && Matches(scan, clientKey, 0))
          scan.ReportKey(reported_, HKEY_LOCAL_MACHINE, kind + L"\\" + client, clientKey.Path());
      }
    }
    registeredApplications_.Run(scan);
  }

 private:
  // A value naming the install folder, else a sub-key named like the
  // program, else the same test on each sub-key, depth first.
  static bool Matches(TRegeditScanClasses& scan, TScanKey& key, int depth) {
    for (const std::wstring& value : key.ValueNames()) {
      if (NamesInstallFolder(scan, key.ValueText(value))) return true;
    }
    const std::vector<std::wstring> names = key.SubKeyNames();
    const std::wstring& program = scan.Record().DisplayName;
    for (const std::wstring& name : names) {
      if (!program.empty() && SameText(name, program)) return true;
    }
    if (depth >= kMaxKeyDepth) return false;
    for (const std::wstring& name : names) {
      if (!scan.Tick()) return false;
      TScanKey sub(key.Root(), key.Below(name), key.View64());
      if (sub && Matches(scan, sub, depth + 1)) return true;
    }
    return false;
  }

  TFoundNames reported_;
  TRegisteredApplications registeredApplications_;
};

}  // namespace

TScanAreaPtr MakeClientArea() { return std::make_unique<TClientArea>(); }

}  // namespace orvix
