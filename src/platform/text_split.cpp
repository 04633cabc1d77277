#include "platform/text_split.h"

#include <algorithm>

namespace orvix {

std::vector<std::wstring> SplitText(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace orvix
