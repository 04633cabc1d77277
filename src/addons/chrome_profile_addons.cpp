#include "addons/chrome_profile_addons.h"

#include <algorithm>

#include "addons/browser_folders.h"
#include "addons/browser_paths.h"
#include "addons/chrome_extensions.h"
#include "addons/chrome_plugins.h"
#include "addons/plugin_file_info.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Chrome's built-in remote desktop viewer is listed although no file of
// that name exists.
constexpr wchar_t kRemotingViewer[] = L"internal-remoting-viewer";

bool Contains(const std::vector<std::wstring>& list, const std::wstring& text) {
  return std::any_of(list.begin(), list.end(), [&text](const std::wstring& item) { return SameText(item, text); });
}

std::wstring FileNamePart(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

const std::wstring& FirstOf(const std::wstring& a, const std::wstring& b) { return !a.empty() ? a : b; }

}  // namespace

std::wstring SwitchProblemText(TSwitchProblem problem) {
  switch (problem) {
    case TSwitchProblem::tspNone: return {};
    case TSwitchProblem::tspNotFound: return L"the browser's settings no longer list this add-on.";
    case TSwitchProblem::tspProtected:
      return L"the browser guards this add-on's settings on this system and would undo a change made from outside; "
             L"switch it off on the browser's extensions page.";
    case TSwitchProblem::tspUnreadable: return L"the browser's settings file could not be read.";
    case TSwitchProblem::tspWriteFailed: return L"the browser's settings file could not be written.";
  }
  return {};
}

TChromiumProfileAddons::TChromiumProfileAddons(TCustomBrowserCleaner& cleaner, TPluginBrowsr browser)
    : cleaner_(cleaner), browser_(browser) {}

void TChromiumProfileAddons::Clear() {
  origins_.clear();
  extensionPluginFiles_.clear();
}

void TChromiumProfileAddons::Add(const std::wstring& profileDir, std::uint8_t group, const std::wstring& itemId,
                                 const std::wstring& name, const std::wstring& description,
                                 const std::wstring& location, const std::wstring& publisher,
                                 const std::wstring& version, bool active) {
  origins_.push_back({location, profileDir, itemId});
  cleaner_.AddItem(browser_, group, itemId, name, description, location, publisher, version, active, false);
}

void TChromiumProfileAddons::Scan(const std::wstring& profileDir, bool withRegistryPlugins,
                                  const std::wstring& pluginFolder) {
  ScanExtensions(profileDir);
  ScanPlugins(profileDir, withRegistryPlugins, pluginFolder);
}

void TChromiumProfileAddons::ScanExtensions(const std::wstring& profileDir) {
  extensionPluginFiles_.clear();
  for (const TChromeExtension& extension : ReadChromeExtensions(profileDir)) {
    Add(profileDir, pgExtension, extension.id, extension.name, extension.description, extension.folder, L"",
        extension.version, extension.active);
    if (!extension.active) continue;
    for (const std::wstring& file : extension.pluginFiles) {
      if (FileExists(file) && !Contains(extensionPluginFiles_, file)) extensionPluginFiles_.push_back(file);
    }
  }
}

