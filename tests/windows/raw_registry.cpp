#include "windows/raw_registry.h"

#include <array>
#include <atomic>
#include <utility>

#include "platform/win_types.h"
#include "platform/win32/windows_api.h"

// Outside namespace orvix, where the root key macros' HKEY is Win32's.
namespace {

struct OpenedPath {
  ::HKEY root = nullptr;
  std::wstring subKey;
};

OpenedPath SplitRoot(const std::wstring& keyText) {
  static const std::array<std::pair<const wchar_t*, ::HKEY>, 5> roots{{
      {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {L"HKEY_USERS", HKEY_USERS},
      {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
  }};
  const std::size_t slash = keyText.find(L'\\');
  const std::wstring rootName = keyText.substr(0, slash);
  for (const auto& [name, handle] : roots) {
    if (rootName == name) return {handle, slash == std::wstring::npos ? L"" : keyText.substr(slash + 1)};
  }
  return {};
}

bool StartsWithText(const std::wstring& text, const std::wstring& start) {
  return text.size() >= start.size() && ::CompareStringOrdinal(text.c_str(), static_cast<int>(start.size()),
                                                               start.c_str(), static_cast<int>(start.size()),
                                                               TRUE) == CSTR_EQUAL;
}

// A key and view as the helpers stand for them: kView32 is where a 32-bit
// program finds the key. Under Wine a 64-bit program's KEY_WOW64_32KEY puts
// every class below Classes\Wow6432Node, while Wine's 32-bit programs, like
// Windows, go there only for the classes that Classes\Wow6432Node holds
// (CLSID, Interface, ...) and share the rest with the 64-bit view.
std::pair<std::wstring, unsigned> AsSeen(const std::wstring& keyText, unsigned view) {
  if (sizeof(void*) != 8 || view != orvix::test::kView32 || !orvix::test::RunningUnderWine()) return {keyText, view};
  static const std::wstring kMachineClasses = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
  static const std::wstring kClassesRoot = L"HKEY_CLASSES_ROOT\\";
  std::wstring below;
  if (StartsWithText(keyText, kMachineClasses)) below = keyText.substr(kMachineClasses.size());
  else if (StartsWithText(keyText, kClassesRoot)) below = keyText.substr(kClassesRoot.size());
  if (below.empty()) return {keyText, view};
  const std::wstring first = below.substr(0, below.find(L'\\'));
  ::HKEY redirected = nullptr;
  const std::wstring wow = L"SOFTWARE\\Classes\\Wow6432Node\\" + first;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, wow.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &redirected) == ERROR_SUCCESS) {
    ::RegCloseKey(redirected);
    return {keyText, view};
  }
  return {kMachineClasses + below, orvix::test::kView64};
}

// An open key, closed when it goes out of scope.
class RawKey {
 public:
  RawKey(const std::wstring& asNamed, REGSAM access, unsigned viewAsNamed, bool create) {
    const auto [keyText, view] = AsSeen(asNamed, viewAsNamed);
    const OpenedPath path = SplitRoot(keyText);
    if (path.root == nullptr) return;
    const REGSAM sam = access | view;
    status_ = create ? ::RegCreateKeyExW(path.root, path.subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, sam,
                                         nullptr, &key_, nullptr)
                     : ::RegOpenKeyExW(path.root, path.subKey.c_str(), 0, sam, &key_);
  }
  ~RawKey() {
    if (status_ == ERROR_SUCCESS) ::RegCloseKey(key_);
  }
  RawKey(const RawKey&) = delete;
  RawKey& operator=(const RawKey&) = delete;

  bool ok() const { return status_ == ERROR_SUCCESS; }
  ::HKEY get() const { return key_; }

 private:
  ::HKEY key_ = nullptr;
  LSTATUS status_ = ERROR_INVALID_HANDLE;
};

std::wstring ParentOf(const std::wstring& keyText) {
  const std::size_t slash = keyText.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : keyText.substr(0, slash);
}

}  // namespace

namespace orvix::test {

bool RawCreateKey(const std::wstring& keyText, unsigned view) { return RawKey(keyText, KEY_READ, view, true).ok(); }

bool RawKeyExists(const std::wstring& keyText, unsigned view) { return RawKey(keyText, KEY_READ, view, false).ok(); }

bool RawSetString(const std::wstring& keyText, const std::wstring& name, const std::wstring& data, unsigned view) {
  RawKey key(keyText, KEY_SET_VALUE, view, true);
  const auto bytes = static_cast<::DWORD>((data.size() + 1) * sizeof(wchar_t));
  return key.ok() && ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                      bytes) == ERROR_SUCCESS;
}

bool RawSetDword(const std::wstring& keyText, const std::wstring& name, unsigned value, unsigned view) {
  RawKey key(keyText, KEY_SET_VALUE, view, true);
  const ::DWORD data = value;
  return key.ok() && ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                      sizeof data) == ERROR_SUCCESS;
}

std::wstring RawReadString(const std::wstring& keyText, const std::wstring& name, unsigned view) {
  RawKey key(keyText, KEY_QUERY_VALUE, view, false);
  if (!key.ok()) return {};
  ::DWORD type = 0;
  ::DWORD size = 0;
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  data.resize(data.find(L'\0'));
  return data;
}

bool RawDeleteValue(const std::wstring& keyText, const std::wstring& name, unsigned view) {
  RawKey key(keyText, KEY_SET_VALUE, view, false);
  return key.ok() && ::RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool RawDeleteTree(const std::wstring& keyText, unsigned view) {
  {
    RawKey key(keyText, KEY_ALL_ACCESS, view, false);
    if (!key.ok()) return true;
    ::RegDeleteTreeW(key.get(), nullptr);  // what is below the key, not the key itself
  }
  const auto [seenText, seenView] = AsSeen(keyText, view);
  const OpenedPath path = SplitRoot(seenText);
  ::RegDeleteKeyExW(path.root, path.subKey.c_str(), seenView, 0);
  return !RawKeyExists(keyText, view);
}

std::wstring UniqueKeyName() {
  static std::atomic<unsigned> counter{0};
  return L"OrvixTest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TestKey::TestKey(std::wstring keyText, unsigned view) : text_(std::move(keyText)), view_(view) {
  for (std::wstring key = text_; !key.empty() && !RawKeyExists(key, view_); key = ParentOf(key)) topmostNew_ = key;
}

TestKey::~TestKey() {
  if (!topmostNew_.empty()) RawDeleteTree(topmostNew_, view_);
}

}  // namespace orvix::test
