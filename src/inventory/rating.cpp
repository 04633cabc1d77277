#include "inventory/rating.h"

#include <algorithm>

#include "inventory/rating_classes.h"
#include "inventory/rating_logon.h"
#include "inventory/rating_user_assist.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Programs that run all day without being started from Explorer.
constexpr const wchar_t* kAlwaysInUse[] = {L"Evernote", L"dropbox", L"\\QQ\\", L"Fences"};

// Folders compare trimmed and with one trailing backslash.
std::wstring FolderKey(const std::wstring& folder) {
  std::wstring key = Trim(folder);
  if (!key.empty() && key.back() != L'\\') key += L'\\';
  return key;
}

}  // namespace

void ApplyUsage(TSoftInfo& entry, const TAppUsage& usage) {
  entry.UseRange = usage.UseRange;
  entry.UseRate = usage.UseRate;
  entry.LastUseTime = usage.LastUseTime;
  entry.HasUseInfo = usage.HasUseInfo;
}

TAppRateHelper::TAppRateHelper() : osKind_(UserAssistOsKind()) {
  for (const TUserAssistStart& start : ReadUserAssist(osKind_)) AddStart(start.Folder, start.LastStart);
  autoStartFolders_ = ReadLogonFolders();
}

TAppUsage TAppRateHelper::Rate(const TSoftInfo& entry) { return Rate(entry.InstallLocation, entry.InstallDate); }

TAppUsage TAppRateHelper::Rate(const std::wstring& installLocation, TDateTime installDate) {
  TAppUsage usage;
  usage.HasUseInfo = true;
  const std::wstring folder = FolderKey(installLocation);
  if (folder.empty()) return usage;  // no folder, nothing to match
  const bool alwaysInUse = std::any_of(std::begin(kAlwaysInUse), std::end(kAlwaysInUse), [&](const wchar_t* name) {
    return FindText(folder, name) != std::wstring::npos;
  });
  if (alwaysInUse || StartsAtLogon(folder)) {
    usage.UseRange = audToday;
    usage.UseRate = aurOften;
    usage.LastUseTime = NowLocal();
    return usage;
  }
  TAppUseInfo* info = FindUseInfo(folder);
  if (info == nullptr) return usage;
  const TDateTime now = NowLocal();
  info->InstallDate = installDate;
  info->Range = ClassifyUseRange(info->LastUse, now);
  info->Rate = ClassifyUseRate(info->Range, installDate, now, info->Rate);
  usage.UseRange = info->Range;
  usage.UseRate = info->Rate;
  usage.LastUseTime = info->LastUse;
  return usage;
}

void TAppRateHelper::AddStart(const std::wstring& folder, TDateTime time) {
  TAppUseInfo* info = FindUseInfo(folder);
  if (info == nullptr) {
    useInfos_.push_back({folder, 0, time});
  } else if (time > info->LastUse) {
    info->LastUse = time;
  }
}

TAppUseInfo* TAppRateHelper::FindUseInfo(const std::wstring& folder) {
  const std::wstring key = FolderKey(folder);
  const auto it = std::find_if(useInfos_.begin(), useInfos_.end(),
                               [&](const TAppUseInfo& info) { return SameText(FolderKey(info.Folder), key); });
  return it == useInfos_.end() ? nullptr : &*it;
}

bool TAppRateHelper::StartsAtLogon(const std::wstring& folder) const {
  return std::any_of(autoStartFolders_.begin(), autoStartFolders_.end(),
                     [&](const std::wstring& logon) { return SameText(FolderKey(logon), folder); });
}

}  // namespace orvix
