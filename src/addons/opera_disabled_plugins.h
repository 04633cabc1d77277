// Opera 12's list of switched-off plug-ins: the value "Disabled Plugins" of
// section "User Prefs" in "operaprefs.ini", the plug-ins' paths each
// followed by ";". Paths may hold blanks; they are compared ignoring case.
// The Opera cleaner reads and changes the list through these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvix {

// The non-empty paths of the list, trimmed, in order.
std::vector<std::wstring> SplitDisabledPlugins(std::wstring_view value);
bool IsPluginDisabled(const std::vector<std::wstring>& list, std::wstring_view path);
// Every path followed by ";".
std::wstring JoinDisabledPlugins(const std::vector<std::wstring>& list);

// The list of the file; empty when the file or the value is missing.
std::vector<std::wstring> ReadDisabledPlugins(const std::wstring& operaPrefs);
// Adds the path to the list (off) or takes every copy of it out (on), and
// writes the file back in its own encoding when that changed anything. True
// when the file says what was asked; false when the file is missing or could
// not be read or replaced.
bool SetPluginDisabled(const std::wstring& operaPrefs, const std::wstring& path, bool disabled);

}  // namespace orvix
