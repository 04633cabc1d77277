// The cleaner of Firefox: the profile Firefox starts with (see
// mozilla_profiles.h), its extensions from "extensions.json" (current
// Firefox) or, in profiles of the older generation, "extensions.sqlite" with
// "extensions.ini", and its plug-ins from "pluginreg.dat". Removal switches
// an add-on off in those files; nothing is deleted. The add-on page and the
// console's "addons" command drive it.
#pragma once

#include <string>

#include "addons/custom_browser_cleaner.h"

namespace orvix {

class TFFBrowserCleaner : public TCustomBrowserCleaner {
 public:
  TFFBrowserCleaner();

  TPluginBrowsr Browser() const override { return pbFireFox; }
  // A profile was found.
  bool IsBrowserInstalled() override;
  void ScanItems() override;
  bool RemoveItem(TPluginItem& item) override;
  bool RestoreItem(TPluginItem& item) override;

  std::wstring ProfileDir;  // with a trailing backslash; empty without a profile

 private:
  void ScanExtensions();
  void ScanDatabaseExtensions(const std::wstring& database);
  void ScanPlugins();
  bool SwitchItem(const TPluginItem& item, bool enabled);
  bool SetDatabaseExtensionEnabled(const std::wstring& id, const std::wstring& folder, bool enabled);
};

}  // namespace orvix
