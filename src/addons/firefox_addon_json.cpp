#include "addons/firefox_addon_json.h"

#include <string_view>

#include "addons/chrome_json_text.h"
#include "addons/firefox_startup_cache.h"
#include "formats/json_tree.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

constexpr wchar_t kDatabase[] = L"extensions.json";
constexpr wchar_t kStartupCache[] = L"addonStartup.json.lz4";
constexpr std::uint64_t kMaxDatabase = 64u << 20;
// Where Firefox keeps the add-ons it brings along.
constexpr std::wstring_view kOwnLocations[] = {L"app-builtin", L"app-builtin-addons", L"app-system-defaults",
                                               L"app-system-addons", L"app-system-share", L"app-system-local"};

bool BoolMember(const TJsonNode& object, std::wstring_view name) {
  const TJsonNode* member = object.Find(name);
  return member != nullptr && member->IsBool() && member->BoolValue();
}

TJsonNode* AddonList(TJsonNode& root) {
  TJsonNode* addons = root.Find(L"addons");
  return addons != nullptr && addons->IsArray() ? addons : nullptr;
}

}  // namespace

std::vector<TFirefoxAddon> ReadFirefoxAddons(const std::wstring& profileDir) {
  std::vector<TFirefoxAddon> addons;
  TJsonNode root;
  if (!LoadBrowserJson(profileDir + kDatabase, root)) return addons;
  const TJsonNode* list = AddonList(root);
  if (list == nullptr) return addons;
  for (const TJsonNode& entry : list->Elements()) {
    if (!entry.IsObject() || JsonStringMember(&entry, L"type") != L"extension" || BoolMember(entry, L"hidden")) continue;
    const std::wstring location = JsonStringMember(&entry, L"location");
    bool own = false;
    for (std::wstring_view name : kOwnLocations) own = own || location == name;
    if (own) continue;
    TFirefoxAddon addon;
    addon.id = JsonStringMember(&entry, L"id");
    if (addon.id.empty()) continue;
    const TJsonNode* names = entry.Find(L"defaultLocale");
    addon.name = JsonStringMember(names, L"name");
    addon.description = JsonStringMember(names, L"description");
    addon.creator = JsonStringMember(names, L"creator");
    addon.version = JsonStringMember(&entry, L"version");
    addon.path = JsonStringMember(&entry, L"path");
    addon.active = BoolMember(entry, L"active") && !BoolMember(entry, L"userDisabled");
    addons.push_back(std::move(addon));
  }
  return addons;
}

TFirefoxSwitch SetFirefoxAddonEnabled(const std::wstring& profileDir, const std::wstring& id, bool enabled) {
  const std::wstring databasePath = profileDir + kDatabase;
  Bytes oldDatabase;
  TJsonNode root;
  if (!ReadFileBytes(databasePath, oldDatabase, kMaxDatabase) ||
      !ParseJson(std::string_view(reinterpret_cast<const char*>(oldDatabase.data()), oldDatabase.size()), root))
    return TFirefoxSwitch::tfsUnreadable;
  TJsonNode* list = AddonList(root);
  if (list == nullptr) return TFirefoxSwitch::tfsUnreadable;
  TJsonNode* entry = nullptr;
  for (TJsonNode& candidate : list->Elements()) {
    if (candidate.IsObject() && JsonStringMember(&candidate, L"id") == id) entry = &candidate;
  }
  if (entry == nullptr) return TFirefoxSwitch::tfsNotFound;
  const bool firefoxDisabled = BoolMember(*entry, L"appDisabled") || BoolMember(*entry, L"softDisabled") ||
                               BoolMember(*entry, L"embedderDisabled");
  const bool wasActive = BoolMember(*entry, L"active");
  const bool wasUserDisabled = BoolMember(*entry, L"userDisabled");
  entry->Set(L"userDisabled", TJsonNode::Bool(!enabled));
  entry->Set(L"active", TJsonNode::Bool(enabled && !firefoxDisabled));
  const bool databaseChanged = wasActive != (enabled && !firefoxDisabled) || wasUserDisabled != !enabled;

  // Both files are prepared before either is written.
  Bytes newCache;
  bool cacheChanged = false;
  const std::wstring cachePath = profileDir + kStartupCache;
  if (SwitchStartupCacheEntry(cachePath, id, enabled && !firefoxDisabled, newCache, cacheChanged) ==
      TStartupCacheSwitch::tscsUnreadable)
    return TFirefoxSwitch::tfsUnreadable;
  if (databaseChanged && !SaveBrowserJson(databasePath, root, TJsonFileStyle::jfsFirefox))
    return TFirefoxSwitch::tfsWriteFailed;
  if (cacheChanged && !ReplaceFileBytes(cachePath, newCache)) {
    if (databaseChanged) ReplaceFileBytes(databasePath, oldDatabase);
    return TFirefoxSwitch::tfsWriteFailed;
  }
  return TFirefoxSwitch::tfsDone;
}

}  // namespace orvix
