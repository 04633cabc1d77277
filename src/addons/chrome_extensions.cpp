#include "addons/chrome_extensions.h"

#include <algorithm>
#include <optional>

#include "addons/chrome_json_text.h"
#include "addons/browser_paths.h"
#include "addons/chrome_pref_codes.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::int64_t kUserReason = 1;
// The browser's own extensions (its PDF viewer and the like), which are
// part of the browser, not add-ons: "location" 5 and 10.
constexpr std::int64_t kComponentLocations[] = {5, 10};

std::optional<std::int64_t> IntegerMember(const TJsonNode& object, std::wstring_view name) {
  const TJsonNode* member = object.Find(name);
  return member != nullptr ? member->IntegerValue() : std::nullopt;
}

// "__MSG_name__" through the default locale's messages.json.
std::wstring Localized(const std::wstring& text, const std::wstring& folder, const TJsonNode& manifest) {
  if (!text.starts_with(L"__MSG_") || !text.ends_with(L"__") || text.size() <= 8) return text;
  const std::wstring key = text.substr(6, text.size() - 8);
  const std::wstring locale = JsonStringMember(&manifest, L"default_locale");
  TJsonNode messages;
  if (locale.empty() || !LoadBrowserJson(folder + L"_locales\\" + locale + L"\\messages.json", messages)) return text;
  for (const auto& [name, entry] : messages.Members()) {
    if (SameText(name, key)) return JsonStringMember(&entry, L"message");
  }
  return text;
}

// The record's manifest: stored in the record for packed extensions, read
// from the folder for unpacked ones (the browser stores none for those).
bool RecordManifest(const TJsonNode& record, const std::wstring& folder, TJsonNode& manifest) {
  if (const TJsonNode* stored = record.Find(L"manifest")) {
    if (!stored->IsObject()) return false;
    manifest = *stored;
    return true;
  }
  return LoadBrowserJson(folder + L"manifest.json", manifest) && manifest.IsObject();
}

TJsonNode* SettingsOf(TJsonNode& root) { return root.FindPath({L"extensions", L"settings"}); }

// The record of an id (ignoring case) and its name as the file spells it.
TJsonNode* FindRecord(TJsonNode& root, const std::wstring& id, std::wstring* name) {
  TJsonNode* settings = SettingsOf(root);
  if (settings == nullptr || !settings->IsObject()) return nullptr;
  for (auto& [memberName, record] : settings->Members()) {
    if (!SameText(memberName, id) || !record.IsObject()) continue;
    *name = memberName;
    return &record;
  }
  return nullptr;
}

void AppendRecords(const TJsonNode& root, bool secure, std::vector<std::pair<const TJsonNode::Member*, bool>>& out) {
  const TJsonNode* settings = root.FindPath({L"extensions", L"settings"});
  if (settings == nullptr) return;
  for (const TJsonNode::Member& member : settings->Members()) {
    const auto known = std::find_if(out.begin(), out.end(),
                                    [&member](const auto& entry) { return SameText(entry.first->first, member.first); });
    if (known == out.end()) {
      out.emplace_back(&member, secure);
    } else if (secure) {
      *known = {&member, secure};
    }
  }
}

}  // namespace

bool ChromeRecordActive(const TJsonNode& record) {
  const std::optional<std::int64_t> state = IntegerMember(record, L"state");
  const TJsonNode* reasons = record.Find(L"disable_reasons");
  if (reasons == nullptr) return state == 1;
  const bool noReason = reasons->IsArray() ? reasons->Elements().empty() : reasons->IntegerValue() == 0;
  return noReason && (!state || *state == 1);
}

void SwitchChromeRecord(TJsonNode& record, bool enabled) {
  TJsonNode* reasons = record.Find(L"disable_reasons");
  const bool stateKept = record.Find(L"state") != nullptr;
  // Current browsers write no "state" and keep a list; the "state" the
  // switch-off adds (for the versions that read both) goes again.
  const bool currentForm = reasons != nullptr && reasons->IsArray();
  const bool hadReasons = reasons != nullptr;
  bool otherReasons = false;
  if (currentForm) {
    std::vector<TJsonNode>& list = reasons->Elements();
    std::erase_if(list, [](const TJsonNode& reason) { return reason.IntegerValue() == kUserReason; });
    otherReasons = !list.empty();
    if (!enabled) list.push_back(TJsonNode::Integer(kUserReason));
  } else {
    // A bit mask, or no member at all where only "state" was kept.
    std::int64_t mask = reasons != nullptr ? reasons->IntegerValue().value_or(0) : 0;
    otherReasons = (mask & ~kUserReason) != 0;
    mask = enabled ? (mask & ~kUserReason) : (mask | kUserReason);
    if (mask != 0) {
      record.Set(L"disable_reasons", TJsonNode::Integer(mask));
    } else {
      record.Remove(L"disable_reasons");
    }
  }
  // Switching on takes away the user's reason only: a record the browser
  // switched off for reasons of its own stays off.
  if (!enabled) {
    record.Set(L"state", TJsonNode::Integer(0));
  } else if (currentForm) {
    record.Remove(L"state");
  } else if (stateKept || !hadReasons) {
    record.Set(L"state", TJsonNode::Integer(otherReasons ? 0 : 1));
  }
}

