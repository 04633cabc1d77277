#include "online/version_compare.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace orvix {
namespace {

std::vector<std::wstring> SplitParts(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = text.find(L'.', start);
    parts.push_back(Trim(std::wstring_view(text).substr(start, dot - start)));
    if (dot == std::wstring::npos) return parts;
    start = dot + 1;
  }
}

bool IsNumber(const std::wstring& part) {
  if (part.empty()) return false;
  for (wchar_t c : part)
    if (c < L'0' || c > L'9') return false;
  return true;
}

// -1, 0 or 1 as the part of the first text is older, equal or newer.
int ComparePart(const std::wstring& a, const std::wstring& b) {
  const bool numberA = IsNumber(a);
  const bool numberB = IsNumber(b);
  if (numberA != numberB) return numberA ? 1 : -1;
  if (!numberA) {
    const int order = CompareText(a, b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
  }
  // Numbers of any length: without leading zeros, the longer is larger.
  const std::wstring x = a.substr(std::min(a.find_first_not_of(L'0'), a.size()));
  const std::wstring y = b.substr(std::min(b.find_first_not_of(L'0'), b.size()));
  if (x.size() != y.size()) return x.size() > y.size() ? 1 : -1;
  return x == y ? 0 : (x > y ? 1 : -1);
}

}  // namespace

bool IsNewerVersion(const std::wstring& first, const std::wstring& second) {
  if (second.empty()) return true;
  if (first.empty()) return false;
  const std::vector<std::wstring> a = SplitParts(first);
  const std::vector<std::wstring> b = SplitParts(second);
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int order = ComparePart(a[i], b[i]);
    if (order != 0) return order > 0;
  }
  return a.size() > b.size();
}

}  // namespace orvix
