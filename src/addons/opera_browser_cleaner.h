// The cleaner of Opera, in both of its generations: up to version 14 its own
// engine keeps widgets (its extensions) in the widget folder and switched-off
// plug-ins in "operaprefs.ini"; from version 15 on it is Chromium-based and
// its profile is read and switched exactly like Chrome's. The installed major
// version picks the generation. The add-on page and the console's "addons"
// command drive it.
#pragma once

#include <string>

#include "addons/chrome_profile_addons.h"
#include "addons/custom_browser_cleaner.h"

namespace orvix {

class TOperaBrowserCleaner : public TCustomBrowserCleaner {
 public:
  TOperaBrowserCleaner();

  TPluginBrowsr Browser() const override { return pbOpera; }
  // An uninstall entry whose name holds "Opera" (the machine's, then the
  // user's); its "DisplayIcon" gives ProgramDir.
  bool IsBrowserInstalled() override;
  void ScanItems() override;
  bool RemoveItem(TPluginItem& item) override;
  bool RestoreItem(TPluginItem& item) override;
  TSwitchProblem LastProblem() const { return addons_.LastProblem(); }
  std::wstring LastSwitchProblem() const override { return SwitchProblemText(addons_.LastProblem()); }

  int OperaVersion = -1;
  std::wstring LocalProfileDir;
  std::wstring ProfileDir;
  std::wstring ProgramDir;
  std::wstring ExtensionsDir;

 private:
  bool ChromiumBased() const { return OperaVersion >= 15; }
  void ScanWidgets();
  void ScanPrestoPlugins();
  bool SwitchItem(TPluginItem& item, bool enabled);

  TChromiumProfileAddons addons_;
};

}  // namespace orvix