std::vector<TChromeExtension> ReadChromeExtensions(const std::wstring& profileDir) {
  std::vector<TChromeExtension> extensions;
  TJsonNode preferences;
  TJsonNode secure;
  if (!LoadBrowserJson(profileDir + L"Preferences", preferences) || !preferences.IsObject()) return extensions;
  std::vector<std::pair<const TJsonNode::Member*, bool>> records;
  AppendRecords(preferences, false, records);
  if (LoadBrowserJson(profileDir + L"Secure Preferences", secure) && secure.IsObject()) {
    AppendRecords(secure, true, records);
  }

  for (const auto& [member, inSecure] : records) {
    const TJsonNode& record = member->second;
    if (!record.IsObject()) continue;
    if (const TJsonNode* blacklisted = record.Find(L"ack_blacklist"); blacklisted != nullptr && blacklisted->BoolValue())
      continue;
    const std::optional<std::int64_t> location = IntegerMember(record, L"location");
    if (location && std::find(std::begin(kComponentLocations), std::end(kComponentLocations), *location) !=
                        std::end(kComponentLocations))
      continue;
    const std::wstring path = SingleBackslashPath(JsonStringMember(&record, L"path"));
    if (path.empty()) continue;
    TChromeExtension extension;
    extension.id = member->first;
    extension.folder = WithTrailingBackslash(IsRootedPath(path) ? path : profileDir + L"Extensions\\" + path);
    if (!DirectoryExists(extension.folder)) continue;
    TJsonNode manifest;
    if (!RecordManifest(record, extension.folder, manifest)) continue;
    extension.name = Localized(JsonStringMember(&manifest, L"name"), extension.folder, manifest);
    extension.description = Localized(JsonStringMember(&manifest, L"description"), extension.folder, manifest);
    extension.version = JsonStringMember(&manifest, L"version");
    extension.active = ChromeRecordActive(record);
    extension.inSecurePreferences = inSecure;
    if (const TJsonNode* plugins = manifest.Find(L"plugins"); plugins != nullptr && plugins->IsArray()) {
      for (const TJsonNode& plugin : plugins->Elements()) {
        const std::wstring file = SingleBackslashPath(JsonStringMember(&plugin, L"path"));
        if (!file.empty()) extension.pluginFiles.push_back(extension.folder + file);
      }
    }
    extensions.push_back(std::move(extension));
  }
  return extensions;
}

TChromeSwitch SetChromeExtensionEnabled(const std::wstring& profileDir, const std::wstring& id, bool enabled) {
  const std::wstring preferencesPath = profileDir + L"Preferences";
  const std::wstring securePath = profileDir + L"Secure Preferences";
  TJsonNode preferences;
  TJsonNode secure;
  if (!LoadBrowserJson(preferencesPath, preferences) || !preferences.IsObject()) return TChromeSwitch::tcsUnreadable;
  const bool haveSecure = LoadBrowserJson(securePath, secure) && secure.IsObject();

  std::wstring name;
  TJsonNode* record = haveSecure ? FindRecord(secure, id, &name) : nullptr;
  const bool inSecure = record != nullptr;
  if (record == nullptr) record = FindRecord(preferences, id, &name);
  if (record == nullptr) return TChromeSwitch::tcsNotFound;

  const TJsonNode before = *record;
  SwitchChromeRecord(*record, enabled);
  if (BrowserFileJson(before) == BrowserFileJson(*record)) return TChromeSwitch::tcsDone;
  TJsonNode& store = inSecure ? secure : preferences;
  const TCodeRenewal renewal = RenewExtensionRecordCodes(store, name, before, *record);
  // The browser checks the records of "Secure Preferences" and drops one
  // whose code fails; those of "Preferences" it does not enforce, so a code
  // there is renewed where possible and otherwise left for the browser.
  if (inSecure && renewal == TCodeRenewal::tcrUnknown) return TChromeSwitch::tcsProtected;
  return SaveBrowserJson(inSecure ? securePath : preferencesPath, store) ? TChromeSwitch::tcsDone
                                                                             : TChromeSwitch::tcsWriteFailed;
}

}  // namespace orvix
