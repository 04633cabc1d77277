#include "inventory/rating_user_assist.h"

#include <algorithm>

#include "inventory/rating_shortcut.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr const wchar_t* kUserAssistRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\";
constexpr const wchar_t* kOlderKeys[] = {L"{5E6AB780-7743-11CF-A12B-00AA004AE837}",
                                         L"{75048700-EF1F-11D0-9888-006097DEACF9}"};
constexpr const wchar_t* kNewerKeys[] = {L"{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}",
                                         L"{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}"};
constexpr const wchar_t* kOsNames[] = {L"Windows NT", L"Windows 2000", L"Windows XP", L"Windows 2003 Server",
                                       L"Windows Vista"};

constexpr std::size_t kNewerTimeAt = 60;
constexpr std::size_t kOlderTimeAt = 8;
// UserAssist data is 16 or 72 bytes; far larger values are not read.
constexpr DWORD kMaxDataSize = 1 << 16;

constexpr FILETIME64 kTicksPerSecond = 10000000;
constexpr double kSecondsPerDay = 86400;
constexpr double kDaysFrom1601To1899 = 109205;  // 1601-01-01 to 1899-12-30

// What Windows writes in front of the path, by kind of start.
constexpr const wchar_t* kKindPrefixes[] = {L"UEME_CTLSESSION:", L"UEME_UIQCUT:",  L"UEME_UISCUT:",
                                            L"UEME_RUNCPL:",     L"UEME_RUNPATH:", L"UEME_RUNPIDL:",
                                            L"UEME_UITOOLBAR:"};

// A 32-bit program is told no 64-bit Program Files folder; the environment
// of 64-bit Windows still names it, and starts from there are the most common.
constexpr const wchar_t* kProgramFilesX64 = L"{6D809377-6AF0-444B-8957-A3773F02200E}";
constexpr const wchar_t* kProgramFilesCommonX64 = L"{6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D}";

std::wstring KnownFolderPath(const std::wstring& guid) {
  IShellApi& shell = CurrentPlatform().Shell();
  std::wstring path = shell.GetKnownFolderPath(guid);
  if (path.empty() && SameText(guid, kProgramFilesX64))
    path = shell.GetEnvironmentVariable(L"ProgramW6432").value_or(L"");
  if (path.empty() && SameText(guid, kProgramFilesCommonX64))
    path = shell.GetEnvironmentVariable(L"CommonProgramW6432").value_or(L"");
  return path;
}

// The folder part as the file name functions cut it: up to the last "\" or ":".
std::wstring FolderPart(const std::wstring& path) {
  const std::size_t end = path.find_last_of(L"\\:");
  return end == std::wstring::npos ? std::wstring{} : path.substr(0, end + 1);
}

void RemoveAll(std::wstring& text, std::wstring_view part) {
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at))
    text.erase(at, part.size());
}

// FileTimeToLocalFileTime, FileTimeToDosDateTime and back to a date-time.
std::optional<TDateTime> DosLocalDate(FILETIME64 utc) {
  if (utc == 0) return std::nullopt;
  const FILETIME64 local = CurrentPlatform().Clock().ToLocal(utc);
  FILETIME64 seconds = local / kTicksPerSecond;
  seconds -= seconds % 2;
  const TDateTime date = static_cast<double>(seconds) / kSecondsPerDay - kDaysFrom1601To1899;
  static const TDateTime first = *EncodeDate(1980, 1, 1);
  static const TDateTime pastLast = *EncodeDate(2108, 1, 1);
  if (date < first || date >= pastLast) return std::nullopt;
  return date;
}

class OpenedKey {
 public:
  OpenedKey(IRegistryApi& api, const std::wstring& path, REGSAM access) : api_(api) {
    if (api_.OpenKey(HKEY_CURRENT_USER, path, access, &key_) != ERROR_SUCCESS) key_ = 0;
  }
  ~OpenedKey() {
    if (key_ != 0) api_.CloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;

  HKEY Get() const { return key_; }

 private:
  IRegistryApi& api_;
  HKEY key_ = 0;
};

bool ReadValueData(IRegistryApi& api, HKEY key, const std::wstring& name, Bytes& data) {
  DWORD type = 0;
  DWORD size = 0;
  if (api.QueryValue(key, name, &type, nullptr, &size) != ERROR_SUCCESS || size > kMaxDataSize) return false;
  data.assign(size, 0);
  if (size == 0) return true;
  DWORD got = size;
  if (api.QueryValue(key, name, &type, data.data(), &got) != ERROR_SUCCESS) return false;
  data.resize(std::min(got, size));
  return true;
}

void ReadKey(const std::wstring& path, int osKind, std::vector<TUserAssistStart>& starts) {
  IRegistryApi& api = CurrentPlatform().Registry();
  const OpenedKey key(api, path, KEY_READ | (IsWow64() ? KEY_WOW64_64KEY : 0));
  if (key.Get() == 0) return;
  std::wstring name;
  Bytes data;
  for (DWORD index = 0; api.EnumValue(key.Get(), index, &name) == ERROR_SUCCESS; ++index) {
    if (!ReadValueData(api, key.Get(), name, data) || data.empty()) continue;
    const auto lastStart = UserAssistLastStart(data, osKind);
    if (!lastStart) continue;
    std::wstring folder = UserAssistFolder(Rot13(name));
    if (!folder.empty()) starts.push_back({std::move(folder), *lastStart});
  }
}

}  // namespace

int UserAssistOsKind() {
  const std::wstring name = OsName();
  for (int kind = 0; kind < kOsKindNewer; ++kind) {
    if (SameText(name, kOsNames[kind])) return kind;
  }
  return kOsKindNewer;
}

std::vector<std::wstring> UserAssistKeys(int osKind) {
  const auto& ids = osKind == kOsKindNewer ? kNewerKeys : kOlderKeys;
  std::vector<std::wstring> keys;
  for (const wchar_t* id : ids) keys.push_back(kUserAssistRoot + std::wstring(id) + L"\\Count");
  return keys;
}

std::wstring Rot13(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(L'A' + (c - L'A' + 13) % 26);
    else if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(L'a' + (c - L'a' + 13) % 26);
  }
  return out;
}

std::optional<TDateTime> UserAssistLastStart(const Bytes& data, int osKind) {
  const std::size_t at = osKind == kOsKindNewer ? kNewerTimeAt : kOlderTimeAt;
  if (data.size() < at + sizeof(FILETIME64)) return std::nullopt;
  FILETIME64 time = 0;
  for (std::size_t i = sizeof(FILETIME64); i-- > 0;) time = time << 8 | data[at + i];
  return DosLocalDate(time);
}

std::wstring UserAssistFolder(std::wstring name) {
  const std::size_t open = name.find(L'{');
  const std::size_t close = open == std::wstring::npos ? open : name.find(L'}', open);
  if (close != std::wstring::npos) {
    const std::wstring path = KnownFolderPath(name.substr(open, close - open + 1));
    if (path.empty()) return {};
    name.erase(open, close - open + 1);
    name.insert(0, path);
  }
  if (EndsWithText(name, L".lnk")) {
    name = ShortcutTargetPath(name);
    if (name.empty()) return {};
  }
  std::wstring folder = FolderPart(name);
  for (const wchar_t* prefix : kKindPrefixes) RemoveAll(folder, prefix);
  if (folder.empty()) return {};
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::vector<TUserAssistStart> ReadUserAssist(int osKind) {
  std::vector<TUserAssistStart> starts;
  for (const std::wstring& key : UserAssistKeys(osKind)) ReadKey(key, osKind, starts);
  return starts;
}

}  // namespace orvix
