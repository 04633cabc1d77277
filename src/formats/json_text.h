// Writing a JSON tree back as text. WriteJsonText is the indented layout in
// which the add-on cleaners and the defaults restorers write browser
// preference files; WriteJsonCompact is the same tree in one line of plain
// ASCII, for files a browser itself keeps compact.
#pragma once

#include <string>

#include "formats/json_tree.h"

namespace orvix {

// Objects open a line per member, indented two spaces a level, members
// joined by "," and CR LF; lists stay on one line as "[ a, b ]"; strings
// escape '<', '>', '[', ']' and everything outside printable ASCII as
// "\u" with four lower-case hex digits; numbers are written as read.
std::wstring WriteJsonText(const TJsonNode& node);

// No blanks between tokens; every character above 127 as "\u" escapes
// (a pair of them beyond the first 65536 code points).
std::wstring WriteJsonCompact(const TJsonNode& node);

// Two spaces repeated `level` times.
std::wstring Indent(int level);

}  // namespace orvix
