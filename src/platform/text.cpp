#include "platform/text.h"

#include <algorithm>
#include <cstdint>

namespace orvix {
namespace {

// Upper case of one UTF-16 unit for the scripts Windows names commonly use:
// Latin, Greek, Cyrillic, Armenian and full-width Latin. Like Windows, no
// mapping ever changes the length of a text.
char32_t Upper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c == 0xB5) return 0x39C;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x138 || c == 0x149) return c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c == 0x3C2) return 0x3A3;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return (c % 2 == 1) ? c - 1 : c;
  if (c >= 0x4C1 && c <= 0x4CE) return (c % 2 == 0) ? c - 1 : c;
  if (c == 0x4CF) return 0x4C0;
  if (c >= 0x561 && c <= 0x586) return c - 48;
  if (c >= 0x1E00 && c <= 0x1EFF && c != 0x1E9E && !(c >= 0x1E96 && c <= 0x1E9F))
    return (c % 2 == 1) ? c - 1 : c;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  return c;
}

char32_t Lower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return 'i';
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return (c % 2 == 0) ? c + 1 : c;
  if (c >= 0x4C1 && c <= 0x4CE) return (c % 2 == 1) ? c + 1 : c;
  if (c == 0x4C0) return 0x4CF;
  if (c >= 0x531 && c <= 0x556) return c + 48;
  if (c >= 0x1E00 && c <= 0x1EFF && c != 0x1E9E && !(c >= 0x1E96 && c <= 0x1E9F))
    return (c % 2 == 0) ? c + 1 : c;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

}  // namespace

wchar_t UpperChar(wchar_t c) { return static_cast<wchar_t>(Upper(static_cast<char32_t>(c))); }
wchar_t LowerChar(wchar_t c) { return static_cast<wchar_t>(Lower(static_cast<char32_t>(c))); }

std::wstring UpperCase(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(), UpperChar);
  return out;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(), LowerChar);
  return out;
}

int CompareText(std::wstring_view a, std::wstring_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t x = UpperChar(a[i]);
    const wchar_t y = UpperChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t FindText(std::wstring_view text, std::wstring_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::wstring_view::npos;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (SameText(text.substr(i, needle.size()), needle)) return i;
  }
  return std::wstring_view::npos;
}

std::wstring Trim(std::wstring_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<std::uint32_t>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<std::uint32_t>(text[end - 1]) <= 32) --end;
  return std::wstring(text.substr(begin, end - begin));
}

}  // namespace orvix
