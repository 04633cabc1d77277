#include "platform/system_info.h"

#include <cstdio>

#include "platform/platform.h"

namespace orvix {
namespace {

constexpr DWORD kFirstWindows11Build = 22000;
constexpr double kFileTimeTicksPerDay = 864000000000.0;
constexpr double kDaysFrom1601To1899 = 109205.0;  // 1601-01-01 to 1899-12-30

// The "\StringFileInfo\<language><code page>\" part of the first translation.
std::wstring FirstTranslationKey(const VersionResource& resource) {
  if (resource.translations.empty()) return {};
  wchar_t key[16];
  std::swprintf(key, 16, L"%04x%04x\\", resource.translations[0].first, resource.translations[0].second);
  return key;
}

std::wstring StringOf(const VersionResource& resource, const std::wstring& name) {
  const auto it = resource.strings.find(FirstTranslationKey(resource) + name);
  return it == resource.strings.end() ? std::wstring() : it->second;
}

}  // namespace

std::wstring OsName() {
  const OsVersionInfo os = CurrentPlatform().System().OsVersion();
  if (os.major == 3 || os.major == 4) return L"Windows NT";
  if (os.major == 5) {
    if (os.minor == 0) return L"Windows 2000";
    if (os.minor == 1) return L"Windows XP";
    if (os.minor == 2) return (!os.serverProduct && os.amd64) ? L"Windows XP" : L"Windows 2003 Server";
  }
  if (os.major == 6) {
    switch (os.minor) {
      case 0: return L"Windows Vista";
      case 1: return L"Windows 7";
      case 2: return L"Windows 8";
      case 3: return L"Windows 8.1";
    }
  }
  if (os.major == 10 && os.minor == 0) return os.build >= kFirstWindows11Build ? L"Windows 11" : L"Windows 10";
  return {};
}

std::wstring FileVersionText(const std::wstring& file, const std::wstring& which) {
  VersionResource resource;
  if (!CurrentPlatform().Versions().GetVersionResource(file, &resource)) return L"Unknown";
  const auto it = resource.strings.find(FirstTranslationKey(resource) + which);
  return it == resource.strings.end() ? L"Unknown" : it->second;
}

bool ReadFileInfo(const std::wstring& file, const std::wstring& otherName, TFileInfo& info) {
  info = TFileInfo{};
  VersionResource resource;
  if (!CurrentPlatform().Versions().GetVersionResource(file, &resource)) return false;
  info.CompanyName = StringOf(resource, L"CompanyName");
  info.FileDescription = StringOf(resource, L"FileDescription");
  info.FileVersion = StringOf(resource, L"FileVersion");
  info.InternalName = StringOf(resource, L"InternalName");
  info.LegalCopyright = StringOf(resource, L"LegalCopyright");
  info.LegalTrademarks = StringOf(resource, L"LegalTrademarks");
  info.ProductName = StringOf(resource, L"ProductName");
  info.ProductVersion = StringOf(resource, L"ProductVersion");
  info.Comments = StringOf(resource, L"Comments");
  info.Other = otherName.empty() ? L"" : StringOf(resource, otherName);
  info.FixedFileVersion = resource.fixedFileVersion;
  return true;
}

double FileTimeToLocalDate(FILETIME64 fileTime) {
  if (fileTime == 0) return 0;
  const FILETIME64 local = CurrentPlatform().Clock().ToLocal(fileTime);
  return static_cast<double>(local) / kFileTimeTicksPerDay - kDaysFrom1601To1899;
}

}  // namespace orvix
