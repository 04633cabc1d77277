#include "uninstall/maker_keys.h"

#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "platform/text_split.h"
#include "uninstall/com_areas.h"
#include "uninstall/product_table.h"

namespace orvix {
namespace {

constexpr std::wstring_view kMakerKey = L"\\software\\orvix\\";

// The non-blank elements of a key path, trimmed.
std::vector<std::wstring> PathElements(const std::wstring& path) {
  std::vector<std::wstring> elements;
  for (const std::wstring& part : SplitText(path, L'\\')) {
    std::wstring element = Trim(part);
    if (!element.empty()) elements.push_back(std::move(element));
  }
  return elements;
}

// A root name and a key path below it; false when the element begins with
// no root name. The root must lead: a root name further in is part of a key
// name.
bool SplitElement(const std::wstring& element, HKEY& root, std::wstring& path) {
  std::wstring rootName;
  if (!SplitKeyText(element, rootName, path)) return false;
  root = RootKeyFromName(rootName);
  return true;
}

}  // namespace

bool IsSharedRegistryKey(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> elements = PathElements(path);
  if (root == HKEY_USERS && !elements.empty()) elements.erase(elements.begin());  // the user's SID
  if (elements.empty()) return true;
  if (root == HKEY_CLASSES_ROOT) return elements.size() == 1 && !IsOwnClassName(elements[0]);
  if (elements.size() == 1) return true;
  if (SameText(elements[0], L"SOFTWARE")) {
    if (SameText(elements[1], L"Wow6432Node")) elements.erase(elements.begin() + 1);
    if (elements.size() <= 2) return true;
    return SameText(elements[1], L"Classes") && elements.size() == 3 && !IsOwnClassName(elements[2]);
  }
  if (SameText(elements[0], L"SYSTEM")) return elements.size() <= 3;
  return false;
}

std::vector<TMakerKey> MakerRegistryKeys(const std::wstring& regList) {
  std::vector<TMakerKey> keys;
  for (const std::wstring& element : SplitProductList(regList)) {
    TMakerKey key;
    if (!SplitElement(element, key.Root, key.Path) || IsSharedRegistryKey(key.Root, key.Path)) continue;
    bool seen = false;
    for (const TMakerKey& earlier : keys) seen = seen || (earlier.Root == key.Root && SameText(earlier.Path, key.Path));
    if (!seen) keys.push_back(std::move(key));
  }
  return keys;
}

std::wstring MakerProductSubKey(const std::wstring& regList) {
  for (const std::wstring& element : SplitProductList(regList)) {
    HKEY root = 0;
    std::wstring path;
    if (!SplitElement(element, root, path) || root != HKEY_LOCAL_MACHINE) continue;
    path = LowerCase(path);
    if (!path.starts_with(kMakerKey)) continue;
    const std::vector<std::wstring> below = PathElements(path.substr(kMakerKey.size()));
    if (!below.empty()) return below.front();
  }
  return {};
}

}  // namespace orvix
