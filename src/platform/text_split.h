// Splitting a text at a separator character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvix {

// Every part between separators, empty ones included: "a\\b\\" gives a, b and
// an empty last part; an empty text gives one empty part.
std::vector<std::wstring> SplitText(std::wstring_view text, wchar_t separator);

}  // namespace orvix
