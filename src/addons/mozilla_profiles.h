// Which profile Firefox starts with, read from "profiles.ini" in Firefox's
// folder under the roaming application data. The Firefox cleaner and the
// Firefox defaults restorer use it.
//
// Firefox keeps one "[ProfileN]" section per profile ("Path" relative to the
// folder when "IsRelative" is 1, else absolute; "/" or "\" between names).
// Since Firefox 67 each installation names the profile it starts with in an
// "[Install...]" section ("Default=" its path); older versions mark their
// default profile with "Default=1". So the profile is chosen in that order:
// an installation's profile, then the one marked default, then "Profile0",
// then the other profiles in file order; the first whose folder exists wins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvix {

// The profile folders the text names, each with a trailing backslash, in the
// order described above (duplicates removed). `mozillaDir` is the folder
// holding profiles.ini, with a trailing backslash.
std::vector<std::wstring> MozillaProfileCandidates(std::wstring_view iniText, const std::wstring& mozillaDir);

// The first candidate folder that exists; empty when profiles.ini is missing
// or names no existing folder.
std::wstring FindMozillaProfile(const std::wstring& mozillaDir);

}  // namespace orvix
