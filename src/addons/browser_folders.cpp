// Walks of browser profile folders and the Opera version lookup.
#include "addons/browser_folders.h"

#include <cwctype>
#include <functional>

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kUninstallKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring WithBackslash(const std::wstring& folder) {
  return !folder.empty() && folder.back() != L'\\' ? folder + L'\\' : folder;
}

// Visits the files below a folder depth first, entering each folder as it
// is met; the visitor answers false to stop. Links are never entered.
bool WalkTree(const std::wstring& folder, const std::function<bool(const std::wstring&, const FindData&)>& visit) {
  IFileSystem& files = CurrentPlatform().Files();
  const std::wstring base = WithBackslash(folder);
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(base + L"*.*", &data, &handle) != ERROR_SUCCESS) return true;
  TFindListing listing(files, handle);
  do {
    if (data.name == L"." || data.name == L"..") continue;
    const std::wstring path = base + data.name;
    if (data.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (!WalkTree(path, visit)) return false;
    } else if (!visit(path, data)) {
      return false;
    }
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
  return true;
}

// The first subkey of the Uninstall key under the root whose name holds
// "Opera"; empty when there is none.
std::wstring FirstOperaKey(TRegistry& registry) {
  if (!registry.OpenKeyReadOnly(kUninstallKey)) return {};
  std::vector<std::wstring> names;
  registry.GetKeyNames(names);
  registry.CloseKey();
  for (const std::wstring& name : names) {
    if (UpperCase(name).find(L"OPERA") != std::wstring::npos) return name;
  }
  return {};
}

}  // namespace

std::wstring FindFileInTree(const std::wstring& folder, const std::wstring& fileName) {
  std::wstring found;
  WalkTree(folder, [&](const std::wstring& path, const FindData& data) {
    if (!SameText(data.name, fileName)) return true;
    found = path;
    return false;
  });
  return found;
}

void ListFilesInTree(const std::wstring& folder, std::vector<std::wstring>& list) {
  WalkTree(folder, [&](const std::wstring& path, const FindData&) {
    list.push_back(path);
    return true;
  });
}

int LeadingNumber(const std::wstring& text) {
  const std::size_t dot = text.find(L'.');
  if (dot == std::wstring::npos) return 0;
  const std::wstring digits = text.substr(0, dot);
  if (digits.empty() || digits.size() > 9) return -1;
  for (const wchar_t c : digits) {
    if (!std::iswdigit(c)) return -1;
  }
  return std::stoi(digits);
}

int OperaMajorVersion() {
  try {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    std::wstring name = FirstOperaKey(registry);
    if (!name.empty()) {
      if (!registry.OpenKeyReadOnly(std::wstring(kUninstallKey) + L"\\" + name)) return -1;
      if (UpperCase(registry.ReadString(L"DisplayName")).find(L"NEXT") != std::wstring::npos) return 12;
      return LeadingNumber(registry.ReadString(L"DisplayVersion"));
    }
    registry.SetRootKey(HKEY_CURRENT_USER);
    name = FirstOperaKey(registry);
    if (name.empty() || !registry.OpenKeyReadOnly(std::wstring(kUninstallKey) + L"\\" + name)) return -1;
    return LeadingNumber(registry.ReadString(L"DisplayVersion"));
  } catch (const ERegistryException&) {
    return -1;
  }
}

}  // namespace orvix
