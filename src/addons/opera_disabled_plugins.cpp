#include "addons/opera_disabled_plugins.h"

#include <algorithm>

#include "addons/browser_text_file.h"
#include "formats/ini_text.h"
#include "platform/text.h"
#include "platform/text_split.h"

namespace orvix {
namespace {

constexpr wchar_t kSection[] = L"User Prefs";
constexpr wchar_t kKey[] = L"Disabled Plugins";

}  // namespace

std::vector<std::wstring> SplitDisabledPlugins(std::wstring_view value) {
  std::vector<std::wstring> list;
  for (const std::wstring& part : SplitText(value, L';')) {
    std::wstring path = Trim(part);
    if (!path.empty()) list.push_back(std::move(path));
  }
  return list;
}

bool IsPluginDisabled(const std::vector<std::wstring>& list, std::wstring_view path) {
  const std::wstring wanted = Trim(path);
  return std::any_of(list.begin(), list.end(), [&wanted](const std::wstring& p) { return SameText(p, wanted); });
}

std::wstring JoinDisabledPlugins(const std::vector<std::wstring>& list) {
  std::wstring value;
  for (const std::wstring& path : list) value += path + L";";
  return value;
}

std::vector<std::wstring> ReadDisabledPlugins(const std::wstring& operaPrefs) {
  TBrowserTextFile file;
  if (!ReadBrowserTextFile(operaPrefs, file)) return {};
  return SplitDisabledPlugins(IniText(file.text).ReadString(kSection, kKey, L""));
}

bool SetPluginDisabled(const std::wstring& operaPrefs, const std::wstring& path, bool disabled) {
  TBrowserTextFile file;
  if (!ReadBrowserTextFile(operaPrefs, file)) return false;
  IniText ini(file.text);
  std::vector<std::wstring> list = SplitDisabledPlugins(ini.ReadString(kSection, kKey, L""));
  if (IsPluginDisabled(list, path) == disabled) return true;
  if (disabled) {
    list.push_back(Trim(path));
  } else {
    const std::wstring wanted = Trim(path);
    std::erase_if(list, [&wanted](const std::wstring& p) { return SameText(p, wanted); });
  }
  ini.Write(kSection, kKey, JoinDisabledPlugins(list));
  file.text = ini.Text();
  return WriteBrowserTextFile(operaPrefs, file);
}

}  // namespace orvix
