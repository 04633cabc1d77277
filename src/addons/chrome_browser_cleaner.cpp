#include "addons/chrome_browser_cleaner.h"

#include <algorithm>

#include "platform/file_helpers.h"

namespace orvix {

const TChromiumBrowser kChromiumBrowsers[5] = {
    {L"Chrome", L"\\Google\\Chrome\\User Data\\", L"chrome.exe"},
    {L"Chromium", L"\\Chromium\\User Data\\", L"chrome.exe"},
    {L"Edge", L"\\Microsoft\\Edge\\User Data\\", L"msedge.exe"},
    {L"Brave", L"\\BraveSoftware\\Brave-Browser\\User Data\\", L"brave.exe"},
    {L"Vivaldi", L"\\Vivaldi\\User Data\\", L"vivaldi.exe"},
};

TChromeBrowserCleaner::TChromeBrowserCleaner() : addons_(*this, pbChrome) {
  ProfileDir = LocalAppDataDir + kChromiumBrowsers[0].userDataDir + L"Default\\";
  ExtensionsDir = ProfileDir + L"Extensions\\";
}

std::vector<std::wstring> TChromeBrowserCleaner::ProfileDirs() const {
  std::vector<std::wstring> dirs;
  if (LocalAppDataDir.empty()) return dirs;
  for (const TChromiumBrowser& browser : kChromiumBrowsers) {
    const std::wstring dir = LocalAppDataDir + browser.userDataDir + L"Default\\";
    if (FileExists(dir + L"Preferences")) dirs.push_back(dir);
  }
  return dirs;
}

std::vector<std::wstring> TChromeBrowserCleaner::RunningCheckExecutables() const {
  std::vector<std::wstring> names;
  for (const TChromiumBrowser& browser : kChromiumBrowsers) {
    if (LocalAppDataDir.empty() || !FileExists(LocalAppDataDir + browser.userDataDir + L"Default\\Preferences")) continue;
    if (std::find(names.begin(), names.end(), browser.executable) == names.end()) names.push_back(browser.executable);
  }
  return names;
}

bool TChromeBrowserCleaner::IsBrowserInstalled() { return !ProfileDirs().empty(); }

void TChromeBrowserCleaner::ScanItems() {
  addons_.Clear();
  const std::wstring chromePluginFolder = LocalAppDataDir + L"\\Google\\Chrome\\Application\\plugins\\";
  for (const std::wstring& profile : ProfileDirs()) {
    const bool chrome = profile == ProfileDir;
    addons_.Scan(profile, chrome, chrome ? chromePluginFolder : L"");
  }
}

bool TChromeBrowserCleaner::RemoveItem(TPluginItem& item) {
  if (!item.Active) return true;
  if (item.Collection.Kind != pgExtension && item.Collection.Kind != pgPlugin) return false;
  return addons_.Switch(item, false);
}

bool TChromeBrowserCleaner::RestoreItem(TPluginItem& item) {
  if (item.Active) return true;
  if (item.Collection.Kind != pgExtension && item.Collection.Kind != pgPlugin) return false;
  return addons_.Switch(item, true);
}

}  // namespace orvix
