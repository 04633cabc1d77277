// The extensions of one profile of a Chromium-based browser (Chrome and the
// browsers that share its profile format, Opera 15 and later among them),
// read from the profile's "Preferences" and "Secure Preferences" and switched
// off and on there. The Chrome and Opera cleaners use these.
//
// Each extension is a record below "extensions.settings", named by its id.
// Browsers of the older generation mark a switched-on record with "state" 1;
// current ones write no "state" and keep a list "disable_reasons" (empty
// while the extension is on; 1 is the user's own switch-off), and some
// versions in between keep both, the reasons as a bit mask.
//
// Where the browser enforces the integrity of its settings (on Windows) it
// keeps the records in "Secure Preferences", each guarded by a code over its
// text, and drops a record whose code does not match on its next start. A
// record there is switched only when this program can write the codes the
// browser will accept; otherwise the switch answers tcsProtected and writes
// nothing, rather than a change the browser would undo.
#pragma once

#include <string>
#include <vector>

#include "formats/json_tree.h"

namespace orvix {

struct TChromeExtension {
  std::wstring id;
  std::wstring name;  // from the stored manifest, or the folder's manifest.json (messages resolved)
  std::wstring description;
  std::wstring version;
  std::wstring folder;  // the extension's folder, with a trailing backslash
  bool active = false;
  bool inSecurePreferences = false;
  std::vector<std::wstring> pluginFiles;  // the manifest's "plugins" paths below the folder
};

// The extensions of the profile folder (with a trailing backslash) whose
// folder exists, in the order the files list them (the records of "Secure
// Preferences" take the place of those of "Preferences" with the same id).
// Records marked "ack_blacklist" and the browser's own component extensions
// are left out. Empty when "Preferences" is missing or not a JSON object.
std::vector<TChromeExtension> ReadChromeExtensions(const std::wstring& profileDir);

enum class TChromeSwitch {
  tcsDone,         // the file says so now (also when it did already)
  tcsNotFound,     // no record of that id
  tcsProtected,    // the browser guards the record with codes this program cannot write
  tcsUnreadable,   // "Preferences" is missing or not a JSON object
  tcsWriteFailed,  // the file could not be replaced; it is as it was
};

// Switches the extension off (the user's reason added, "state" 0) or on (the
// user's reason taken away; "state" 1 where the record keeps one), the id
// compared ignoring case, and writes the file back whole in the browser's
// own form.
TChromeSwitch SetChromeExtensionEnabled(const std::wstring& profileDir, const std::wstring& id, bool enabled);

// Whether a record counts as switched on (see above).
bool ChromeRecordActive(const TJsonNode& record);
// Changes a record as SetChromeExtensionEnabled does, in memory.
void SwitchChromeRecord(TJsonNode& record, bool enabled);

}  // namespace orvix
