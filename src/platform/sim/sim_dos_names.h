// Short (8.3) names and listing patterns the way Windows treats them, for the
// simulated file system.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orvix::sim {

// Whether `name` is already a valid 8.3 name (letter case aside, as NTFS
// sees it): such names get no separate short name.
bool IsShortName(std::wstring_view name);

// The short name NTFS generates for a long name: invalid characters dropped
// or turned into "_", upper case, at most six characters and "~1" for the
// base, three for the extension. `taken` answers whether a candidate already
// names an entry of the folder; the number grows to ~4, then the base becomes
// two characters and a checksum of the long name.
std::wstring MakeShortName(std::wstring_view longName, const std::function<bool(const std::wstring&)>& taken);

bool HasWildcards(std::wstring_view text);

// FindFirstFileW's matching of one name against a pattern, ignoring case,
// with the DOS rules: "*.*" matches every name, "*." names without an
// extension, "?" also matches nothing before a dot or at the end, and
// "*.txt" compares against the last extension.
bool MatchesPattern(std::wstring_view pattern, std::wstring_view name);

}  // namespace orvix::sim
