// Internet Explorer's add-ons in the registry and their switch (see
// ie_browser_cleaner.h).
#include "addons/ie_browser_cleaner.h"

#include <algorithm>
#include <cwctype>

#include "addons/bcleaner_db.h"
#include "addons/plugin_file_info.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kIeKey[] = L"\\SOFTWARE\\Microsoft\\Internet Explorer";
constexpr wchar_t kVersionVectorKey[] = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
constexpr wchar_t kToolbarKey[] = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
constexpr wchar_t kExtensionsKey[] = L"\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";
constexpr wchar_t kHelperObjectsKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects";
constexpr wchar_t kDistributionUnitsKey[] = L"\\SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr wchar_t kExtStatsKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats";
constexpr wchar_t kExtSettingsKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings";
constexpr wchar_t kClassesClsidKey[] = L"\\SOFTWARE\\Classes\\CLSID\\";
// Internet Explorer's own helper, never offered for removal.
constexpr wchar_t kOwnHelperClass[] = L"{10921475-03CE-4E04-90CE-E2E7EF20C814}";

constexpr wchar_t kMachineRoot[] = L"80000002";
constexpr wchar_t kUserRoot[] = L"80000001";

REGSAM ReadAccess(bool view64) { return KEY_READ | (view64 ? KEY_WOW64_64KEY : 0); }

// A read-only registry object on one root and view.
std::unique_ptr<TRegistry> Reader(HKEY root, bool view64) {
  auto registry = std::make_unique<TRegistry>(ReadAccess(view64));
  registry->SetRootKey(root);
  return registry;
}

std::vector<std::wstring> SubKeyNames(HKEY root, const std::wstring& path, bool view64) {
  std::vector<std::wstring> names;
  auto registry = Reader(root, view64);
  if (registry->OpenKeyReadOnly(path)) registry->GetKeyNames(names);
  return names;
}

// A value of a key as text, empty when the key or value is missing.
std::wstring ValueAt(HKEY root, const std::wstring& path, const std::wstring& name, bool view64) {
  auto registry = Reader(root, view64);
  if (!registry->OpenKeyReadOnly(path) || !registry->ValueExists(name)) return {};
  return registry->ReadString(name);
}

std::wstring PublisherOf(const TMozilPlugFileInfo& info) {
  return !info.Signer.empty() ? info.Signer : info.CompanyName;
}

// Runs one registry step; an error of the registry class is written to the
// debugger output and ends the step with `failed`.
template <typename Step>
bool Guarded(Step step) {
  try {
    return step();
  } catch (const ERegistryException& error) {
    CurrentPlatform().System().DebugOutput(L"AddUninstallRegItem " + error.Message());
    return false;
  }
}

}  // namespace

TIEBrowserCleaner::TIEBrowserCleaner() {
  IEVersion = ReadIEVersion(false);
  if (On64BitWindows) IEVersion64 = ReadIEVersion(true);
}

void TIEBrowserCleaner::ReleaseItem(TPluginItem& item) { item.ExtInfo.reset(); }

bool TIEBrowserCleaner::IsBrowserInstalled() {
  return RegValueExistsAt(L"HKEY_LOCAL_MACHINE", kIeKey, L"Version", false) ||
         (On64BitWindows && RegValueExistsAt(L"HKEY_LOCAL_MACHINE", kIeKey, L"Version", true));
}

bool TIEBrowserCleaner::CanRemoveItem(TPluginItem&) { return true; }

void TIEBrowserCleaner::DeleteBackup(const std::wstring& id) { DeleteIeBackupRows(PrepareDatabase(), id); }

int TIEBrowserCleaner::ReadIEVersion(bool view64) const {
  try {
    auto registry = Reader(HKEY_LOCAL_MACHINE, view64);
    if (!registry->OpenKeyReadOnly(kVersionVectorKey)) return 0;
    std::wstring text = registry->ValueExists(L"IE") ? registry->ReadString(L"IE") : L"0";
    text = text.substr(0, text.find(L'.'));
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), ::iswdigit)) return 0;
    return std::stoi(text);
  } catch (const ERegistryException&) {
    return 0;
  }
}

