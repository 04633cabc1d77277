// Paths as browsers write them into their files ("/" between names,
// doubled backslashes, relative to a profile), made into the Windows paths
// the cleaners look at. Used by the Chrome, Firefox and Opera cleaners.
#pragma once

#include <string>
#include <string_view>

namespace orvix {

// Every "/" and every doubled backslash made one backslash (a leading "\\"
// of a network path stays).
std::wstring SingleBackslashPath(std::wstring path);
std::wstring WithTrailingBackslash(std::wstring path);
// "C:\...", "\\server\..." or "\...": not relative to some folder.
bool IsRootedPath(std::wstring_view path);

}  // namespace orvix
