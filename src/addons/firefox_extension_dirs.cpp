#include "addons/firefox_extension_dirs.h"

#include "addons/browser_text_file.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr wchar_t kSection[] = L"ExtensionDirs";

}  // namespace

bool ListExtensionDir(IniText& ini, const std::wstring& folder, bool listed) {
  const std::vector<std::wstring> keys = ini.KeyNames(kSection);
  bool changed = false;
  bool present = false;
  for (const std::wstring& key : keys) {
    if (!SameText(ini.ReadString(kSection, key, L""), folder)) continue;
    present = true;
    if (!listed) changed = ini.Remove(kSection, key) || changed;
  }
  if (!listed || present) return changed;
  std::size_t number = keys.size();
  const auto taken = [&keys](const std::wstring& name) {
    for (const std::wstring& key : keys) {
      if (SameText(key, name)) return true;
    }
    return false;
  };
  while (taken(L"Extension" + std::to_wstring(number))) ++number;
  ini.Write(kSection, L"Extension" + std::to_wstring(number), folder);
  return true;
}

bool ListExtensionDirInFile(const std::wstring& iniPath, const std::wstring& folder, bool listed) {
  if (!FileExists(iniPath)) return true;
  TBrowserTextFile file;
  if (!ReadBrowserTextFile(iniPath, file)) return false;
  IniText ini(file.text);
  if (!ListExtensionDir(ini, folder, listed)) return true;
  file.text = ini.Text();
  return WriteBrowserTextFile(iniPath, file);
}

}  // namespace orvix
