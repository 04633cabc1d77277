#include "platform/registry_views.h"

#include <array>

#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::array<std::wstring_view, 5> kRedirectedClasses = {L"CLSID", L"DirectShow", L"Interface", L"Media Type",
                                                                 L"MediaFoundation"};

std::wstring_view FirstElement(std::wstring_view path) { return path.substr(0, path.find(L'\\')); }

std::wstring_view WithoutLeadingBackslashes(std::wstring_view path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  return start == std::wstring_view::npos ? std::wstring_view{} : path.substr(start);
}

// The path below the classes key of a root into `rest`; false when the path
// is outside the classes.
bool BelowClasses(HKEY root, std::wstring_view path, std::wstring_view& rest) {
  path = WithoutLeadingBackslashes(path);
  if (root == HKEY_CLASSES_ROOT) {
    rest = path;
    return true;
  }
  if (root != HKEY_LOCAL_MACHINE && root != HKEY_CURRENT_USER) return false;
  if (!SameText(FirstElement(path), L"Software")) return false;
  path = WithoutLeadingBackslashes(path.substr(FirstElement(path).size()));
  if (!SameText(FirstElement(path), L"Classes")) return false;
  rest = WithoutLeadingBackslashes(path.substr(FirstElement(path).size()));
  return true;
}

}  // namespace

bool IsRedirectedClass(std::wstring_view name) {
  for (std::wstring_view redirected : kRedirectedClasses) {
    if (SameText(name, redirected)) return true;
  }
  return false;
}

ClassKeyKind ClassKeyKindOf(HKEY root, std::wstring_view path) {
  std::wstring_view rest;
  if (!BelowClasses(root, path, rest)) return ClassKeyKind::NotAClass;
  const std::wstring_view first = FirstElement(rest);
  return IsRedirectedClass(first) || SameText(first, L"Wow6432Node") ? ClassKeyKind::Redirected
                                                                      : ClassKeyKind::Shared;
}

REGSAM ProcessViewAccess(REGSAM access, bool process64) {
  return process64 && (access & KEY_WOW64_RES) == 0 ? access | KEY_WOW64_32KEY : access;
}

}  // namespace orvix
