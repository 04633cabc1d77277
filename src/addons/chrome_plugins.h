// The plug-in list of a Chromium-based profile of the plug-in era:
// "plugins.plugins_list" in "Preferences", objects with "path", "version",
// "name" and "enabled". The Chrome and Opera cleaners list plug-ins from it
// and switch them there. (Browsers since 2015 keep no such list; for them
// the list is empty and nothing is switched.)
#pragma once

#include <string>
#include <vector>

namespace orvix {

struct TChromePluginEntry {
  std::wstring path;  // "/" and doubled backslashes made single backslashes
  std::wstring name;
  std::wstring version;
  bool enabled = false;  // "enabled" is true (or the text "true")
};

// The elements of the list with a path, in list order; empty when the file
// or the list is missing.
std::vector<TChromePluginEntry> ReadChromePlugins(const std::wstring& preferencesFile);

// Sets "enabled" of the element with this path (ignoring case), name and
// version (both ignoring case, "," read as "."), and of every element that
// has only a name and it is this one; adds such elements where there are
// none, so that the browser finds the state whichever way it looks the
// plug-in up. Writes the file back in the browser's own form. False when
// the file is missing or not a JSON object, or could not be replaced.
bool SetChromePluginEnabled(const std::wstring& preferencesFile, const std::wstring& path, const std::wstring& name,
                            const std::wstring& version, bool enabled);

}  // namespace orvix
