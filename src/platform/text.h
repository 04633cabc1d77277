// The one place for letter case and trimming. Case rules are Windows' own
// simple upper-casing, the same in every build, so that comparisons of
// registry and file names agree with the system's.
#pragma once

#include <string>
#include <string_view>

namespace orvix {

wchar_t UpperChar(wchar_t c);
wchar_t LowerChar(wchar_t c);
std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);

bool SameText(std::wstring_view a, std::wstring_view b);
// Negative, zero or positive like wcscmp, on the upper-cased texts.
int CompareText(std::wstring_view a, std::wstring_view b);
bool StartsWithText(std::wstring_view text, std::wstring_view prefix);
bool EndsWithText(std::wstring_view text, std::wstring_view suffix);
// Position of needle in text ignoring case, or npos.
std::size_t FindText(std::wstring_view text, std::wstring_view needle, std::size_t from = 0);

// Removes spaces and control characters (code <= 32) at both ends, as Trim does.
std::wstring Trim(std::wstring_view text);

// Ordering for containers keyed by names that ignore case.
struct TextLess {
  using is_transparent = void;
  bool operator()(std::wstring_view a, std::wstring_view b) const { return CompareText(a, b) < 0; }
};

}  // namespace orvix
