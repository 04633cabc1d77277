#include "uninstall/generic_folder_names.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::array<std::wstring_view, 84> kGenericNames = {
    // What programs keep inside their own folders.
    L"app", L"apps", L"application", L"bin", L"bin32", L"bin64", L"binaries", L"lib", L"lib32", L"lib64", L"libs",
    L"x86", L"x64", L"amd64", L"arm64", L"i386", L"win32", L"win64", L"32bit", L"64bit", L"data", L"files",
    L"program", L"tools", L"utils", L"utilities", L"plugins", L"addons", L"extensions", L"modules", L"components",
    L"resources", L"res", L"assets", L"lang", L"language", L"languages", L"locale", L"locales", L"skins", L"themes",
    L"help", L"doc", L"docs", L"setup", L"install", L"installer", L"uninstall", L"update", L"updates", L"updater",
    L"temp", L"tmp", L"cache", L"log", L"logs", L"config", L"settings", L"current", L"latest", L"release",
    L"debug", L"runtime", L"redist", L"drivers", L"core", L"main", L"common", L"shared", L"backup", L"packages",
    L"default", L"user", L"users",
    // Folders that many programs share.
    L"common files", L"programs", L"program files", L"microsoft", L"windows", L"system32", L"startup",
    L"accessories", L"administrative tools", L"maintenance"};

// "12", "1.2.3", "v2", "2024-01", "app-1.2.3": a version folder, named by
// no program.
bool IsVersion(std::wstring_view name) {
  for (const std::wstring_view prefix : {std::wstring_view(L"app-"), std::wstring_view(L"v")}) {
    if (name.starts_with(prefix)) {
      name.remove_prefix(prefix.size());
      break;
    }
  }
  const bool digit = std::any_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
  return digit && std::all_of(name.begin(), name.end(), [](wchar_t c) {
           return (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L'_';
         });
}

}  // namespace

bool IsGenericFolderName(const std::wstring& name) {
  const std::wstring text = LowerCase(Trim(name));
  // One or two letters ("x", "v2", "64") name nothing in particular.
  if (text.size() < 3 || IsVersion(text)) return true;
  return std::find(kGenericNames.begin(), kGenericNames.end(), text) != kGenericNames.end();
}

}  // namespace orvix
