#include "inventory/software_info.h"

#include <algorithm>

#include "inventory/analysis_cache.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

std::wstring WithBackslash(const std::wstring& path) {
  return (!path.empty() && path.back() == L'\\') ? path : path + L'\\';
}

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != std::wstring_view::npos; }

// The same program as a fresh record: its name, command and view.
bool SameProgram(const TSoftInfo& entry, const TSoftInfo& fresh) {
  return entry.IsX64 == fresh.IsX64 && SameText(entry.UninstallString, fresh.UninstallString) &&
         SameText(entry.DisplayName, fresh.DisplayName);
}

// Whether a program's entry lies anywhere below the entry's key.
bool HoldsOtherEntries(const TSoftInfo& entry) {
  std::vector<std::wstring> keys;
  RegListKeyTree(entry.RootName, entry.KeyPath, keys, entry.IsX64);
  return std::any_of(keys.begin() + 1, keys.end(), [&](const std::wstring& key) {
    return !Trim(RegReadStringAt(entry.RootName, key, L"DisplayName", entry.IsX64)).empty();
  });
}

}  // namespace

std::wstring NormalizedInstallLocation(const std::wstring& location) {
  std::wstring path;
  if (location.empty() || CurrentPlatform().Files().GetLongPathName(location, &path) != ERROR_SUCCESS ||
      path.empty())
    return {};
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  for (std::size_t at = path.find(L"\\\\"); at != std::wstring::npos; at = path.find(L"\\\\", at)) path.erase(at, 1);
  return WithBackslash(path);
}

TSoftwareInfo::TSoftwareInfo() : items_(EnumerateSoftware()), redirectionOff_(IsWow64()) {}

TSoftwareInfo::TSoftwareInfo(IDispatcher& dispatcher, TAnalysisSettings analysis)
    : items_(EnumerateSoftware()), redirectionOff_(IsWow64()), cacheFile_(analysis.cachePath) {
  ApplyCache(cacheFile_, items_);
  analysis_ = std::make_unique<TAnalysisThread>(items_, dispatcher, std::move(analysis));
  analysis_->RequestPass();
}

TSoftwareInfo::~TSoftwareInfo() {
  if (analysis_) analysis_->Stop();
}

TSoftInfo* TSoftwareInfo::GetItem(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].get() : nullptr;
}

namespace {

// An entry found again: what the registry says now (an upgrade in place
// changes the version, the publisher, the size), and what the analysis
// found only where the registry gives nothing.
void TakeFreshValues(TSoftInfo& known, TSoftInfo fresh) {
  if (fresh.Size <= 0) {
    fresh.Size = known.Size;
    fresh.SizeText = known.SizeText;
  }
  if (fresh.InstallLocation.empty()) fresh.InstallLocation = known.InstallLocation;
  if (fresh.DisplayIcon.empty()) {
    fresh.DisplayIcon = known.DisplayIcon;
    fresh.IconIndex = known.IconIndex;
  }
  if (fresh.DisplayIcon == known.DisplayIcon && fresh.IconIndex == known.IconIndex) fresh.ImageIndex = known.ImageIndex;
  if (fresh.InstallDateText.empty()) {
    fresh.InstallDateText = known.InstallDateText;
    fresh.InstallDate = known.InstallDate;
  }
  fresh.LastAccessDate = known.LastAccessDate;
  fresh.UseRange = known.UseRange;
  fresh.UseRate = known.UseRate;
  fresh.LastUseTime = known.LastUseTime;
  fresh.HasUseInfo = known.HasUseInfo;
  fresh.UseText = known.UseText;
  fresh.Hidden = false;
  known = std::move(fresh);
}

}  // namespace

void TSoftwareInfo::Refresh() {
  TSoftList fresh = EnumerateSoftware();
  for (const auto& entry : items_) entry->Hidden = true;
  for (auto& record : fresh) {
    if (record->Hidden) continue;
    TSoftInfo* known = nullptr;
    for (const auto& entry : items_) {
      if (SameProgram(*entry, *record)) {
        known = entry.get();
        break;
      }
    }
    if (known == nullptr) {
      items_.push_back(std::move(record));
      continue;
    }
    TakeFreshValues(*known, std::move(*record));
  }
  // The appended entries too start from what the cache knows.
  if (analysis_) {
    ApplyCache(cacheFile_, items_);
    analysis_->RequestPass();
  }
}

template <typename Matches>
int TSoftwareInfo::Collect(std::vector<std::wstring>& indexes, Matches matches) const {
  int found = 0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->Hidden || !matches(*items_[i])) continue;
    indexes.push_back(std::to_wstring(i));
    ++found;
  }
  return found;
}

int TSoftwareInfo::FindByFolderOf(const std::wstring& filePath, std::vector<std::wstring>& indexes) const {
  std::wstring folder;
  if (DirectoryExists(filePath)) {
    folder = WithBackslash(filePath);
  } else if (const std::size_t end = filePath.find_last_of(L"\\:"); end != std::wstring::npos) {
    folder = filePath.substr(0, end + 1);
  }
  if (folder.empty()) return 0;
  return Collect(indexes, [&](const TSoftInfo& entry) {
    return SameText(NormalizedInstallLocation(entry.InstallLocation), folder);
  });
}

int TSoftwareInfo::FindInFolder(const std::wstring& folder, std::vector<std::wstring>& indexes) const {
  const std::wstring trimmed = Trim(folder);
  if (trimmed.empty()) return 0;
  const std::wstring key = UpperCase(WithBackslash(trimmed));
  return Collect(indexes, [&](const TSoftInfo& entry) {
    // An entry whose folder is gone has an empty normalised location.
    return Contains(UpperCase(NormalizedInstallLocation(entry.InstallLocation)), key);
  });
}

int TSoftwareInfo::FindInFolder(const std::wstring& folder) const {
  std::vector<std::wstring> unused;
  return FindInFolder(folder, unused);
}

int TSoftwareInfo::FindByName(const std::wstring& text, std::vector<std::wstring>& indexes) const {
  if (text.empty()) return 0;
  const std::wstring upper = UpperCase(text);
  return Collect(indexes, [&](const TSoftInfo& entry) { return Contains(UpperCase(entry.DisplayName), upper); });
}

bool TSoftwareInfo::RemoveEntry(TSoftInfo* entry) {
  if (entry == nullptr || entry->Hidden) return false;
  // The Uninstall key itself holds every other program's entry; a vendor's
  // entry key may hold its other products' entries.
  if (SameText(entry->KeyPath, kUninstallKeyPath) || HoldsOtherEntries(*entry)) return false;
  if (!RegDeleteKeyAt(entry->RootName, entry->KeyPath, entry->IsX64)) return false;
  entry->Hidden = true;
  return true;
}

void TSoftwareInfo::Clear() { items_.clear(); }

}  // namespace orvix
