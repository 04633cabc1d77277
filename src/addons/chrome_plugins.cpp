#include "addons/chrome_plugins.h"

#include <algorithm>

#include "addons/browser_paths.h"
#include "addons/chrome_json_text.h"
#include "formats/json_tree.h"
#include "platform/text.h"

namespace orvix {
namespace {

std::wstring Member(const TJsonNode& object, std::wstring_view name) {
  const TJsonNode* member = object.Find(name);
  if (member == nullptr) return {};
  if (member->IsBool()) return member->BoolValue() ? L"true" : L"false";
  return member->Text();
}

std::wstring DotVersion(std::wstring version) {
  std::replace(version.begin(), version.end(), L',', L'.');
  return version;
}

}  // namespace

std::vector<TChromePluginEntry> ReadChromePlugins(const std::wstring& preferencesFile) {
  std::vector<TChromePluginEntry> entries;
  TJsonNode root;
  if (!LoadBrowserJson(preferencesFile, root)) return entries;
  const TJsonNode* list = root.FindPath({L"plugins", L"plugins_list"});
  if (list == nullptr) return entries;
  for (const TJsonNode& element : list->Elements()) {
    TChromePluginEntry entry;
    entry.path = SingleBackslashPath(Member(element, L"path"));
    if (entry.path.empty()) continue;
    entry.name = Member(element, L"name");
    entry.version = Member(element, L"version");
    entry.enabled = SameText(Member(element, L"enabled"), L"true");
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool SetChromePluginEnabled(const std::wstring& preferencesFile, const std::wstring& path, const std::wstring& name,
                            const std::wstring& version, bool enabled) {
  TJsonNode root;
  if (!LoadBrowserJson(preferencesFile, root) || !root.IsObject()) return false;
  TJsonNode* plugins = root.Find(L"plugins");
  if (plugins == nullptr || !plugins->IsObject()) plugins = &root.Set(L"plugins", TJsonNode::Object());
  TJsonNode* list = plugins->Find(L"plugins_list");
  if (list == nullptr || !list->IsArray()) list = &plugins->Set(L"plugins_list", TJsonNode::Array());

  bool pathMatch = false;
  bool nameMatch = false;
  for (TJsonNode& element : list->Elements()) {
    if (!element.IsObject()) continue;
    const bool hasPath = element.Find(L"path") != nullptr;
    if (hasPath && SameText(SingleBackslashPath(Member(element, L"path")), path) &&
        SameText(Member(element, L"name"), name) && SameText(DotVersion(Member(element, L"version")), version)) {
      element.Set(L"enabled", TJsonNode::Bool(enabled));
      pathMatch = true;
    } else if (!hasPath && element.Find(L"version") == nullptr && SameText(Member(element, L"name"), name)) {
      element.Set(L"enabled", TJsonNode::Bool(enabled));
      nameMatch = true;
    }
  }
  if (!pathMatch) {
    TJsonNode entry = TJsonNode::Object();
    entry.Set(L"enabled", TJsonNode::Bool(enabled));
    entry.Set(L"name", TJsonNode::String(name));
    entry.Set(L"path", TJsonNode::String(path));
    entry.Set(L"version", TJsonNode::String(version));
    list->Elements().push_back(std::move(entry));
  }
  if (!nameMatch) {
    TJsonNode entry = TJsonNode::Object();
    entry.Set(L"enabled", TJsonNode::Bool(enabled));
    entry.Set(L"name", TJsonNode::String(name));
    list->Elements().push_back(std::move(entry));
  }
  return SaveBrowserJson(preferencesFile, root);
}

}  // namespace orvix
