// Area 2: the program's uninstall key, and for a Windows Installer product
// (its uninstall key is named by the product code) the installer's data
// filed under the packed product code.
//
// The two parts lie in different views on 64-bit Windows: the uninstall key
// in the entry's, the installer's machine data in the 64-bit view, the only
// one that holds it whatever the product's bitness (a 32-bit product's view
// has no UserData, Folders or UpgradeCodes), so the area switches views for
// it. The published data under SOFTWARE\Classes\Installer and the user's
// Software\Microsoft\Installer is shared by both views, so reading it there
// too reaches the same keys.
#include <algorithm>
#include <utility>
#include <vector>

#include "inventory/analysis_icon.h"
#include "platform/file_helpers.h"
#include "platform/text.h"
#include "uninstall/deletion_guard.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/system_areas.h"

namespace orvix {
namespace {

constexpr std::wstring_view kMachineInstaller = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
constexpr std::wstring_view kClasses = L"\\SOFTWARE\\Classes\\";

std::wstring TrimBackslashes(const std::wstring& path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  if (start == std::wstring::npos) return {};
  return path.substr(start, path.find_last_not_of(L'\\') - start + 1);
}

// The entry's uninstall key as an absolute path; empty when the entry has
// none (a forced scan of a bare folder), which must never mean the root.
std::wstring UninstallKey(const TRegeditScanClasses& scan) {
  const std::wstring path = TrimBackslashes(Trim(scan.UninstallKeyPath()));
  return path.empty() ? L"" : L"\\" + path;
}

HKEY UninstallRoot(const TRegeditScanClasses& scan) {
  const std::wstring name = UpperCase(scan.UninstallRootName());
  if (name == L"HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
  if (name == L"HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  return HKEY_LOCAL_MACHINE;
}

void AddOnce(std::vector<std::wstring>& list, const std::wstring& text) {
  if (std::find(list.begin(), list.end(), text) == list.end()) list.push_back(text);
}

bool ContainsAny(const std::wstring& text, const std::vector<std::wstring>& patterns) {
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::wstring& pattern) { return text.find(pattern) != std::wstring::npos; });
}

// Whether a key that lists products by their packed codes (a component, an
// upgrade code) lists one besides this product.
bool ListsOtherProducts(TScanKey& key, const std::wstring& packed) {
  const std::vector<std::wstring> names = key.ValueNames();
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& name) { return !SameText(name, packed); });
}

// Whether a program's entry lies anywhere below the key.
bool HoldsOtherEntries(TScanKey& key) {
  for (const std::wstring& name : key.SubKeyNames()) {
    TScanKey sub(key.Root(), key.Below(name), key.View64());
    if (!Trim(sub.ValueText(L"DisplayName")).empty() || HoldsOtherEntries(sub)) return true;
  }
  return false;
}

class TInstallerArea : public TScanArea {
 public:
  int Number() const override { return 2; }
  bool NeedsKeyword() const override { return false; }