void TIEBrowserCleaner::CollectDisabledIDs(bool view64) {
  const int version = view64 ? IEVersion64 : IEVersion;
  try {
    auto registry = Reader(HKEY_CURRENT_USER, view64);
    for (const std::wstring& name : SubKeyNames(HKEY_CURRENT_USER, kExtSettingsKey, view64)) {
      if (!registry->OpenKeyReadOnly(std::wstring(kExtSettingsKey) + L"\\" + name)) continue;
      if (!registry->ValueExists(L"Flags") || !registry->ValueExists(L"Version")) continue;
      bool disabled = false;
      try {
        disabled = registry->ReadInteger(L"Flags") != 0;
      } catch (const ERegistryException&) {
        disabled = false;
      }
      if (disabled && version == 7) disabled = registry->ReadString(L"Version") == L"*";
      if (disabled && !IsDisabled(name)) DisabledIDs.push_back(name);
    }
  } catch (const ERegistryException&) {
    // What could be read stays.
  }
}

bool TIEBrowserCleaner::IsDisabled(const std::wstring& classId) const {
  return std::any_of(DisabledIDs.begin(), DisabledIDs.end(), [&](const std::wstring& id) { return SameText(id, classId); });
}

void TIEBrowserCleaner::ScanItems() {
  DisabledIDs.clear();
  CollectDisabledIDs(false);
  if (On64BitWindows) CollectDisabledIDs(true);
  for (const bool view64 : {false, true}) {
    if (view64 && !On64BitWindows) break;
    ScanToolbars(view64);
    ScanExtensions(view64);
    if (!view64) ScanUserExtensions(view64);
    ScanHelperObjects(view64);
    ScanActiveX(view64, false);
    ScanActiveX(view64, true);
  }
}

void TIEBrowserCleaner::AddFound(std::uint8_t group, const std::wstring& classId, const std::wstring& caption,
                                 const TMozilPlugFileInfo& info, const std::wstring& location, bool view64,
                                 std::unique_ptr<TIEPluginExtInfo> extInfo) {
  AddItem(pbIE, group, classId, caption, info.Description, location, PublisherOf(info), info.Version,
          !IsDisabled(classId), view64, std::move(extInfo));
}

std::wstring TIEBrowserCleaner::ReadClassName(const std::wstring& classId, bool view64) const {
  try {
    auto registry = Reader(HKEY_LOCAL_MACHINE, view64);
    if (!registry->OpenKeyReadOnly(kClassesClsidKey + classId)) return {};
    return Trim(registry->ReadString(L""));
  } catch (const ERegistryException&) {
    return {};
  }
}

std::wstring TIEBrowserCleaner::ReadServerPath(const std::wstring& classId) const {
  const std::wstring path = kClassesClsidKey + classId + L"\\InprocServer32";
  try {
    auto registry = Reader(HKEY_LOCAL_MACHINE, On64BitWindows);
    if (registry->OpenKeyReadOnly(path)) return registry->ReadString(L"");
    auto fallback = Reader(HKEY_LOCAL_MACHINE, false);
    if (fallback->OpenKeyReadOnly(path)) return fallback->ReadString(L"");
  } catch (const ERegistryException&) {
  }
  return {};
}

std::wstring TIEBrowserCleaner::GetClassInfo(const std::wstring& classId, const std::wstring& bandClassId,
                                             bool preferProductVersion, bool view64, TMozilPlugFileInfo& info) const {
  info = TMozilPlugFileInfo{};
  std::wstring name;
  try {
    auto registry = Reader(HKEY_CLASSES_ROOT, view64);
    std::wstring chosen = classId;
    if (registry->OpenKeyReadOnly(L"\\CLSID\\" + classId)) {
      name = registry->ReadString(L"");
    } else {
      if (bandClassId.empty()) return name;
      chosen = bandClassId;
      if (registry->OpenKeyReadOnly(L"\\CLSID\\" + chosen)) name = registry->ReadString(L"");
    }
    if (!registry->OpenKeyReadOnly(L"\\CLSID\\" + chosen + L"\\InprocServer32")) return name;
    const std::wstring server = registry->ReadString(L"");
    if (FileExists(server) && EndsWithText(server, L".dll")) info = GetPluginFileInfo(server, preferProductVersion);
  } catch (const ERegistryException&) {
  }
  return name;
}

