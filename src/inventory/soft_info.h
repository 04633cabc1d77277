// One installed-software entry, read from an Uninstall key and completed by
// the analysis and the usage rating.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"

namespace orvix {

// How long ago a program was last used.
enum TAppUseRange : std::uint8_t {
  audUnknown = 0,
  audToday = 1,
  aud3Day = 2,
  audWeek = 3,
  aud2Week = 4,
  audMonth = 5,
  aud2Month = 6,
  aud3Month = 7,
  audMore = 8,
};

// How often a program is used.
enum TAppUseRate : std::uint8_t {
  aurUnknown = 0,
  aurOften = 1,
  aurLess = 2,
  aurRarely = 3,
};

// The enumeration names ("audToday", "aurRarely"), as the cache and the
// console's JSON write them; unknown names read as the unknown value.
std::wstring UseRangeName(TAppUseRange range);
std::wstring UseRateName(TAppUseRate rate);
TAppUseRange UseRangeFromName(const std::wstring& name);
TAppUseRate UseRateFromName(const std::wstring& name);

struct TSoftInfo {
  std::wstring DisplayName;
  std::wstring HelpLink;        // "-" when the key has none
  std::wstring Publisher;       // a single space when the key has none
  std::wstring DisplayVersion;  // "-" when the key has none
  std::wstring URLInfoAbout;
  std::wstring URLUpdateInfo;
  std::wstring InstallDateText;  // in the user's short date format
  std::wstring SizeText;
  std::wstring RootName;  // "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"
  std::wstring KeyPath;   // with its leading backslash
  std::wstring UninstallString;
  std::wstring DisplayIcon;
  std::wstring InstallLocation;  // empty unless the folder exists
  // The key's InstallLocation as written: the leftover scan still matches it
  // once the uninstaller has removed the folder.
  std::wstring RecordedInstallLocation;
  std::int32_t IconIndex = 0;
  std::int32_t ImageIndex = 0;
  std::int64_t Size = 0;  // bytes
  TDateTime InstallDate = 0;
  TDateTime LastAccessDate = 0;
  bool IsX64 = false;  // read in the 64-bit registry view
  bool IsUpdate = false;
  bool Hidden = false;
  bool IsSystemComponent = false;
  TAppUseRange UseRange = audUnknown;
  TAppUseRate UseRate = aurUnknown;
  TDateTime LastUseTime = 0;
  bool HasUseInfo = false;
  std::wstring UseText;
  bool IsToolbar = false;
  std::wstring ToolbarId;     // reserved, always empty
  std::wstring ToolbarClsid;  // reserved, always empty
  std::wstring ToolbarFile;   // reserved, always empty
  std::wstring Readme;
};

}  // namespace orvix