  void Run(TRegeditScanClasses& scan) override {
    const std::wstring path = UninstallKey(scan);
    if (path.empty()) return;
    const HKEY root = UninstallRoot(scan);
    // The Uninstall key itself, or a key above it: every program's entry.
    if (IsSharedOrTopKey(root, path)) return;
    TScanKey entry(root, path, scan.View64());
    if (HoldsOtherEntries(entry)) {
      // A vendor's key that lists its products below its own entry: only
      // its own values go.
      for (const std::wstring& name : entry.ValueNames()) {
        if (!scan.Tick()) return;
        scan.ReportValue(entry, name);
      }
    } else {
      scan.ReportKey(names_, root, scan.UninstallKeyName(), path);
    }
    // Every Windows Installer entry has Comments; other entries may still be
    // named by a GUID.
    if (!TScanKey(root, path, scan.View64()).HasValue(L"Comments")) return;
    const std::wstring packed = PackedProductCode(scan.UninstallKeyName());
    if (packed.empty()) return;

    TScanViewSwitch machineView(scan, true);
    MachineData(scan, packed);
    Published(scan, HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\Installer\\", packed);
    Published(scan, HKEY_CURRENT_USER, L"\\Software\\Microsoft\\Installer\\", packed);
  }

 private:
  void MachineData(TRegeditScanClasses& scan, const std::wstring& packed) {
    const std::wstring base(kMachineInstaller);
    TScanKey folders(HKEY_LOCAL_MACHINE, base + L"Folders", scan.View64());
    const std::vector<std::wstring> folderNames = folders.ValueNames();
    // An empty keyword (a protected install folder) would match every folder.
    std::vector<std::wstring> patterns;
    if (!scan.Keyword().empty()) patterns.push_back(scan.Keyword());

    TScanKey codes(HKEY_LOCAL_MACHINE, base + L"UpgradeCodes", scan.View64());
    for (const std::wstring& code : codes.SubKeyNames()) {
      if (!scan.Tick()) return;
      ReportListing(scan, HKEY_LOCAL_MACHINE, codes.Below(code), packed);
    }

    UserData(scan, packed, folders ? &patterns : nullptr);

    for (const std::wstring& name : folderNames) {
      if (!scan.Tick()) return;
      // A system folder is never offered, not even by name.
      if (ContainsAny(LowerCase(name), patterns) && !scan.IsProtected(name)) scan.ReportValue(folders, name);
    }
  }

  void UserData(TRegeditScanClasses& scan, const std::wstring& packed, std::vector<std::wstring>* patterns) {
    TScanKey userData(HKEY_LOCAL_MACHINE, std::wstring(kMachineInstaller) + L"UserData", scan.View64());
    std::vector<std::wstring> productHolders;
    std::vector<std::wstring> componentHolders;
    for (const std::wstring& user : userData.SubKeyNames()) {
      if (!scan.Tick()) return;
      TScanKey product(HKEY_LOCAL_MACHINE, userData.Below(user) + L"\\Products\\" + packed, scan.View64());
      (product ? productHolders : componentHolders).push_back(user);
    }

    std::vector<std::wstring> components;
    // A component's folder, for the file scan and the Folders key, unless
    // some holder's component key lists another product: then the folder is
    // shared, and walking it would offer the other product's files.
    std::vector<std::pair<std::wstring, std::wstring>> componentFolders;
    std::vector<std::wstring> sharedComponents;
    for (const std::wstring& user : productHolders) {
      if (!scan.Tick()) return;
      ReportWhole(scan, HKEY_LOCAL_MACHINE, userData.Below(user) + L"\\Products\\" + packed);
      TScanKey list(HKEY_LOCAL_MACHINE, userData.Below(user) + L"\\Components", scan.View64());
      for (const std::wstring& name : list.SubKeyNames()) {
        if (!scan.Tick()) return;
        TScanKey component(HKEY_LOCAL_MACHINE, list.Below(name), scan.View64());
        if (!component.HasValue(packed)) continue;
        // The component's key path: a file, a folder or a registry key.
        const std::wstring keyPath = Trim(component.ValueText(packed));
        // Reported neither here nor under the other holders.
        if (scan.IsProtected(keyPath)) continue;
        AddOnce(components, name);
        if (ListsOtherProducts(component, packed)) AddOnce(sharedComponents, name);
        if (DirectoryExists(keyPath)) componentFolders.emplace_back(name, CanonicalFolder(keyPath));
        ReportListing(scan, HKEY_LOCAL_MACHINE, list.Below(name), packed);
      }
    }

    for (const std::wstring& user : componentHolders) {
      for (const std::wstring& name : components) {
        if (!scan.Tick()) return;
        const std::wstring path = userData.Below(user) + L"\\Components\\" + name;
        if (TScanKey component(HKEY_LOCAL_MACHINE, path, scan.View64()); ListsOtherProducts(component, packed))
          AddOnce(sharedComponents, name);
        ReportListing(scan, HKEY_LOCAL_MACHINE, path, packed);
      }
    }

    for (const auto& [name, folder] : componentFolders) {
      const bool shared = std::find(sharedComponents.begin(), sharedComponents.end(), name) != sharedComponents.end();
      if (folder.empty() || shared) continue;
      AddOnce(scan.InstallerFolders(), folder);
      if (patterns != nullptr) AddOnce(*patterns, folder);
    }
  }

  // The data published for the product under one root's installer key.
  void Published(TRegeditScanClasses& scan, HKEY root, const std::wstring& base, const std::wstring& packed) {
    ReportWhole(scan, root, base + L"Features\\" + packed);
    ReportWhole(scan, root, base + L"Products\\" + packed);
    TScanKey codes(root, base + L"UpgradeCodes", scan.View64());
    for (const std::wstring& code : codes.SubKeyNames()) {
      if (!scan.Tick()) return;
      ReportListing(scan, root, codes.Below(code), packed);
    }
  }

  // A key that lists products by their packed codes (a component, an upgrade
  // code): reported whole when it lists no other product; when it does, only
  // this product's value goes, so that the others keep their registration.
  void ReportListing(TRegeditScanClasses& scan, HKEY root, const std::wstring& path, const std::wstring& packed) {
    TScanKey key(root, path, scan.View64());
    if (!key) return;
    if (!ListsOtherProducts(key, packed)) {
      ReportWhole(scan, root, path);
    } else if (key.HasValue(packed)) {
      scan.ReportValue(key, packed);
    }
  }

  // A key with everything below it, named by its path; a key of the
  // machine's classes also as HKEY_CLASSES_ROOT shows it.
  void ReportWhole(TRegeditScanClasses& scan, HKEY root, const std::wstring& path) {
    if (root == HKEY_LOCAL_MACHINE && StartsWithText(path, kClasses)) {
      scan.ReportClassesKey(names_, path, path.substr(kClasses.size()));
    } else {
      scan.ReportKey(names_, root, path, path);
    }
  }

  TFoundNames names_;
};

}  // namespace

TScanAreaPtr MakeInstallerArea() { return std::make_unique<TInstallerArea>(); }

}  // namespace orvix