void TIEBrowserCleaner::CaptureValues(HKEY root, const std::wstring& keyPath, bool view64,
                                      TIEPluginExtInfo& extInfo) const {
  try {
    auto registry = Reader(root, view64);
    if (!registry->OpenKeyReadOnly(keyPath)) return;
    std::vector<std::wstring> names;
    registry->GetValueNames(names);
    for (const std::wstring& name : names) {
      std::wstring data;
      int type = 0;
      switch (registry->GetDataType(name)) {
        case rdString: type = 1; data = registry->ReadString(name); break;
        case rdExpandString: type = 2; data = registry->ReadString(name); break;
        case rdInteger: type = 3; data = std::to_wstring(registry->ReadInteger(name)); break;
        default: continue;
      }
      extInfo.Values.push_back(name + L"=" + data);
      extInfo.ValueTypes.push_back(std::to_wstring(type));
    }
  } catch (const ERegistryException&) {
  }
}

std::wstring TIEBrowserCleaner::ExtensionCaption(const TIEPluginExtInfo& extInfo) {
  auto valueOf = [&](const std::wstring& name) {
    for (const std::wstring& line : extInfo.Values) {
      const std::size_t equals = line.find(L'=');
      if (equals != std::wstring::npos && SameText(line.substr(0, equals), name)) return line.substr(equals + 1);
    }
    return std::wstring();
  };
  const std::wstring button = valueOf(L"ButtonText");
  return !button.empty() ? button : valueOf(L"MenuText");
}

void TIEBrowserCleaner::ScanToolbars(bool view64) {
  std::vector<std::wstring> names;
  {
    auto registry = Reader(HKEY_LOCAL_MACHINE, view64);
    if (!registry->OpenKeyReadOnly(kToolbarKey)) return;
    registry->GetValueNames(names);
  }
  for (const std::wstring& name : names) {
    if (SameText(name, L"Locked") || (IsDisabled(name) && !IncludeInactive)) continue;
    const std::wstring band = ValueAt(HKEY_LOCAL_MACHINE, std::wstring(kToolbarKey) + L"\\" + name, L"BandCLSID", view64);
    TMozilPlugFileInfo info;
    GetClassInfo(name, band, false, view64, info);
    const std::wstring caption = ReadClassName(name, view64);
    if (caption.empty()) continue;
    auto extInfo = std::make_unique<TIEPluginExtInfo>();
    extInfo->Source = srToolbar;
    AddFound(pgToolbar, name, caption, info, std::wstring(kMachineRoot) + kToolbarKey, view64, std::move(extInfo));
  }
}

void TIEBrowserCleaner::ScanExtensions(bool view64) { ScanExtensionsOf(HKEY_LOCAL_MACHINE, view64); }

void TIEBrowserCleaner::ScanUserExtensions(bool view64) { ScanExtensionsOf(HKEY_CURRENT_USER, view64); }

// The band class is looked up in the machine's key for either listing.
void TIEBrowserCleaner::ScanExtensionsOf(HKEY root, bool view64) {
  const bool machine = root == HKEY_LOCAL_MACHINE;
  for (const std::wstring& name : SubKeyNames(root, kExtensionsKey, view64)) {
    if (IsDisabled(name) && !IncludeInactive) continue;
    const std::wstring key = std::wstring(kExtensionsKey) + L"\\" + name;
    const std::wstring band = ValueAt(HKEY_LOCAL_MACHINE, key, L"BandCLSID", view64);
    auto extInfo = std::make_unique<TIEPluginExtInfo>();
    extInfo->Source = machine ? srMachineExtension : srUserExtension;
    CaptureValues(root, key, view64, *extInfo);
    TMozilPlugFileInfo info;
    GetClassInfo(name, band, false, view64, info);
    const std::wstring caption = ExtensionCaption(*extInfo);
    if (caption.empty()) continue;
    AddFound(pgToolbar, name, caption, info, (machine ? kMachineRoot : kUserRoot) + key, view64, std::move(extInfo));
  }
}

void TIEBrowserCleaner::ScanHelperObjects(bool view64) {
  for (const std::wstring& name : SubKeyNames(HKEY_LOCAL_MACHINE, kHelperObjectsKey, view64)) {
    if ((IsDisabled(name) && !IncludeInactive) || UpperCase(name).find(kOwnHelperClass) != std::wstring::npos) continue;
    const std::wstring caption = ReadClassName(name, view64);
    if (caption.empty()) continue;
    auto extInfo = std::make_unique<TIEPluginExtInfo>();
    TMozilPlugFileInfo info;
    GetClassInfo(name, L"", false, view64, info);
    extInfo->ServerPath = ReadServerPath(name);
    const std::wstring key = std::wstring(kHelperObjectsKey) + L"\\" + name;
    CaptureValues(HKEY_LOCAL_MACHINE, key, view64, *extInfo);
    AddFound(pgBHO, name, caption, info, kMachineRoot + key, view64, std::move(extInfo));
  }
}

