#include "addons/opera_browser_cleaner.h"

#include "addons/browser_folders.h"
#include "addons/opera_disabled_plugins.h"
#include "addons/opera_widgets.h"
#include "addons/plugin_file_info.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kUninstallKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring FileNamePart(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

TOperaBrowserCleaner::TOperaBrowserCleaner() : addons_(*this, pbOpera) {
  OperaVersion = OperaMajorVersion();
  LocalProfileDir = LocalAppDataDir + (ChromiumBased() ? L"\\Opera Software\\Opera Stable\\" : L"\\Opera\\Opera\\");
  if (OperaVersion >= 16) {
    // Opera 16 was the developer channel "Opera Next"; the versions since
    // keep their profile in "Opera Stable".
    ProfileDir = AppDataDir + L"\\Opera Software\\Opera Next\\";
    if (!DirectoryExists(ProfileDir) && DirectoryExists(AppDataDir + L"\\Opera Software\\Opera Stable\\")) {
      ProfileDir = AppDataDir + L"\\Opera Software\\Opera Stable\\";
    } else if (!DirectoryExists(ProfileDir)) {
      ProfileDir = AppDataDir + L"\\Opera\\Opera Next\\";
    }
  } else if (OperaVersion == 15) {
    ProfileDir = AppDataDir + L"\\Opera Software\\Opera Stable\\";
    if (!DirectoryExists(ProfileDir)) ProfileDir = AppDataDir + L"\\Opera\\Opera Stable\\";
  } else {
    ProfileDir = AppDataDir + L"\\Opera\\Opera\\";
  }
  ExtensionsDir = ProfileDir + L"Extensions\\";
}

bool TOperaBrowserCleaner::IsBrowserInstalled() {
  // Opera 15 and later install for the user alone by default, so the user's
  // uninstall entries count as well as the machine's.
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    try {
      TRegistry registry(KEY_READ);
      registry.SetRootKey(root);
      std::vector<std::wstring> names;
      if (!registry.OpenKeyReadOnly(kUninstallKey)) continue;
      registry.GetKeyNames(names);
      for (const std::wstring& name : names) {
        if (FindText(name, L"Opera") == std::wstring::npos) continue;
        // "DisplayIcon" is "\"<program file>\",<index>".
        std::wstring icon;
        if (registry.OpenKeyReadOnly(std::wstring(kUninstallKey) + name)) icon = registry.ReadString(L"DisplayIcon");
        const std::size_t close = icon.find(L'"', 1);
        if (!icon.empty() && icon[0] == L'"' && close != std::wstring::npos && close > 1) {
          const std::wstring program = icon.substr(1, close - 1);
          ProgramDir = program.substr(0, program.size() - FileNamePart(program).size());
        }
        return true;
      }
    } catch (const ERegistryException&) {
      continue;
    }
  }
  return false;
}

void TOperaBrowserCleaner::ScanItems() {
  addons_.Clear();
  if (ChromiumBased()) {
    addons_.Scan(ProfileDir, true, L"");
    return;
  }
  ScanWidgets();
  ScanPrestoPlugins();
}

void TOperaBrowserCleaner::ScanWidgets() {
  const std::wstring widgetFolder = LocalProfileDir + L"widgets\\";
  for (const std::wstring& id : ReadOperaWidgetIds(widgetFolder + L"widgets.dat")) {
    const std::wstring folder = widgetFolder + id + L"\\";
    TOperaWidgetPrefs prefs;
    if (!ReadOperaWidgetPrefs(folder + L"prefs.dat", prefs) || prefs.name.empty()) continue;
    AddItem(pbOpera, pgExtension, id, prefs.name, L"", folder, L"", L"", prefs.enabled, false);
  }
}

void TOperaBrowserCleaner::ScanPrestoPlugins() {
  const std::wstring prefsFile = ProfileDir + L"operaprefs.ini";
  if (!FileExists(prefsFile)) return;
  const std::vector<std::wstring> disabled = ReadDisabledPlugins(prefsFile);
  std::vector<std::wstring> listed;
  for (const TMozilaGeneralPluginItem& registered : MozillaPlugins) {
    if (registered.Is64Bit) continue;
    const TMozilPlugFileInfo file = GetPluginFileInfo(registered.Path, false);
    const auto first = [](const std::wstring& a, const std::wstring& b) { return a.empty() ? b : a; };
    AddItem(pbOpera, pgPlugin, registered.PluginID, first(file.ProductName, registered.Name),
            first(file.Description, registered.Description), registered.Path, first(file.CompanyName, registered.Vendor),
            first(file.Version, registered.Version), !IsPluginDisabled(disabled, registered.Path), false);
    listed.push_back(registered.Path);
  }
  const std::wstring pluginFolder = ProgramDir + L"program\\plugins\\";
  if (ProgramDir.empty() || !DirectoryExists(pluginFolder)) return;
  FindData data;
  FindHandle handle = 0;
  IFileSystem& files = CurrentPlatform().Files();
  if (files.FindFirst(pluginFolder + L"*", &data, &handle) != ERROR_SUCCESS) return;
  TFindListing listing(files, handle);
  do {
    const std::wstring path = pluginFolder + data.name;
    if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithText(data.name, L".dll") ||
        IsPluginDisabled(listed, path))
      continue;
    const TMozilPlugFileInfo file = GetPluginFileInfo(path, false);
    AddItem(pbOpera, pgPlugin, path, file.ProductName, file.Description, path, file.CompanyName, file.Version,
            !IsPluginDisabled(disabled, path), false);
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
}

bool TOperaBrowserCleaner::SwitchItem(TPluginItem& item, bool enabled) {
  if (item.Paths.empty()) return false;
  if (ChromiumBased()) {
    // Reports whether the record was found and switched, not merely whether
    // the profile could be read.
    return (item.Collection.Kind == pgExtension || item.Collection.Kind == pgPlugin) && addons_.Switch(item, enabled);
  }
  if (item.Collection.Kind == pgExtension) return SetOperaWidgetEnabled(item.Paths[0] + L"prefs.dat", enabled);
  if (item.Collection.Kind == pgPlugin) return SetPluginDisabled(ProfileDir + L"operaprefs.ini", item.Paths[0], !enabled);
  return false;
}

bool TOperaBrowserCleaner::RemoveItem(TPluginItem& item) { return !item.Active || SwitchItem(item, false); }

bool TOperaBrowserCleaner::RestoreItem(TPluginItem& item) { return item.Active || SwitchItem(item, true); }

}  // namespace orvix
