// Version resources of executable files.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace orvix {

struct VersionResource {
  // "\VarFileInfo\Translation": language and code page pairs, in file order.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
  // "\StringFileInfo\<language><code page>\<name>", keyed by the part after
  // "\StringFileInfo\" such as "040904B0\FileVersion".
  std::map<std::wstring, std::wstring, TextLess> strings;
  // VS_FIXEDFILEINFO's file version: major.minor in the high 32 bits.
  std::uint64_t fixedFileVersion = 0;
};

// Names of the version strings the system reads.
inline constexpr const wchar_t* kVersionStringNames[] = {
    L"CompanyName",    L"FileDescription", L"FileVersion",    L"InternalName", L"LegalCopyright",
    L"LegalTrademarks", L"ProductName",    L"ProductVersion", L"Comments",     L"WOW Version",
};

class IVersionApi {
 public:
  virtual ~IVersionApi() = default;
  // GetFileVersionInfoW and VerQueryValueW: false when the file has no
  // version resource.
  virtual bool GetVersionResource(const std::wstring& path, VersionResource* resource) = 0;
  // The signer's name of a signed file (Authenticode), empty when unsigned.
  virtual std::wstring GetSignerName(const std::wstring& path) = 0;
};

}  // namespace orvix
