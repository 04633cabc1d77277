// What this Windows and its files say about themselves.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace orvix {

// "Windows 7", "Windows 10", ...; empty for a version this program does not know.
std::wstring OsName();

// One version string of a file ("FileVersion" unless asked otherwise), or
// "Unknown" when the file has no version resource or no such string.
std::wstring FileVersionText(const std::wstring& file, const std::wstring& which = L"FileVersion");

// The version resource strings of one file.
struct TFileInfo {
  std::wstring CompanyName;
  std::wstring FileDescription;
  std::wstring FileVersion;
  std::wstring InternalName;
  std::wstring LegalCopyright;
  std::wstring LegalTrademarks;
  std::wstring ProductName;
  std::wstring ProductVersion;
  std::wstring Comments;
  std::wstring Other;  // the string the caller named
  std::uint64_t FixedFileVersion = 0;
};

// False when the file has no version resource.
bool ReadFileInfo(const std::wstring& file, const std::wstring& otherName, TFileInfo& info);

// A UTC file time as a local OLE Automation date; 0 for no time.
double FileTimeToLocalDate(FILETIME64 fileTime);

}  // namespace orvix
