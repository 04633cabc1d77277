// JSON text as Chromium-based browsers (and Firefox) write it, and as
// Chromium-based browsers authenticate it. The
// Chrome and Opera cleaners write "Preferences" and "Secure Preferences" back
// in the browser's own form (compact, UTF-8 without byte-order mark, "<"
// escaped), and compute the codes with which the browser guards tracked
// preferences over the value's text in its authenticated form (object
// members sorted by name, empty objects and lists inside objects left out).
#pragma once

#include <string>
#include <string_view>

#include "formats/json_tree.h"

namespace orvix {

// The file form: members in the order read, every number as its source text,
// other characters than ASCII as UTF-8. Chromium's writer escapes "<";
// Firefox's (JSON.stringify) does not.
enum class TJsonFileStyle { jfsChromium, jfsFirefox };
std::string BrowserFileJson(const TJsonNode& value, TJsonFileStyle style = TJsonFileStyle::jfsChromium);
// A browser's JSON file as a tree: false when missing, larger than a
// browser's settings file can be, or not JSON. The save replaces the file
// whole through the replace helper, in the browser's own form.
bool LoadBrowserJson(const std::wstring& path, TJsonNode& root);
bool SaveBrowserJson(const std::wstring& path, const TJsonNode& root,
                     TJsonFileStyle style = TJsonFileStyle::jfsChromium);

// The text of an object's string member; empty when the object or the
// member is missing or the member is no string.
std::wstring JsonStringMember(const TJsonNode* object, std::wstring_view name);

// The authenticated form; a missing value (nullptr) is the empty text.
std::string ChromeMacJson(const TJsonNode* value);

// The code a Chromium-based browser stores for the preference at `path`
// ("extensions.settings.<id>"; "" for the code over all codes): HMAC-SHA256
// under the browser's seed over the device id, the path and the value's
// authenticated text, as 64 upper-case hexadecimal digits.
std::string ChromePrefMac(std::string_view seed, std::string_view deviceId, std::string_view path,
                          const TJsonNode* value);

}  // namespace orvix
