// The shared cleaner: entries, merging, stored state, batches and the
// Mozilla plug-in registry (see custom_browser_cleaner.h).
#include "addons/custom_browser_cleaner.h"

#include <algorithm>

#include "addons/bcleaner_db.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/settings.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kMozillaPluginsKey[] = L"\\SOFTWARE\\MozillaPlugins";

std::wstring WithoutAmpersands(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring FileNamePart(const std::wstring& location) {
  const std::size_t slash = location.find_last_of(L'\\');
  return slash == std::wstring::npos ? location : location.substr(slash + 1);
}

TPluginRowKey RowKey(const TPluginItem& item, const std::wstring& location) {
  return {item.ItemID, item.Caption, location, item.Publisher, item.Is64Bit, item.Version};
}

std::vector<TPluginRowKey> RowKeys(const TPluginItem& item) {
  std::vector<TPluginRowKey> keys;
  for (const std::wstring& location : item.Paths) keys.push_back(RowKey(item, location));
  return keys;
}

// Removes a folder of our own with everything in it; links inside are
// removed as links, never followed.
bool DeleteOwnTree(const std::wstring& folder) {
  IFileSystem& files = CurrentPlatform().Files();
  const std::wstring base = WithoutTrailingBackslash(folder) + L"\\";
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(base + L"*", &data, &handle) == ERROR_SUCCESS) {
    TFindListing listing(files, handle);
    do {
      if (data.name == L"." || data.name == L"..") continue;
      const std::wstring path = base + data.name;
      const bool folderEntry = (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (folderEntry && (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        if (!DeleteOwnTree(path)) return false;
      } else if (folderEntry) {
        if (files.RemoveDirectory(path) != ERROR_SUCCESS) return false;
      } else {
        files.SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
        if (files.DeleteFile(path) != ERROR_SUCCESS) return false;
      }
    } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
  }
  return files.RemoveDirectory(WithoutTrailingBackslash(folder)) == ERROR_SUCCESS;
}

}  // namespace

TCustomBrowserCleaner::TCustomBrowserCleaner() {
  On64BitWindows = IsWow64();
  InitFolders();
  OpenDatabase();
}

TCustomBrowserCleaner::~TCustomBrowserCleaner() {
  ClearItems();
  storedState_.reset();  // its statements go before the connection
}

void TCustomBrowserCleaner::InitFolders() {
  Platform& platform = CurrentPlatform();
  AppDataDir = WithoutTrailingBackslash(platform.Shell().GetSpecialFolder(CSIDL_APPDATA));
  if (SameText(OsName(), L"Windows XP")) {
    const std::wstring drive = platform.Shell().GetEnvironmentVariable(L"HOMEDRIVE").value_or(L"");
    const std::wstring home = platform.Shell().GetEnvironmentVariable(L"HOMEPATH").value_or(L"");
    LocalAppDataDir = drive + home + L"\\Local Settings\\Application Data";
  } else {
    LocalAppDataDir = WithoutTrailingBackslash(platform.Shell().GetEnvironmentVariable(L"LOCALAPPDATA").value_or(L""));
  }
  TempDir = platform.Shell().GetTempPath();
  DataDir = DataFolder();
}

void TCustomBrowserCleaner::OpenDatabase() {
  const std::wstring path = PrepareDatabase();
  DatabaseOpen = !path.empty() && Database.Open(path, TSqliteOpenMode::ReadWrite);
  if (DatabaseOpen) storedState_ = std::make_unique<TStoredStateReader>(Database);
}

std::wstring TCustomBrowserCleaner::PrepareDatabase() const { return PrepareBCleanerDb(DataDir); }

void TCustomBrowserCleaner::ReleaseItem(TPluginItem&) {}
bool TCustomBrowserCleaner::IsBrowserInstalled() { return true; }
bool TCustomBrowserCleaner::CanRemoveItem(TPluginItem&) { return true; }
void TCustomBrowserCleaner::DeleteBackup(const std::wstring&) {}

std::vector<std::wstring> TCustomBrowserCleaner::RunningCheckExecutables() const {
  return {BrowserExecutable(Browser())};
}

bool TCustomBrowserCleaner::SetItemTrust(TPluginItem& item, std::uint8_t state) {
  return WriteTrustRows(PrepareDatabase(), RowKeys(item), state);
}

TPluginItem* TCustomBrowserCleaner::AddItem(TPluginBrowsr browser, std::uint8_t group, const std::wstring& itemId,
                                            const std::wstring& name, const std::wstring& description,
                                            const std::wstring& location, const std::wstring& publisher,
                                            const std::wstring& version, bool active, bool is64Bit,
                                            std::unique_ptr<TPluginExtInfo> extInfo, const std::wstring& givenId) {
  if (!active && !IncludeInactive) return nullptr;
  const std::wstring rawName = WithoutAmpersands(name);
  std::wstring dottedVersion = version;
  std::replace(dottedVersion.begin(), dottedVersion.end(), L',', L'.');

  for (const auto& existing : Items) {
    if (SameText(Trim(rawName), Trim(existing->Caption)) && SameText(Trim(description), Trim(existing->Description)) &&
        SameText(Trim(dottedVersion), Trim(existing->Version)) && is64Bit == existing->Is64Bit) {
      if (Trim(existing->Publisher).empty()) existing->Publisher = publisher;
      existing->Paths.push_back(location);
      return nullptr;
    }
  }

  auto item = std::make_unique<TPluginItem>();
  if (!givenId.empty()) item->ID = givenId;
  item->ItemID = itemId;
  item->Browser = browser;
  item->Collection.Kind = group;
  item->RawName = rawName;
  item->Description = description;
  item->Publisher = publisher;
  item->Version = dottedVersion;
  item->Active = active;
  item->Is64Bit = is64Bit;
  item->ExtInfo = std::move(extInfo);
  item->Caption = Trim(name).empty() ? FileNamePart(location) : rawName;
  item->Paths.push_back(location);
  AssignScore(*item, rawName);
  Items.push_back(std::move(item));
  TPluginItem& added = *Items.back();
  if (OnPluginAdded) OnPluginAdded(*this, added);
  return &added;
}

void TCustomBrowserCleaner::List() {
  if (!IsBrowserInstalled()) return;
  if (OnScanBegin) OnScanBegin(*this);
  try {
    if (Scanned) {
      for (const auto& item : Items) {
        if (OnPluginAdded) OnPluginAdded(*this, *item);
      }
    } else {
      ScanItems();
      Scanned = true;
    }
  } catch (const std::exception&) {
    // A scan that failed part-way keeps what it found.
  }
  if (OnScanEnd) OnScanEnd(*this);
}

void TCustomBrowserCleaner::Reset(bool scannedValue) {
  ClearItems();
  Scanned = scannedValue;
}

void TCustomBrowserCleaner::ClearItems() {
  for (const auto& item : Items) ReleaseItem(*item);
  Items.clear();
}

TPluginItem* TCustomBrowserCleaner::FindItem(const std::wstring& id) const {
  for (const auto& item : Items) {
    if (SameText(item->ID, id)) return item.get();
  }
  return nullptr;
}

std::vector<TPluginItem*> TCustomBrowserCleaner::ItemsNamed(const std::vector<std::wstring>& ids) const {
  std::vector<TPluginItem*> named;
  for (const auto& item : Items) {
    const bool wanted = std::any_of(ids.begin(), ids.end(), [&](const std::wstring& id) { return SameText(item->ID, id); });
    if (wanted) named.push_back(item.get());
  }
  return named;
}

void TCustomBrowserCleaner::SetTrust(const std::vector<std::wstring>& ids, std::uint8_t newState) {
  for (TPluginItem* item : ItemsNamed(ids)) {
    if (item->TrustState == newState) continue;
    const bool success = SetItemTrust(*item, newState);
    if (success) item->TrustState = newState;
    if (OnPluginAction) OnPluginAction(*this, item, success, paTrustChanged);
  }
}

void TCustomBrowserCleaner::RemoveItems(const std::vector<std::wstring>& ids) {
  if (!IsBrowserInstalled() || ids.empty()) return;
  std::vector<TPluginItem*> removed;
  for (TPluginItem* item : ItemsNamed(ids)) {
    if (!CanRemoveItem(*item)) continue;
    bool success = false;
    try {
      success = RemoveItem(*item);
    } catch (const std::exception&) {
      success = false;
    }
    if (success) {
      item->Active = false;
      removed.push_back(item);
    }
    if (OnPluginAction) OnPluginAction(*this, item, success, paRemoved);
  }
  for (TPluginItem* item : removed) {
    ReleaseItem(*item);
    std::erase_if(Items, [&](const std::unique_ptr<TPluginItem>& owned) { return owned.get() == item; });
  }
  if (OnPluginAction) OnPluginAction(*this, nullptr, true, paRemoveDone);
}

void TCustomBrowserCleaner::RestoreItems(const std::vector<std::wstring>& ids) {
  if (!IsBrowserInstalled() || ids.empty()) return;
  for (TPluginItem* item : ItemsNamed(ids)) {
    bool success = false;
    try {
      success = RestoreItem(*item);
    } catch (const std::exception&) {
      success = false;
    }
    if (success) item->Active = true;
    if (OnPluginAction) OnPluginAction(*this, item, success, paRestored);
  }
}

void TCustomBrowserCleaner::AssignScore(TPluginItem& item, const std::wstring& name) {
  std::optional<std::int32_t> published;
  if (ScoreDB != nullptr && ScoreDB->Loaded()) published = ScoreDB->LookupScore(name);
  TStoredPluginState stored;
  if (DatabaseOpen && storedState_) stored = storedState_->Lookup(RowKey(item, item.Paths.empty() ? L"" : item.Paths[0]));
  item.HasScore = false;
  if (stored.trustFlag != 0) {
    item.TrustState = static_cast<std::uint8_t>(stored.trustFlag);
  } else if (published) {
    item.HasScore = true;
    item.TrustState = *published >= 2 ? ptTrusted : ptUntrusted;
  } else {
    item.TrustState = ptTrusted;
  }
  if (stored.pluginScore != 0) {
    item.Score = stored.pluginScore;
  } else if (published) {
    item.Score = *published;
    item.HasScore = true;
  } else {
    item.Score = 0;
  }
  item.VoteScore = stored.voteScore;
  item.Voted = stored.voted;
}

void TCustomBrowserCleaner::ReassignScores() {
  for (const auto& item : Items) AssignScore(*item, item->Caption);
}

void TCustomBrowserCleaner::AddVote(TPluginItem& item, std::int32_t score) {
  WriteVoteRows(PrepareDatabase(), RowKeys(item), score, FormatDate(NowLocal(), L"yyyyMMddHHmmss"));
}

void TCustomBrowserCleaner::ScanMozillaPluginsRegistry() {
  MozillaPlugins.clear();
  const struct {
    HKEY root;
    bool view64;
  } places[] = {{HKEY_LOCAL_MACHINE, false}, {HKEY_CURRENT_USER, false}, {HKEY_LOCAL_MACHINE, true},
                {HKEY_CURRENT_USER, true}};
  for (const auto& place : places) {
    if (place.view64 && !On64BitWindows) continue;
    TRegistry registry(KEY_READ | (place.view64 ? KEY_WOW64_64KEY : 0));
    registry.SetRootKey(place.root);
    std::vector<std::wstring> names;
    try {
      if (!registry.OpenKeyReadOnly(kMozillaPluginsKey)) continue;
      registry.GetKeyNames(names);
    } catch (const ERegistryException&) {
      continue;
    }
    for (const std::wstring& name : names) {
      try {
        if (!registry.OpenKeyReadOnly(std::wstring(kMozillaPluginsKey) + L"\\" + name)) continue;
        TMozilaGeneralPluginItem plugin;
        plugin.Path = registry.ReadString(L"path");
        if (plugin.Path.empty() || SameText(plugin.Path, L"disabled")) continue;
        const bool known = std::any_of(MozillaPlugins.begin(), MozillaPlugins.end(),
                                       [&](const TMozilaGeneralPluginItem& p) { return SameText(p.Path, plugin.Path); });
        if (known) continue;
        plugin.PluginID = name;
        plugin.Name = registry.ReadString(L"ProductName");
        plugin.Description = registry.ReadString(L"Description");
        plugin.Vendor = registry.ReadString(L"Vendor");
        plugin.Version = registry.ReadString(L"Version");
        plugin.Is64Bit = place.view64;
        MozillaPlugins.push_back(std::move(plugin));
      } catch (const ERegistryException&) {
        // A value of the wrong type drops this plug-in only.
      }
    }
  }
}

TMozilaGeneralPluginItem TCustomBrowserCleaner::FindMozillaPlugin(const std::wstring& path) const {
  for (const TMozilaGeneralPluginItem& plugin : MozillaPlugins) {
    if (SameText(plugin.Path, path)) return plugin;
  }
  return {};
}

std::unique_ptr<TRegistry> TCustomBrowserCleaner::CreateRegistry(bool view64) const {
  return std::make_unique<TRegistry>(KEY_ALL_ACCESS | (view64 ? KEY_WOW64_64KEY : 0));
}

std::unique_ptr<TRegistry> TCustomBrowserCleaner::CreateRegistry() const { return CreateRegistry(On64BitWindows); }

std::wstring TCustomBrowserCleaner::BackupToWorkFolder(const std::wstring& subFolder, const std::wstring& filePath) {
  if (DataDir.empty()) return {};
  std::wstring target = DataDir + subFolder;
  if (DirectoryExists(target) && !DeleteOwnTree(target)) target = DataDir + NewGuidText() + L"\\";
  IFileSystem& files = CurrentPlatform().Files();
  if (files.CreateDirectory(WithoutTrailingBackslash(target)) != ERROR_SUCCESS) return {};
  const std::wstring copy = target + FileNamePart(filePath);
  return files.CopyFile(filePath, copy, true) == ERROR_SUCCESS ? copy : std::wstring();
}

}  // namespace orvix
