// The add-ons of Chromium-based profiles, listed into a cleaner and switched
// there: what the Chrome cleaner does for Chrome and the browsers that share
// its profile format, and the Opera cleaner for Opera 15 and later.
//
// Each listed location remembers the profile and the id it came from, so
// that an entry the cleaner merged from two profiles (one extension in two
// browsers) is switched in both.
#pragma once

#include <string>
#include <vector>

#include "addons/custom_browser_cleaner.h"

namespace orvix {

// Why the last switch failed, for the messages of the console and the
// add-on page.
enum class TSwitchProblem {
  tspNone,
  tspNotFound,   // the browser's files no longer list the add-on
  tspProtected,  // the browser guards its record with codes this program cannot write
  tspUnreadable,
  tspWriteFailed,
};

// The sentence that explains a failed switch; empty for tspNone.
std::wstring SwitchProblemText(TSwitchProblem problem);

class TChromiumProfileAddons {
 public:
  TChromiumProfileAddons(TCustomBrowserCleaner& cleaner, TPluginBrowsr browser);

  // Forgets what earlier scans remembered.
  void Clear();
  // Lists the profile's extensions, then its plug-ins: those of the
  // profile's plug-in list, those shipped inside extensions that are on,
  // and, when `withRegistryPlugins`, those of the Mozilla plug-in registry
  // list; then the DLLs below `pluginFolder` when it is not empty.
  void Scan(const std::wstring& profileDir, bool withRegistryPlugins, const std::wstring& pluginFolder);
  // Switches the entry in every profile it was found in; true when all of
  // them say so now.
  bool Switch(const TPluginItem& item, bool enabled);
  TSwitchProblem LastProblem() const { return lastProblem_; }

 private:
  struct Origin {
    std::wstring location;
    std::wstring profileDir;
    std::wstring itemId;
  };
  void ScanExtensions(const std::wstring& profileDir);
  void ScanPlugins(const std::wstring& profileDir, bool withRegistryPlugins, const std::wstring& pluginFolder);
  void Add(const std::wstring& profileDir, std::uint8_t group, const std::wstring& itemId, const std::wstring& name,
           const std::wstring& description, const std::wstring& location, const std::wstring& publisher,
           const std::wstring& version, bool active);

  TCustomBrowserCleaner& cleaner_;
  TPluginBrowsr browser_;
  std::vector<Origin> origins_;
  std::vector<std::wstring> extensionPluginFiles_;  // plug-in files inside extensions that are on
  TSwitchProblem lastProblem_ = TSwitchProblem::tspNone;
};

}  // namespace orvix
