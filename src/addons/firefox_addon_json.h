// The add-on database of current Firefox, "extensions.json" in the profile
// (since Firefox 4's "extensions.sqlite" was retired): its list "addons" holds
// one object per add-on with "id", "type", "location", "active",
// "userDisabled", "path", "version" and the names in "defaultLocale". The
// Firefox cleaner lists the extensions and switches them through these.
#pragma once

#include <string>
#include <vector>

namespace orvix {

struct TFirefoxAddon {
  std::wstring id;
  std::wstring name;
  std::wstring description;
  std::wstring creator;
  std::wstring version;
  std::wstring path;  // the add-on's file or folder
  bool active = false;  // "active" and not "userDisabled"
};

// The profile's extensions (type "extension"), leaving out Firefox's own
// (built-in and system locations) and hidden ones; empty when the file is
// missing or is not the database.
std::vector<TFirefoxAddon> ReadFirefoxAddons(const std::wstring& profileDir);

enum class TFirefoxSwitch { tfsDone, tfsNotFound, tfsUnreadable, tfsWriteFailed };

// Off: "userDisabled" true and "active" false; on: "userDisabled" false and
// "active" true unless Firefox itself disabled the add-on. The start-up
// cache is switched with it (see firefox_startup_cache.h). Both files are
// replaced whole in Firefox's own form; when the second cannot be written,
// the first is put back and the switch fails.
TFirefoxSwitch SetFirefoxAddonEnabled(const std::wstring& profileDir, const std::wstring& id, bool enabled);

}  // namespace orvix
