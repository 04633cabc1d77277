// A text cut into lines that keep their own line breaks, so that a text
// edited line by line is joined back with every break as it was. The INI
// text and the browser cleaners' line-based files use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvix {

struct TTextLine {
  std::wstring text;    // without the line break
  std::wstring ending;  // "\r\n", "\n", "\r" or empty for a last line without one
};

std::vector<TTextLine> SplitTextLines(std::wstring_view text);
std::wstring JoinTextLines(const std::vector<TTextLine>& lines);

}  // namespace orvix
