// Version strings and signer names of add-on files, through the platform.
#include "addons/plugin_file_info.h"

#include <cstdio>
#include <iterator>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr const wchar_t* kInfoNames[] = {
    L"Comments",         L"CompanyName", L"FileDescription", L"FileVersion",    L"InternalName", L"LegalCopyright",
    L"LegalTrademarks",  L"OriginalFileName", L"ProductName", L"ProductVersion", L"WOW Version",
};
constexpr std::size_t kInfoCount = std::size(kInfoNames);

bool Usable(const std::wstring& text) { return !text.empty() && !SameText(text, L"Unknown"); }

}  // namespace

bool GetVersionInfoList(const std::wstring& path, std::vector<std::wstring>& list) {
  list.assign(kInfoCount, L"Unknown");
  VersionResource resource;
  if (!CurrentPlatform().Versions().GetVersionResource(path, &resource)) return false;
  std::wstring block;
  if (!resource.translations.empty()) {
    wchar_t key[16];
    std::swprintf(key, 16, L"%04x%04x\\", resource.translations[0].first, resource.translations[0].second);
    block = key;
  }
  for (std::size_t i = 0; i < kInfoCount; ++i) {
    const auto it = resource.strings.find(block + kInfoNames[i]);
    list[i] = it == resource.strings.end() ? L"" : Trim(it->second);
  }
  return true;
}

std::wstring GetSignerName(const std::wstring& path) { return CurrentPlatform().Versions().GetSignerName(path); }

TMozilPlugFileInfo GetPluginFileInfo(const std::wstring& path, bool preferProductVersion) {
  TMozilPlugFileInfo info;
  info.Path = path;
  if (!FileExists(path)) return info;
  std::vector<std::wstring> list;
  GetVersionInfoList(path, list);
  if (Usable(list[8])) info.ProductName = list[8];
  if (Usable(list[2])) info.Description = list[2];
  if (Usable(list[1])) info.CompanyName = list[1];
  if (Usable(list[9])) {
    info.Version = preferProductVersion ? list[9] : list[3];
  } else if (Usable(list[3])) {
    info.Version = list[3];
  }
  info.Signer = GetSignerName(path);
  return info;
}

}  // namespace orvix
