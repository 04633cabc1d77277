#include "inventory/analysis_icon.h"

#include <algorithm>
#include <charconv>
#include <cwctype>

#include "platform/app_frame.h"
#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::size_t kProductCodeLength = 38;  // "{" + 32 digits + 4 dashes + "}"

bool IsBracedGuid(const std::wstring& text) {
  if (text.size() != kProductCodeLength || text.front() != L'{' || text.back() != L'}') return false;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != L'-' : !std::iswxdigit(text[i])) return false;
  }
  return true;
}

void ReplaceAll(std::wstring& text, std::wstring_view what, std::wstring_view with) {
  for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

// A whole decimal integer with an optional sign; 0 for anything else.
std::int32_t IconIndexOf(const std::wstring& text) {
  std::string ascii;
  for (const wchar_t c : text) {
    if (c > 0x7F) return 0;
    ascii += static_cast<char>(c);
  }
  const char* first = ascii.data() + (!ascii.empty() && ascii.front() == '+' ? 1 : 0);
  const char* last = ascii.data() + ascii.size();
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last ? value : 0;
}

// The first executable in the folder whose name starts like the program's
// (up to five characters of its name without spaces).
std::wstring ExecutableNamedLike(const std::wstring& folder, const std::wstring& displayName) {
  std::wstring prefix = displayName;
  std::erase(prefix, L' ');
  prefix.resize(std::min<std::size_t>(prefix.size(), 5));
  IFileSystem& files = CurrentPlatform().Files();
  FindData data;
  FindHandle find = 0;
  if (files.FindFirst(folder + prefix + L"*.EXE", &data, &find) != ERROR_SUCCESS) return {};
  std::wstring found;
  do {
    if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) found = folder + data.name;
  } while (found.empty() && files.FindNext(find, &data) == ERROR_SUCCESS);
  files.FindClose(find);
  return found;
}

}  // namespace

std::wstring PackedProductCode(const std::wstring& productCode) {
  if (!IsBracedGuid(productCode)) return {};
  std::wstring digits = productCode.substr(1, kProductCodeLength - 2);
  std::erase(digits, L'-');
  std::wstring packed;
  for (const auto& [start, length] : {std::pair{0, 8}, std::pair{8, 4}, std::pair{12, 4}}) {
    std::wstring group = digits.substr(start, length);
    std::reverse(group.begin(), group.end());
    packed += group;
  }
  for (std::size_t i = 16; i < digits.size(); i += 2) {
    packed += digits[i + 1];
    packed += digits[i];
  }
  return packed;
}

std::wstring InstallerProductIcon(const TSoftInfo& entry) {
  if (entry.KeyPath.size() <= kProductCodeLength) return {};
  const std::wstring packed = PackedProductCode(entry.KeyPath.substr(entry.KeyPath.size() - kProductCodeLength));
  if (packed.empty()) return {};
  std::wstring icon = RegReadStringAt(L"HKEY_CLASSES_ROOT", L"\\Installer\\Products\\" + packed, L"ProductIcon", false);
  if (icon.empty())
    icon = RegReadStringAt(L"HKEY_CURRENT_USER", L"\\Software\\Microsoft\\Installer\\Products\\" + packed,
                           L"ProductIcon", false);
  if (icon.find(L'%') != std::wstring::npos) icon = ExpandFolderMacros(icon).text;
  return icon;
}

TIconSource FindIconSource(const TSoftInfo& entry) {
  TIconSource source;
  std::wstring text = entry.DisplayIcon;
  // A cached icon is kept as a bare file with its index beside it.
  source.index = entry.IconIndex;
  if (text.empty() && UpperCase(entry.UninstallString).find(L"MSIEXEC.EXE /") != std::wstring::npos) {
    text = InstallerProductIcon(entry);
    source.index = 0;
  }
  if (!text.empty()) {
    std::erase(text, L'"');
    if (const std::size_t lastComma = text.rfind(L','); lastComma != std::wstring::npos) {
      source.index = IconIndexOf(Trim(std::wstring_view(text).substr(lastComma + 1)));
      text.resize(text.find(L','));
    }
    ReplaceAll(text, L"\\\\", L"\\");
  } else {
    source.index = 0;
    const std::wstring folder = FolderFromUninstallCommand(entry.UninstallString, entry.DisplayIcon, entry.Readme);
    if (!folder.empty()) text = ExecutableNamedLike(folder, entry.DisplayName);
    if (text.empty()) text = entry.UninstallString;
  }
  source.file = CommandToFilePath(text);
  if (!FileExists(source.file)) return {};
  return source;
}

TOwnedIcons& TOwnedIcons::operator=(TOwnedIcons&& other) noexcept {
  if (this != &other) {
    Reset();
    icons_ = other.icons_;
    other.icons_ = {};
  }
  return *this;
}

void TOwnedIcons::Reset() {
  IIconApi* api = icons_.large != 0 || icons_.small != 0 ? &CurrentPlatform().Icons() : nullptr;
  if (icons_.large != 0) api->DestroyIcon(icons_.large);
  if (icons_.small != 0 && icons_.small != icons_.large) api->DestroyIcon(icons_.small);
  icons_ = {};
}

TOwnedIcons LoadIcons(const TIconSource& source) {
  if (source.file.empty()) return {};
  IIconApi& api = CurrentPlatform().Icons();
  TOwnedIcons icons(api.ExtractIcons(source.file, source.index));
  if (icons.Complete()) return icons;
  icons.Reset();
  const IconHandle shell = api.ShellIcon(source.file);
  return TOwnedIcons(IconPair{shell, shell});
}

}  // namespace orvix
