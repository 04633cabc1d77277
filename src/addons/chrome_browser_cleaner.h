// The cleaner of Chrome and of the browsers that keep their profiles in
// Chrome's format under the local application data: Chromium, Microsoft
// Edge, Brave and Vivaldi. Their "Preferences" and "Secure Preferences" are
// the same files with the same records (Opera 15 and later is too, but has
// a cleaner of its own). The "Default" profile of each is read; an add-on
// found in several of them is one entry, switched in all of them. The
// add-on page and the console's "addons" command drive it.
#pragma once

#include <string>
#include <vector>

#include "addons/chrome_profile_addons.h"
#include "addons/custom_browser_cleaner.h"

namespace orvix {

struct TChromiumBrowser {
  const wchar_t* name;
  const wchar_t* userDataDir;  // below the local application data
  const wchar_t* executable;
};
// Chrome first: its plug-in folder and the plug-in registry list belong to it.
extern const TChromiumBrowser kChromiumBrowsers[5];

class TChromeBrowserCleaner : public TCustomBrowserCleaner {
 public:
  TChromeBrowserCleaner();

  TPluginBrowsr Browser() const override { return pbChrome; }
  // A profile of one of the browsers exists.
  bool IsBrowserInstalled() override;
  void ScanItems() override;
  bool RemoveItem(TPluginItem& item) override;
  bool RestoreItem(TPluginItem& item) override;

  // The "Default" profile folders that exist, with trailing backslashes, in
  // the order of kChromiumBrowsers.
  std::vector<std::wstring> ProfileDirs() const;
  // The executables of the browsers whose profile exists.
  std::vector<std::wstring> RunningCheckExecutables() const override;
  TSwitchProblem LastProblem() const { return addons_.LastProblem(); }
  std::wstring LastSwitchProblem() const override { return SwitchProblemText(addons_.LastProblem()); }

  std::wstring ProfileDir;     // Chrome's own "Default" profile folder
  std::wstring ExtensionsDir;  // its "Extensions\" folder

 private:
  TChromiumProfileAddons addons_;
};

}  // namespace orvix
