#include "inventory/software_enumeration.h"

#include <array>
#include <deque>
#include <string>

#include "inventory/uninstall_entry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr std::array<const wchar_t*, 2> kRoots = {L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_USER"};

// Every key below the Uninstall key is read as an entry, breadth first as
// RegListKeyTree lists them. The entries open relative to the Uninstall key;
// the rare keys below them by their whole path.
void ReadView(TSoftList& entries, bool view64) {
  for (const wchar_t* root : kRoots) {
    std::deque<std::wstring> deeper;
    const auto read = [&](const TKeyValueReader& key, const std::wstring& path) {
      if (std::optional<TSoftInfo> entry = ReadUninstallEntry(key, root, path, view64))
        entries.push_back(std::make_unique<TSoftInfo>(std::move(*entry)));
      for (const std::wstring& name : key.SubKeyNames()) deeper.push_back(path + L"\\" + name);
    };
    // The Uninstall key itself holds every program's entry: a broken
    // installer that writes its name there names no key of its own.
    const TKeyValueReader uninstall(root, kUninstallKeyPath, view64);
    for (const std::wstring& name : uninstall.SubKeyNames())
      read(TKeyValueReader(uninstall, name), std::wstring(kUninstallKeyPath) + L"\\" + name);
    for (; !deeper.empty(); deeper.pop_front()) read(TKeyValueReader(root, deeper.front(), view64), deeper.front());
  }
}

// A text the key did not have: empty, or the placeholder put in its place.
bool Lacks(const std::wstring& text, const wchar_t* placeholder) { return text.empty() || text == placeholder; }

void Fill(std::wstring& kept, const std::wstring& dropped, const wchar_t* placeholder = L"") {
  if (Lacks(kept, placeholder) && !Lacks(dropped, placeholder)) kept = dropped;
}

}  // namespace

TSoftList EntriesWrittenIntoUninstallKeys() {
  TSoftList entries;
  for (const bool view64 : {false, true}) {
    if (view64 && !IsWow64()) break;
    for (const wchar_t* root : kRoots) {
      if (std::optional<TSoftInfo> entry = ReadUninstallEntry(root, kUninstallKeyPath, view64))
        entries.push_back(std::make_unique<TSoftInfo>(std::move(*entry)));
    }
  }
  return entries;
}

TSoftList EnumerateSoftware() {
  TSoftList entries;
  ReadView(entries, false);
  HideDuplicates(entries);
  if (IsWow64()) {
    ReadView(entries, true);
    HideDuplicates(entries);
  }
  return entries;
}

void HideDuplicates(TSoftList& entries) {
  std::vector<std::wstring> names;
  names.reserve(entries.size());
  for (const auto& entry : entries) names.push_back(UpperCase(entry->DisplayName));

  for (std::size_t i = 0; i < entries.size(); ++i) {
    TSoftInfo& earlier = *entries[i];
    if (earlier.Hidden) continue;
    // Parts of a Windows Installer product that Windows lists as components.
    if (earlier.IsSystemComponent && UpperCase(earlier.UninstallString).find(L"MSIEXEC.EXE /") != std::wstring::npos) {
      earlier.Hidden = true;
      continue;
    }
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      TSoftInfo& later = *entries[j];
      if (later.Hidden || names[j] != names[i]) continue;
      if (earlier.IsSystemComponent) {
        earlier.Hidden = true;
        MergeEntry(later, earlier);
        break;
      }
      later.Hidden = true;
      MergeEntry(earlier, later);
    }
  }
}

void MergeEntry(TSoftInfo& kept, const TSoftInfo& dropped) {
  // The placeholders of missing texts count as missing, so that the entry
  // kept shows what its namesake knows.
  Fill(kept.HelpLink, dropped.HelpLink, L"-");
  Fill(kept.Publisher, dropped.Publisher, L" ");
  Fill(kept.DisplayVersion, dropped.DisplayVersion, L"-");
  Fill(kept.URLInfoAbout, dropped.URLInfoAbout);
  Fill(kept.URLUpdateInfo, dropped.URLUpdateInfo);
  Fill(kept.InstallDateText, dropped.InstallDateText);
  if (kept.InstallDate == 0 && dropped.InstallDate != 0) kept.InstallDate = dropped.InstallDate;
  // Size and its text travel together; a size of 0 or less is unknown.
  if (kept.Size <= 0 && dropped.Size > 0) {
    kept.Size = dropped.Size;
    kept.SizeText = dropped.SizeText;
  }
  Fill(kept.DisplayIcon, dropped.DisplayIcon);
  Fill(kept.InstallLocation, dropped.InstallLocation);
  Fill(kept.Readme, dropped.Readme);
  if (kept.IconIndex == 0 && dropped.IconIndex != 0) kept.IconIndex = dropped.IconIndex;
}

}  // namespace orvix
