#include "addons/firefox_browser_cleaner.h"

#include "addons/browser_text_file.h"
#include "addons/firefox_addon_json.h"
#include "addons/firefox_extension_dirs.h"
#include "addons/firefox_plugin_registry.h"
#include "addons/mozilla_profiles.h"
#include "addons/plugin_file_info.h"
#include "addons/sqlite_db.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

// The work folder below the data folder that holds the copy of the older
// add-on database, so that a database a running Firefox locks can be read.
constexpr wchar_t kDatabaseCopyFolder[] = L"B77A0CC7-7129-4313-86FE-B10B53285749\\";
constexpr wchar_t kExtensionQuery[] =
    L"SELECT a.name,a.description,a.creator,b.id,b.active,b.userDisabled,b.descriptor,b.version FROM locale a "
    L"INNER JOIN addon b ON a.id=b.defaultLocale WHERE b.type='extension'";

}  // namespace

TFFBrowserCleaner::TFFBrowserCleaner() {
  if (!AppDataDir.empty()) ProfileDir = FindMozillaProfile(AppDataDir + L"\\Mozilla\\Firefox\\");
}

bool TFFBrowserCleaner::IsBrowserInstalled() { return !ProfileDir.empty(); }

void TFFBrowserCleaner::ScanItems() {
  if (ProfileDir.empty()) return;
  ScanExtensions();
  ScanPlugins();
}

void TFFBrowserCleaner::ScanExtensions() {
  // Firefox 4 replaced the SQLite database by "extensions.json"; a profile
  // that has both was upgraded, and Firefox reads only the new one.
  if (FileExists(ProfileDir + L"extensions.json")) {
    for (const TFirefoxAddon& addon : ReadFirefoxAddons(ProfileDir)) {
      AddItem(pbFireFox, pgExtension, addon.id, addon.name, addon.description, addon.path, addon.creator,
              addon.version, addon.active, false);
    }
  } else if (FileExists(ProfileDir + L"extensions.sqlite")) {
    ScanDatabaseExtensions(ProfileDir + L"extensions.sqlite");
  }
}

void TFFBrowserCleaner::ScanDatabaseExtensions(const std::wstring& database) {
  const std::wstring copy = BackupToWorkFolder(kDatabaseCopyFolder, database);
  TSqliteDb db;
  if (copy.empty() || !db.Open(copy, TSqliteOpenMode::ReadOnly)) return;
  std::unique_ptr<TSqliteStatement> query = db.Prepare(kExtensionQuery);
  if (!query) return;
  while (query->Step()) {
    const bool active = query->ColumnInt(4) == 1 && query->ColumnInt(5) == 0;
    AddItem(pbFireFox, pgExtension, query->ColumnText(3), query->ColumnText(0), query->ColumnText(1),
            query->ColumnText(6), query->ColumnText(2), query->ColumnText(7), active, false);
  }
}

void TFFBrowserCleaner::ScanPlugins() {
  TBrowserTextFile registry;
  if (!ReadBrowserTextFile(ProfileDir + L"pluginreg.dat", registry)) return;
  for (const TPluginRegRecord& record : ReadPluginRegistry(registry.text)) {
    const TMozilPlugFileInfo file = GetPluginFileInfo(record.path, false);
    AddItem(pbFireFox, pgPlugin, record.fileName, record.name,
            file.Description.empty() ? record.description : file.Description, record.path, file.CompanyName,
            file.Version.empty() ? record.version : file.Version, record.active, false);
  }
}

bool TFFBrowserCleaner::SetDatabaseExtensionEnabled(const std::wstring& id, const std::wstring& folder,
                                                    bool enabled) {
  TSqliteDb db;
  if (!db.Open(ProfileDir + L"extensions.sqlite", TSqliteOpenMode::ReadWrite)) return false;
  // An id the database does not hold is not switched, whatever the UPDATE
  // answers.
  std::unique_ptr<TSqliteStatement> known = db.Prepare(L"SELECT id FROM addon WHERE id=?");
  if (!known || !known->BindText(1, id) || !known->Step()) return false;
  known.reset();
  std::unique_ptr<TSqliteStatement> update = db.Prepare(L"UPDATE addon SET active=?,userDisabled=? WHERE id=?");
  if (!update || !update->BindInt(1, enabled ? 1 : 0) || !update->BindInt(2, enabled ? 0 : 1) ||
      !update->BindText(3, id) || !update->Run())
    return false;
  return ListExtensionDirInFile(ProfileDir + L"extensions.ini", folder, enabled);
}

bool TFFBrowserCleaner::SwitchItem(const TPluginItem& item, bool enabled) {
  if (ProfileDir.empty() || item.Paths.empty()) return false;
  if (item.Collection.Kind == pgPlugin) {
    return SetPluginRegistryFlagsInFile(ProfileDir + L"pluginreg.dat", item.ItemID, item.Paths[0], enabled);
  }
  if (item.Collection.Kind != pgExtension) return false;
  if (FileExists(ProfileDir + L"extensions.json")) {
    return SetFirefoxAddonEnabled(ProfileDir, item.ItemID, enabled) == TFirefoxSwitch::tfsDone;
  }
  return FileExists(ProfileDir + L"extensions.sqlite") && SetDatabaseExtensionEnabled(item.ItemID, item.Paths[0], enabled);
}

bool TFFBrowserCleaner::RemoveItem(TPluginItem& item) { return !item.Active || SwitchItem(item, false); }

bool TFFBrowserCleaner::RestoreItem(TPluginItem& item) { return item.Active || SwitchItem(item, true); }

}  // namespace orvix
