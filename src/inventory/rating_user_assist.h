// Program starts as Windows records them per user in the UserAssist keys:
// value names are ROT13-coded paths (with a known-folder id in braces, a
// shortcut, or a "UEME_" kind prefix), value data holds the time of the
// last start.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/text_codec.h"
#include "platform/date_time.h"

namespace orvix {

// Which UserAssist layout this Windows writes: 0 "Windows NT", 1 "Windows
// 2000", 2 "Windows XP", 3 "Windows 2003 Server", 4 "Windows Vista" share
// the older one; 5, any other name, is Windows 7's and later.
inline constexpr int kOsKindNewer = 5;
int UserAssistOsKind();

// The two Count keys under HKEY_CURRENT_USER of a layout.
std::vector<std::wstring> UserAssistKeys(int osKind);

// Letters A-Z and a-z rotated by 13 places; everything else unchanged.
std::wstring Rot13(std::wstring_view text);

// The last start in one value's data (the FILETIME at offset 60 in the
// newer layout, 8 in the older one) as a local date-time of two-second
// resolution; nothing when the data is too short or the time has no DOS
// date (before 1980 or after 2107, zero included).
std::optional<TDateTime> UserAssistLastStart(const Bytes& data, int osKind);

// The folder of the program a decoded value name names, with a trailing
// backslash: a braced known-folder id becomes its path, a shortcut its
// target, and the "UEME_" prefixes go. Empty when the name names no folder
// (an unknown id, a shortcut without target, a bare command).
std::wstring UserAssistFolder(std::wstring name);

struct TUserAssistStart {
  std::wstring Folder;
  TDateTime LastStart = 0;
};

// Every usable value of both keys, in key and enumeration order.
std::vector<TUserAssistStart> ReadUserAssist(int osKind);

}  // namespace orvix
