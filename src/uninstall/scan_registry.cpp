#include "uninstall/scan_registry.h"

#include <cstring>
#include <string_view>

#include "formats/text_codec.h"
#include "platform/platform.h"
#include "platform/registry_views.h"
#include "platform/text.h"

namespace orvix {
namespace {

std::wstring StringText(const std::vector<BYTE>& data) {
  std::wstring text = FromUtf16Le(data.data(), data.size());
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::wstring BytesText(const std::vector<BYTE>& data) {
  std::size_t end = 0;
  while (end < data.size() && data[end] != 0) ++end;
  std::wstring text =
      CurrentPlatform().Locale().FromAnsi(std::string_view(reinterpret_cast<const char*>(data.data()), end));
  // Only blanks make the text useless; a control character still shows.
  if (text.find_first_not_of(L' ') != std::wstring::npos) return text;
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  text.clear();
  for (const BYTE byte : data) {
    if (byte >= 0x10) text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace

std::wstring ReadValueAsText(TRegistry& reg, const std::wstring& name) {
  if (reg.CurrentKey() == 0) return {};
  IRegistryApi& api = CurrentPlatform().Registry();
  DWORD type = 0;
  DWORD size = 0;
  if (api.QueryValue(reg.CurrentKey(), name, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return {};
  std::vector<BYTE> data(size);
  if (api.QueryValue(reg.CurrentKey(), name, &type, data.data(), &size) != ERROR_SUCCESS) return {};
  data.resize(size);
  if (data.empty()) return {};
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return StringText(data);
    case REG_DWORD:
      if (data.size() == 4) {
        std::int32_t value = 0;
        std::memcpy(&value, data.data(), sizeof value);
        return std::to_wstring(value);
      }
      return BytesText(data);
    default:
      return BytesText(data);
  }
}

TScanKey::TScanKey(HKEY root, const std::wstring& path, bool view64)
    : root_(root), view64_(view64), reg_(KEY_READ | (view64 ? KEY_WOW64_64KEY : 0)) {
  try {
    reg_.SetRootKey(root);
    open_ = reg_.OpenKeyReadOnly(path);
  } catch (const std::exception&) {
    open_ = false;
  }
}

std::vector<std::wstring> TScanKey::SubKeyNames() {
  std::vector<std::wstring> names;
  if (open_) reg_.GetKeyNames(names);
  return names;
}

std::vector<std::wstring> TScanKey::ValueNames() {
  std::vector<std::wstring> names;
  if (open_) reg_.GetValueNames(names);
  return names;
}

bool TScanKey::HasSubKey(const std::wstring& name) { return open_ && reg_.KeyExists(name); }

bool TScanKey::HasValue(const std::wstring& name) { return open_ && reg_.ValueExists(name); }

bool TScanKey::HoldsText(const std::wstring& name) {
  if (!open_) return false;
  const TRegDataType type = reg_.GetDataType(name);
  return type == rdString || type == rdExpandString;
}

std::wstring TScanKey::ValueText(const std::wstring& name) { return open_ ? ReadValueAsText(reg_, name) : L""; }

std::wstring TScanKey::SubKeyDefault(const std::wstring& name) {
  if (!open_) return {};
  TScanKey sub(root_, Below(name), view64_);
  return sub.ValueText(L"");
}

namespace {

// The first path element at or after `from`, and where the next one starts.
std::wstring_view Element(std::wstring_view path, std::size_t from) {
  const std::size_t end = path.find(L'\\', from);
  return path.substr(from, end == std::wstring_view::npos ? std::wstring_view::npos : end - from);
}

// In the 32-bit view, a class path ("CLSID\{x}") of a redirected class
// lives below Wow6432Node.
std::wstring RedirectedClassPath(const std::wstring& classPath) {
  return IsRedirectedClass(Element(classPath, 0)) ? L"WOW6432NODE\\" + classPath : classPath;
}

}  // namespace

std::wstring RegistryKeyIdentity(HKEY root, const std::wstring& keyPath, bool view64, bool wow64Machine) {
  std::wstring path = UpperCase(keyPath);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  if (wow64Machine && !view64) {
    static constexpr std::wstring_view kSoftware = L"SOFTWARE\\";
    const bool underSoftware = path.starts_with(kSoftware);
    const bool classes = underSoftware && Element(path, kSoftware.size()) == L"CLASSES";
    if (root == HKEY_CLASSES_ROOT) {
      path = RedirectedClassPath(path);
    } else if ((root == HKEY_LOCAL_MACHINE || root == HKEY_CURRENT_USER) && classes) {
      const std::size_t rest = kSoftware.size() + 8;  // after "SOFTWARE\CLASSES\"
      if (path.size() > rest) path = path.substr(0, rest) + RedirectedClassPath(path.substr(rest));
    } else if (root == HKEY_LOCAL_MACHINE && underSoftware && Element(path, kSoftware.size()) != L"WOW6432NODE") {
      path.insert(kSoftware.size(), L"WOW6432NODE\\");
    }
  }
  return std::to_wstring(root) + L":" + path;
}

}  // namespace orvix