void TChromiumProfileAddons::ScanPlugins(const std::wstring& profileDir, bool withRegistryPlugins,
                                         const std::wstring& pluginFolder) {
  std::vector<std::wstring> listed;
  std::vector<std::wstring> disabled;  // plug-in files of extensions the browser switched off
  for (const TChromePluginEntry& entry : ReadChromePlugins(profileDir + L"Preferences")) {
    if (!SameText(entry.path, kRemotingViewer) && !FileExists(entry.path)) continue;
    if (Contains(extensionPluginFiles_, entry.path) && !entry.enabled) {
      disabled.push_back(entry.path);
      std::erase_if(extensionPluginFiles_, [&entry](const std::wstring& f) { return SameText(f, entry.path); });
      continue;
    }
    const TMozilaGeneralPluginItem registered = cleaner_.FindMozillaPlugin(entry.path);
    const TMozilPlugFileInfo file = GetPluginFileInfo(entry.path, false);
    Add(profileDir, pgPlugin, entry.name, entry.name, FirstOf(file.Description, registered.Description), entry.path,
        FirstOf(file.CompanyName, registered.Vendor), FirstOf(entry.version, FirstOf(file.Version, registered.Version)),
        entry.enabled);
    if (!Contains(listed, entry.path)) listed.push_back(entry.path);
  }
  for (const std::wstring& path : extensionPluginFiles_) {
    if (Contains(listed, path)) continue;
    const TMozilPlugFileInfo file = GetPluginFileInfo(path, false);
    if (file.ProductName.empty()) continue;
    Add(profileDir, pgPlugin, path, file.ProductName, file.Description, path, file.CompanyName, file.Version, true);
    listed.push_back(path);
  }
  if (withRegistryPlugins) {
    for (const TMozilaGeneralPluginItem& registered : cleaner_.MozillaPlugins) {
      if (registered.Is64Bit) continue;
      const std::wstring path = SingleBackslashPath(registered.Path);
      const bool sameName = std::any_of(listed.begin(), listed.end(), [&path](const std::wstring& known) {
        return SameText(FileNamePart(known), FileNamePart(path));
      });
      if (Contains(listed, path) || !FileExists(path) || sameName) continue;
      const TMozilPlugFileInfo file = GetPluginFileInfo(registered.Path, false);
      Add(profileDir, pgPlugin, registered.PluginID, file.ProductName, FirstOf(file.Description, registered.Description),
          registered.Path, FirstOf(file.CompanyName, registered.Vendor), FirstOf(file.Version, registered.Version),
          true);
      listed.push_back(registered.Path);
    }
  }
  if (pluginFolder.empty() || !DirectoryExists(pluginFolder)) return;
  std::vector<std::wstring> files;
  ListFilesInTree(pluginFolder, files);
  for (const std::wstring& path : files) {
    if (!FileExists(path) || !EndsWithText(path, L".dll") || Contains(listed, path) || Contains(disabled, path))
      continue;
    const TMozilPlugFileInfo file = GetPluginFileInfo(path, false);
    Add(profileDir, pgPlugin, path, FirstOf(file.ProductName, FileNamePart(path)), file.Description, path,
        file.CompanyName, file.Version, true);
  }
}

bool TChromiumProfileAddons::Switch(const TPluginItem& item, bool enabled) {
  lastProblem_ = TSwitchProblem::tspNone;
  bool any = false;
  for (const std::wstring& location : item.Paths) {
    for (const Origin& origin : origins_) {
      if (!SameText(origin.location, location)) continue;
      any = true;
      if (item.Collection.Kind == pgPlugin) {
        if (!SetChromePluginEnabled(origin.profileDir + L"Preferences", location, item.Caption, item.Version, enabled))
          lastProblem_ = TSwitchProblem::tspWriteFailed;
        continue;
      }
      switch (SetChromeExtensionEnabled(origin.profileDir, origin.itemId, enabled)) {
        case TChromeSwitch::tcsDone: break;
        case TChromeSwitch::tcsNotFound: lastProblem_ = TSwitchProblem::tspNotFound; break;
        case TChromeSwitch::tcsProtected: lastProblem_ = TSwitchProblem::tspProtected; break;
        case TChromeSwitch::tcsUnreadable: lastProblem_ = TSwitchProblem::tspUnreadable; break;
        case TChromeSwitch::tcsWriteFailed: lastProblem_ = TSwitchProblem::tspWriteFailed; break;
      }
    }
  }
  if (!any) lastProblem_ = TSwitchProblem::tspNotFound;
  return lastProblem_ == TSwitchProblem::tspNone;
}

}  // namespace orvix
