#include "addons/browser_paths.h"

#include <algorithm>

namespace orvix {

std::wstring SingleBackslashPath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  for (std::size_t at = path.find(L"\\\\", 1); at != std::wstring::npos; at = path.find(L"\\\\", at)) path.erase(at, 1);
  return path;
}

std::wstring WithTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

bool IsRootedPath(std::wstring_view path) {
  return (path.size() >= 2 && path[1] == L':') || (!path.empty() && path[0] == L'\\');
}

}  // namespace orvix
