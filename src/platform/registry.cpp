#include "platform/registry.h"

#include <cstring>
#include <utility>

#include "formats/text_codec.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/registry_views.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr REGSAM kReadControlQueryEnum = READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

std::wstring Format(const wchar_t* pattern, const std::wstring& name) {
  std::wstring text(pattern);
  text.replace(text.find(L"%s"), 2, name);
  return text;
}

[[noreturn]] void RaiseGetError(const std::wstring& name) {
  throw ERegistryException(Format(L"Failed to get data for '%s'", name));
}
[[noreturn]] void RaiseSetError(const std::wstring& name) {
  throw ERegistryException(Format(L"Failed to set data for '%s'", name));
}
[[noreturn]] void RaiseTypeError(const std::wstring& name) {
  throw ERegistryException(Format(L"Invalid data type for '%s'", name));
}

TRegDataType DataTypeOf(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

// Text of string data: whole UTF-16 units up to the first NUL.
std::wstring StringFromData(const BYTE* data, DWORD size) {
  std::wstring text = FromUtf16Le(data, size);
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

}  // namespace

ERegistryException::ERegistryException(std::wstring message)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : Access(access) {}

TRegistry::~TRegistry() {
  CloseKey();
  if (CloseRootKey) Api().CloseKey(rootKey_);
}

std::optional<std::wstring> QueryStringValue(HKEY key, const std::wstring& name) {
  // Most texts fit the first buffer; a longer one costs one more query.
  constexpr DWORD kFirstTry = 512;
  IRegistryApi& api = CurrentPlatform().Registry();
  std::vector<BYTE> buffer(kFirstTry + 2, 0);
  DWORD type = 0;
  DWORD size = kFirstTry;
  LSTATUS status = api.QueryValue(key, name, &type, buffer.data(), &size);
  if (status == ERROR_MORE_DATA) {
    buffer.assign(static_cast<std::size_t>(size) + 2, 0);
    status = api.QueryValue(key, name, &type, buffer.data(), &size);
  }
  const TRegDataType kind = DataTypeOf(type);
  if (status != ERROR_SUCCESS || (kind != rdString && kind != rdExpandString)) return std::nullopt;
  return StringFromData(buffer.data(), size);
}

std::optional<std::int32_t> QueryIntegerValue(HKEY key, const std::wstring& name) {
  BYTE buffer[4] = {0, 0, 0, 0};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  // A longer value answers ERROR_MORE_DATA; a REG_DWORD of another size holds no number.
  if (CurrentPlatform().Registry().QueryValue(key, name, &type, buffer, &size) != ERROR_SUCCESS ||
      DataTypeOf(type) != rdInteger || size != sizeof buffer)
    return std::nullopt;
  std::uint32_t value = 0;
  std::memcpy(&value, buffer, sizeof value);
  return static_cast<std::int32_t>(value);
}

std::vector<std::wstring> SubKeyNamesOf(HKEY key) {
  IRegistryApi& api = CurrentPlatform().Registry();
  std::vector<std::wstring> names;
  RegKeyInfo info;
  if (api.QueryInfoKey(key, &info) != ERROR_SUCCESS) return names;
  for (DWORD i = 0; i < info.subKeys; ++i) {
    std::wstring name;
    if (api.EnumKey(key, i, &name) == ERROR_SUCCESS) names.push_back(std::move(name));
  }
  return names;
}

IRegistryApi& TRegistry::Api() const { return CurrentPlatform().Registry(); }

void TRegistry::SetRootKey(HKEY root) {
  if (root == rootKey_) return;
  if (CloseRootKey) {
    Api().CloseKey(rootKey_);
    CloseRootKey = false;
  }
  rootKey_ = root;
  CloseKey();
}

TRegistry::SplitPath TRegistry::Split(const std::wstring& path) const {
  const bool relative = path.empty() || path[0] != L'\\';
  const HKEY base = (relative && currentKey_ != 0) ? currentKey_ : rootKey_;
  SplitPath split{base, relative ? path : path.substr(1), relative, Access & KEY_WOW64_RES};
  if ((split.view & KEY_WOW64_64KEY) != 0) return split;
  // A class key of the 32-bit view is opened from the root, by its whole
  // path: a shared one in the 64-bit view, which is the same key on Windows.
  // Wine's 64-bit programs would otherwise find every class of the 32-bit
  // view below Wow6432Node, where Windows and Wine's 32-bit programs keep
  // only the redirected ones.
  const std::wstring whole = WholePath(split);
  const ClassKeyKind kind = ClassKeyKindOf(rootKey_, whole);
  if (kind == ClassKeyKind::NotAClass || !IsWow64()) return split;
  return {rootKey_, whole, false, kind == ClassKeyKind::Shared ? KEY_WOW64_64KEY : split.view};
}

std::wstring TRegistry::WholePath(const SplitPath& split) const {
  if (!split.relative || currentKey_ == 0) return split.subKey;
  return split.subKey.empty() ? currentPath_ : currentPath_ + L"\\" + split.subKey;
}

void TRegistry::ChangeKey(HKEY key, const std::wstring& path) {
  CloseKey();
  currentKey_ = key;
  currentPath_ = path;
}

bool TRegistry::OpenKey(const std::wstring& path, bool canCreate) {
  const SplitPath split = Split(path);
  HKEY key = 0;
  const REGSAM access = (Access & ~KEY_WOW64_RES) | split.view;
  const LSTATUS status = (!canCreate || split.subKey.empty())
                             ? Api().OpenKey(split.base, split.subKey, access, &key)
                             : Api().CreateKey(split.base, split.subKey, access, &key);
  if (status != ERROR_SUCCESS) return false;
  ChangeKey(key, WholePath(split));
  return true;
}

bool TRegistry::TryOpenReadOnly(const SplitPath& split, REGSAM mask) {
  HKEY key = 0;
  if (Api().OpenKey(split.base, split.subKey, mask | split.view, &key) != ERROR_SUCCESS) return false;
  Access = mask | (Access & KEY_WOW64_RES);
  ChangeKey(key, WholePath(split));
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& path) {
  const SplitPath split = Split(path);
  return TryOpenReadOnly(split, KEY_READ) || TryOpenReadOnly(split, kReadControlQueryEnum) ||
         TryOpenReadOnly(split, KEY_QUERY_VALUE);
}

bool TRegistry::KeyExists(const std::wstring& path) {
  const SplitPath split = Split(path);
  HKEY key = 0;
  if (Api().OpenKey(split.base, split.subKey, kReadControlQueryEnum | split.view, &key) != ERROR_SUCCESS) return false;
  Api().CloseKey(key);
  return true;
}

bool TRegistry::KeyMissing(const std::wstring& path) {
  const SplitPath split = Split(path);
  HKEY key = 0;
  const LSTATUS status = Api().OpenKey(split.base, split.subKey, kReadControlQueryEnum | split.view, &key);
  if (status == ERROR_SUCCESS) Api().CloseKey(key);
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

void TRegistry::CloseKey() {
  if (currentKey_ == 0) return;
  if (!LazyWrite) Api().FlushKey(currentKey_);
  Api().CloseKey(currentKey_);
  currentKey_ = 0;
  currentPath_.clear();
}

LSTATUS TRegistry::QueryRaw(const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) const {
  return Api().QueryValue(currentKey_, name, type, data, size);
}

bool TRegistry::ValueExists(const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  return QueryRaw(name, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool TRegistry::ValueMissing(const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  return QueryRaw(name, &type, nullptr, &size) == ERROR_FILE_NOT_FOUND;
}

int TRegistry::GetDataSize(const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (QueryRaw(name, &type, nullptr, &size) != ERROR_SUCCESS) return -1;
  return static_cast<int>(size);
}

TRegDataType TRegistry::GetDataType(const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (QueryRaw(name, &type, nullptr, &size) != ERROR_SUCCESS) return rdUnknown;
  return DataTypeOf(type);
}

bool TRegistry::GetKeyInfo(RegKeyInfo& info) {
  info = RegKeyInfo{};
  if (currentKey_ == 0) return false;
  return Api().QueryInfoKey(currentKey_, &info) == ERROR_SUCCESS;
}

bool TRegistry::HasSubKeys() {
  RegKeyInfo info;
  return GetKeyInfo(info) && info.subKeys > 0;
}

std::wstring TRegistry::ReadString(const std::wstring& name) {
  const int size = GetDataSize(name);
  if (size <= 0) return {};
  std::vector<BYTE> buffer(static_cast<std::size_t>(size) + 2, 0);
  DWORD type = 0;
  DWORD got = static_cast<DWORD>(size);
  if (QueryRaw(name, &type, buffer.data(), &got) != ERROR_SUCCESS) RaiseGetError(name);
  const TRegDataType kind = DataTypeOf(type);
  if (kind != rdString && kind != rdExpandString) RaiseTypeError(name);
  return StringFromData(buffer.data(), got);
}

std::int32_t TRegistry::ReadInteger(const std::wstring& name) {
  // The type is asked first so that a string says so whatever its length;
  // a REG_DWORD of any size but four holds no number to read.
  DWORD type = 0;
  DWORD size = 0;
  if (QueryRaw(name, &type, nullptr, &size) != ERROR_SUCCESS) RaiseGetError(name);
  if (DataTypeOf(type) != rdInteger) RaiseTypeError(name);
  BYTE buffer[4] = {0, 0, 0, 0};
  size = sizeof buffer;
  if (QueryRaw(name, &type, buffer, &size) != ERROR_SUCCESS || size != sizeof buffer) RaiseGetError(name);
  std::uint32_t value = 0;
  std::memcpy(&value, buffer, sizeof value);  // REG_DWORD is little-endian, as is every target
  return static_cast<std::int32_t>(value);
}

std::optional<std::wstring> TRegistry::QueryString(const std::wstring& name) const {
  return QueryStringValue(currentKey_, name);
}

std::optional<std::int32_t> TRegistry::QueryInteger(const std::wstring& name) const {
  return QueryIntegerValue(currentKey_, name);
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& text) {
  Bytes data = ToUtf16Le(text);
  data.push_back(0);
  data.push_back(0);
  if (Api().SetValue(currentKey_, name, REG_SZ, data.data(), static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
    RaiseSetError(name);
}

void TRegistry::WriteInteger(const std::wstring& name, std::int32_t value) {
  BYTE data[4];
  std::memcpy(data, &value, sizeof data);
  if (Api().SetValue(currentKey_, name, REG_DWORD, data, sizeof data) != ERROR_SUCCESS) RaiseSetError(name);
}

void TRegistry::GetKeyNames(std::vector<std::wstring>& names) {
  names = currentKey_ == 0 ? std::vector<std::wstring>() : SubKeyNamesOf(currentKey_);
}

void TRegistry::GetValueNames(std::vector<std::wstring>& names) {
  names.clear();
  RegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  for (DWORD i = 0; i < info.values; ++i) {
    std::wstring name;
    if (Api().EnumValue(currentKey_, i, &name) == ERROR_SUCCESS) names.push_back(std::move(name));
  }
}

bool TRegistry::DeleteKey(const std::wstring& path) {
  // A path naming no sub-key would empty the root or the open key.
  if (path.find_first_not_of(L'\\') == std::wstring::npos) return false;
  const SplitPath split = Split(path);
  HKEY target = 0;
  if (Api().OpenKey(split.base, split.subKey, (Access & ~KEY_WOW64_RES) | split.view, &target) == ERROR_SUCCESS) {
    // Walk the children through this same object so that each recursive call
    // resolves its relative name against the key being emptied.
    const HKEY oldKey = currentKey_;
    std::wstring oldPath = std::exchange(currentPath_, WholePath(split));
    currentKey_ = target;
    RegKeyInfo info;
    if (GetKeyInfo(info)) {
      for (DWORD i = info.subKeys; i-- > 0;) {
        std::wstring child;
        if (Api().EnumKey(target, i, &child) == ERROR_SUCCESS) DeleteKey(child);
      }
    }
    currentKey_ = oldKey;
    currentPath_ = std::move(oldPath);
    Api().CloseKey(target);
  }
  return Api().DeleteKey(split.base, split.subKey, split.view) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::wstring& name) {
  return Api().DeleteValue(currentKey_, name) == ERROR_SUCCESS;
}

std::wstring TRegistryEx::ReadString(const std::wstring& name) {
  try {
    BYTE buffer[kStringBufferBytes + 2] = {};
    DWORD type = 0;
    DWORD size = kStringBufferBytes;
    if (QueryRaw(name, &type, buffer, &size) != ERROR_SUCCESS) return {};
    const TRegDataType kind = DataTypeOf(type);
    if (kind != rdString && kind != rdExpandString) RaiseTypeError(name);
    return StringFromData(buffer, size);
  } catch (const std::exception&) {
    return kReadErrorMarker;
  }
}

void TRegistryEx::GetKeyNames(std::vector<std::wstring>& names) {
  TRegistry::GetKeyNames(names);
  std::erase_if(names, [](const std::wstring& name) { return LowerCase(Trim(name)) == L"wow6432node"; });
}

}  // namespace orvix
