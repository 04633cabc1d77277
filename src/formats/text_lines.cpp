#include "formats/text_lines.h"

namespace orvix {

std::vector<TTextLine> SplitTextLines(std::wstring_view text) {
  std::vector<TTextLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
    std::size_t next = end;
    if (next < text.size()) next += (text[next] == L'\r' && next + 1 < text.size() && text[next + 1] == L'\n') ? 2 : 1;
    lines.push_back({std::wstring(text.substr(start, end - start)), std::wstring(text.substr(end, next - end))});
    start = next;
  }
  return lines;
}

std::wstring JoinTextLines(const std::vector<TTextLine>& lines) {
  std::wstring text;
  for (const TTextLine& line : lines) text += line.text + line.ending;
  return text;
}

}  // namespace orvix
