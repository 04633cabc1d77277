#include "inventory/uninstall_entry.h"

#include <algorithm>

#include "inventory/size_text.h"
#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "platform/view_paths.h"

namespace orvix {
namespace {

// Length of a product code in braces, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
constexpr std::size_t kProductCodeLength = 38;

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != std::wstring_view::npos; }

// Windows Installer's install switch becomes its remove switch.
std::wstring WithRemoveSwitch(std::wstring command) {
  constexpr std::wstring_view kInstall = L"MSIEXEC.EXE /I";
  const std::wstring upper = UpperCase(command);  // same length as the command
  for (std::size_t at = upper.find(kInstall); at != std::wstring::npos; at = upper.find(kInstall, at + 1)) {
    command.replace(at, kInstall.size(), L"MsiExec.exe /X");
  }
  return command;
}

bool IsUpdateEntry(const std::wstring& upperName, const std::wstring& upperPublisher) {
  return Contains(upperName, L"(KB") ||
         (Contains(upperName, L"SERVICE PACK") && Contains(upperPublisher, L"MICROSOFT"));
}

bool IsToolbarEntry(const std::wstring& upperName, const std::wstring& uninstallString) {
  // Our own toolbar's uninstaller, or the word however dashes and spaces break it.
  if (Contains(UpperCase(uninstallString), L"V9ORVIX.EXE")) return true;
  std::wstring squeezed = upperName;
  std::erase_if(squeezed, [](wchar_t c) { return c == L'-' || c == L' '; });
  return Contains(squeezed, L"TOOLBAR");
}

std::wstring OrPlaceholder(std::wstring text, const wchar_t* placeholder) {
  return text.empty() ? placeholder : text;
}

}  // namespace

std::optional<TDateTime> ParseInstallDate(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  std::wstring dashed = text;
  dashed.insert(std::min<std::size_t>(6, dashed.size()), 1, L'-');
  dashed.insert(std::min<std::size_t>(4, dashed.size()), 1, L'-');
  return ParseDate(dashed, TDateOrder::YearMonthDay, L'-');
}

std::optional<TSoftInfo> ReadUninstallEntry(const std::wstring& rootName, const std::wstring& keyPath, bool view64) {
  return ReadUninstallEntry(TKeyValueReader(rootName, keyPath, view64), rootName, keyPath, view64);
}

std::optional<TSoftInfo> ReadUninstallEntry(const TKeyValueReader& key, const std::wstring& rootName,
                                            const std::wstring& keyPath, bool view64) {
  // Every value through one open key: a long list reads thousands of them.
  if (!key.IsOpen()) return std::nullopt;
  const auto text = [&](const wchar_t* name) { return key.String(name); };
  // The paths as the entry's own program resolves them.
  const auto path = [&](const wchar_t* name) { return PathTextForView(text(name), view64); };

  const std::wstring name = Trim(text(L"DisplayName"));
  if (name.empty() || SameText(name, kOwnProtectionName)) return std::nullopt;

  std::wstring uninstall = path(L"UninstallString");
  if (Contains(UpperCase(uninstall), L"MSIEXEC.EXE /I")) uninstall = WithRemoveSwitch(uninstall);
  const std::wstring publisher = Trim(text(L"Publisher"));
  const std::int64_t systemComponent = key.Integer(L"SystemComponent");

  // A Windows Installer product registered under its product code, without
  // a command of its own.
  if (uninstall.empty() && keyPath.size() >= kProductCodeLength && systemComponent == 0) {
    const std::wstring code = keyPath.substr(keyPath.size() - kProductCodeLength);
    if (Contains(code, L"{") && Contains(code, L"}")) uninstall = L"MsiExec.exe /X " + code;
  }
  if (uninstall.empty()) return std::nullopt;
  // Controls that Windows registers with regsvr32 are no programs to remove.
  if (uninstall.starts_with(L"regsvr32") && Contains(LowerCase(publisher), L"microsoft")) return std::nullopt;

  TSoftInfo entry;
  entry.DisplayName = name;
  entry.HelpLink = OrPlaceholder(Trim(text(L"HelpLink")), L"-");
  entry.Publisher = OrPlaceholder(publisher, L" ");
  entry.DisplayVersion = OrPlaceholder(Trim(text(L"DisplayVersion")), L"-");
  entry.URLInfoAbout = text(L"URLInfoAbout");
  entry.URLUpdateInfo = text(L"URLUpdateInfo");
  entry.RootName = rootName;
  entry.KeyPath = keyPath;
  entry.UninstallString = uninstall;
  entry.DisplayIcon = path(L"DisplayIcon");
  entry.Readme = path(L"Readme");
  entry.Size = key.Integer(L"EstimatedSize") * 1024;
  // No size yet (or a nonsense negative one): the analysis measures it.
  if (entry.Size > 0) entry.SizeText = SizeToText(entry.Size);
  entry.IsX64 = view64;
  entry.IsSystemComponent = systemComponent == 1;
  entry.LastAccessDate = NowLocal();

  const std::wstring upperName = UpperCase(name);
  entry.IsUpdate = IsUpdateEntry(upperName, UpperCase(publisher));
  entry.IsToolbar = IsToolbarEntry(upperName, uninstall);

  entry.InstallLocation = path(L"InstallLocation");
  entry.RecordedInstallLocation = entry.InstallLocation;
  if (!entry.InstallLocation.empty() && !DirectoryExists(entry.InstallLocation))
    entry.InstallLocation = CleanInstallLocation(entry.InstallLocation);

  if (const std::optional<TDateTime> date = ParseInstallDate(text(L"InstallDate"))) {
    entry.InstallDate = *date;
    entry.InstallDateText = FormatShortDate(*date);
  }
  return entry;
}

}  // namespace orvix