void TIEBrowserCleaner::ScanActiveX(bool view64, bool extStats) {
  const std::wstring source = extStats ? kExtStatsKey : kDistributionUnitsKey;
  const HKEY listingRoot = extStats ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  for (const std::wstring& name : SubKeyNames(listingRoot, source, view64)) {
    if (extStats) {
      auto registry = Reader(HKEY_CURRENT_USER, view64);
      const std::wstring browserKey = source + L"\\" + name + L"\\iexplore";
      bool listed = false;
      try {
        listed = registry->OpenKeyReadOnly(browserKey) && registry->GetDataType(L"Type") == rdInteger &&
                 registry->ReadInteger(L"Type") == 1;
      } catch (const ERegistryException&) {
        listed = false;
      }
      if (!listed) continue;
    }
    if (IsDisabled(name) && !IncludeInactive) continue;
    TMozilPlugFileInfo info;
    const std::wstring caption = GetClassInfo(name, L"", true, view64, info);
    if (caption.empty()) continue;
    auto extInfo = std::make_unique<TIEPluginExtInfo>();
    extInfo->ClassKey = kClassesClsidKey + name;
    extInfo->ServerPath = ReadServerPath(name);
    CaptureValues(HKEY_LOCAL_MACHINE, source + L"\\" + name, view64, *extInfo);
    // Both sources name the user's root in the location, as stored rows expect.
    AddFound(pgActiveX, name, caption, info, kUserRoot + source + L"\\" + name, view64, std::move(extInfo));
  }
}

bool TIEBrowserCleaner::RemoveItem(TPluginItem& item) {
  lastProblem_.clear();
  if (!item.Active) return true;
  bool switched = false;
  switch (item.Collection.Kind) {
    case pgToolbar: switched = item.ExtInfo != nullptr && DisableAddon(item); break;
    case pgBHO:
    case pgActiveX: switched = DisableAddon(item); break;
    default: break;
  }
  if (!switched) lastProblem_ = L"Internet Explorer's add-on settings of this user could not be written.";
  return switched;
}

// Switching on clears the flag the switch-off set, in the same places.
bool TIEBrowserCleaner::RestoreItem(TPluginItem& item) {
  lastProblem_.clear();
  if (item.Active) return true;
  bool switched = false;
  switch (item.Collection.Kind) {
    case pgToolbar: switched = item.ExtInfo != nullptr && EnableAddon(item); break;
    case pgBHO:
    case pgActiveX: switched = EnableAddon(item); break;
    default: break;
  }
  if (!switched) lastProblem_ = L"Internet Explorer's add-on settings of this user could not be written.";
  return switched;
}

bool TIEBrowserCleaner::DisableAddon(TPluginItem& item) {
  return Guarded([&] {
    TRegistry registry(KEY_ALL_ACCESS | (item.Is64Bit ? KEY_WOW64_64KEY : 0));
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (!registry.OpenKey(std::wstring(kExtSettingsKey) + L"\\" + item.ItemID, true)) return false;
    registry.WriteInteger(L"Flags", 1);
    registry.WriteString(L"Version", L"*");
    registry.CloseKey();
    const int version = item.Is64Bit ? IEVersion64 : IEVersion;
    if (version != 7) return true;
    // Internet Explorer 7 also keeps the switch in the add-on's statistics.
    if (!registry.OpenKey(std::wstring(kExtStatsKey) + L"\\" + item.ItemID + L"\\iexplore", true)) return false;
    registry.WriteInteger(L"Flags", 5);
    return true;
  });
}

bool TIEBrowserCleaner::EnableAddon(TPluginItem& item) {
  return Guarded([&] {
    TRegistry registry(KEY_ALL_ACCESS | (item.Is64Bit ? KEY_WOW64_64KEY : 0));
    registry.SetRootKey(HKEY_CURRENT_USER);
    const std::wstring key = std::wstring(kExtSettingsKey) + L"\\" + item.ItemID;
    if (!registry.OpenKey(key, false)) return true;  // never switched off here
    registry.WriteInteger(L"Flags", 0);
    return true;
  });
}

}  // namespace orvix
