#include "inventory/analysis_cache.h"

#include <algorithm>
#include <limits>

#include "formats/md5.h"
#include "inventory/list_labels.h"
#include "inventory/size_text.h"
#include "platform/command_paths.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/missing.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kSize[] = L"size";
constexpr wchar_t kUseSize[] = L"UseSize";
constexpr wchar_t kLocation[] = L"Location";
constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
constexpr wchar_t kIconIndex[] = L"IconIndex";
constexpr wchar_t kAppUseRange[] = L"AppUseRange";
constexpr wchar_t kAppUseRate[] = L"AppUseRate";
constexpr wchar_t kInstallDate[] = L"InstallDate";
constexpr wchar_t kInstallDateT[] = L"InstallDateT";
constexpr wchar_t kLastAccessDate[] = L"LastAccessDate";
constexpr wchar_t kMd5[] = L"MD5";

std::int32_t ToInt32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) return 0;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::wstring SoftwareCachePath() {
  const std::wstring folder = DataFolder();
  return folder.empty() ? L"" : folder + L"SoftwareCache.ini";
}

std::wstring CacheMd5(const std::wstring& installDateText, const std::wstring& uninstallString) {
  return Md5Hex(CurrentPlatform().Locale().ToAnsi(installDateText + uninstallString));
}

void TSoftwareCache::Load(const std::wstring& path) {
  unreadable_ = false;
  if (!path.empty() && !PathMissing(path)) {
    unreadable_ = !file_.Load(path);
  } else {
    file_.LoadText(L"");
  }
}

bool TSoftwareCache::Save(const std::wstring& path) const {
  return !path.empty() && !unreadable_ && file_.Save(path);
}

bool TSoftwareCache::Matches(const TSoftInfo& entry) const {
  const std::wstring md5 = file_.ReadString(entry.DisplayName, kMd5, L"");
  const std::wstring date = file_.ReadString(entry.DisplayName, kInstallDate, L"");
  return !md5.empty() && SameText(md5, CacheMd5(date, entry.UninstallString));
}

bool TSoftwareCache::ApplyTo(TSoftInfo& entry) const {
  if (!Matches(entry)) return false;
  const std::wstring& section = entry.DisplayName;

  const bool cachedText = entry.InstallDateText.empty();
  if (cachedText) entry.InstallDateText = file_.ReadString(section, kInstallDate, L"");
  if (const std::optional<TDateTime> date = ParseShortDate(entry.InstallDateText)) {
    entry.InstallDate = *date;
  } else if (const TDateTime stored = file_.ReadFloat(section, kInstallDateT, 0);
             cachedText && stored > 0 && !entry.InstallDateText.empty()) {
    // Cached in another date format (the user changed it since): the stored
    // value still holds the date.
    entry.InstallDate = stored;
    entry.InstallDateText = FormatShortDate(stored);
  } else {
    entry.InstallDateText.clear();
    entry.InstallDate = 0;
  }

  entry.UseRange = UseRangeFromName(file_.ReadString(section, kAppUseRange, L"audUnknown"));
  entry.UseRate = UseRateFromName(file_.ReadString(section, kAppUseRate, L"aurUnknown"));
  entry.UseText = UsageLabel(entry.UseRange, entry.UseRate);

  // A negative size (a garbled estimate in the registry) counts as none.
  if (entry.Size <= 0) {
    entry.Size = std::max<std::int64_t>(0, file_.ReadInteger(section, kSize, 0));
    entry.SizeText = entry.Size > 0 ? SizeToText(entry.Size) : L"";
  }
  if (entry.DisplayIcon.empty()) {
    entry.DisplayIcon = file_.ReadString(section, kDisplayIcon, L"");
    entry.IconIndex = ToInt32(file_.ReadInteger(section, kIconIndex, 0));
  }
  // A folder that is never one program's own is no location, whoever cached
  // it; the analysis caches only what it read from commands.
  if (const std::wstring cached = file_.ReadString(section, kLocation, L"");
      entry.InstallLocation.empty() && !cached.empty() && IsProgramFolderFromCommand(cached)) {
    entry.InstallLocation = cached;
  }
  entry.LastAccessDate = file_.ReadFloat(section, kLastAccessDate, NowLocal());
  return true;
}

void TSoftwareCache::WriteSize(const TSoftInfo& entry) {
  file_.WriteInteger(entry.DisplayName, kSize, entry.Size);
  file_.WriteString(entry.DisplayName, kUseSize, entry.SizeText);
}

void TSoftwareCache::WriteLocation(const TSoftInfo& entry) {
  file_.WriteString(entry.DisplayName, kLocation, entry.InstallLocation);
}

void TSoftwareCache::WriteIcon(const TSoftInfo& entry) {
  file_.WriteString(entry.DisplayName, kDisplayIcon, entry.DisplayIcon);
  file_.WriteInteger(entry.DisplayName, kIconIndex, entry.IconIndex);
}

void TSoftwareCache::WriteUsage(const TSoftInfo& entry) {
  file_.WriteString(entry.DisplayName, kAppUseRange, UseRangeName(entry.UseRange));
  file_.WriteString(entry.DisplayName, kAppUseRate, UseRateName(entry.UseRate));
}

void TSoftwareCache::WriteInstallDate(const TSoftInfo& entry) {
  file_.WriteString(entry.DisplayName, kInstallDate, entry.InstallDateText);
  file_.WriteFloat(entry.DisplayName, kInstallDateT, entry.InstallDate);
}

void TSoftwareCache::WriteLastAccess(const TSoftInfo& entry) {
  file_.WriteFloat(entry.DisplayName, kLastAccessDate, entry.LastAccessDate);
}

void TSoftwareCache::WriteMd5(const TSoftInfo& entry) {
  file_.WriteString(entry.DisplayName, kMd5, CacheMd5(entry.InstallDateText, entry.UninstallString));
}

void ApplyCache(const std::wstring& cachePath, std::span<const std::unique_ptr<TSoftInfo>> entries) {
  if (cachePath.empty() || !FileExists(cachePath)) return;
  TSoftwareCache cache;
  cache.Load(cachePath);
  for (const std::unique_ptr<TSoftInfo>& entry : entries) {
    if (entry && !entry->Hidden) cache.ApplyTo(*entry);
  }
}

}  // namespace orvix
