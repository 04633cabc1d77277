#include "platform/registry_helpers.h"

#include <array>

#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace orvix {
namespace {

struct RootName {
  const wchar_t* name;
  HKEY handle;
};

constexpr std::array<RootName, 5> kRoots{{
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
}};

// A registry object on one root, in the view asked for.
class ScopedRegistry : public TRegistry {
 public:
  ScopedRegistry(HKEY root, bool view64) {
    SetRootKey(root);
    if (view64) Access |= KEY_WOW64_64KEY;
  }
};

}  // namespace

bool IsWow64() { return CurrentPlatform().System().IsWow64Process(); }

HKEY RootKeyFromName(const std::wstring& name) {
  for (const RootName& root : kRoots) {
    if (SameText(name, root.name)) return root.handle;
  }
  return kUnknownRoot;
}

std::wstring RootKeyName(HKEY root) {
  for (const RootName& entry : kRoots) {
    if (entry.handle == root) return entry.name;
  }
  return {};
}

bool SplitKeyText(const std::wstring& text, std::wstring& rootName, std::wstring& keyPath) {
  const std::size_t slash = text.find(L'\\');
  const HKEY root = RootKeyFromName(text.substr(0, slash));
  if (root == kUnknownRoot) return false;
  rootName = RootKeyName(root);
  keyPath = slash == std::wstring::npos ? L"" : text.substr(slash);
  while (keyPath.size() > 1 && keyPath.back() == L'\\') keyPath.pop_back();
  return true;
}

std::wstring RegItemText(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                         const std::wstring& data) {
  // Key paths come with a leading backslash (software records) or without
  // (an opened key's current path); either way one separator shows.
  std::wstring text = RootKeyName(root);
  const bool separated = (!text.empty() && text.back() == L'\\') || (!keyPath.empty() && keyPath[0] == L'\\');
  if (!separated) text += L'\\';
  text += keyPath;
  if (!valueName.empty() || !data.empty()) {
    text += L" | ";
    text += valueName.empty() ? L"Default" : valueName;
    text += L" - ";
    text += data;
  }
  return text;
}

std::wstring RegReadStringAt(const std::wstring& rootName, const std::wstring& keyPath,
                             const std::wstring& valueName, bool view64) {
  const HKEY root = RootKeyFromName(rootName);
  if (root == kUnknownRoot) return {};
  try {
    ScopedRegistry reg(root, view64);
    if (!reg.OpenKeyReadOnly(keyPath) || !reg.ValueExists(valueName)) return {};
    return reg.ReadString(valueName);
  } catch (const std::exception&) {
    return {};
  }
}

std::int64_t RegReadIntegerAt(const std::wstring& rootName, const std::wstring& keyPath,
                              const std::wstring& valueName, bool view64) {
  // The root name is matched exactly; any other spelling reads under
  // HKEY_CURRENT_USER, which callers of this helper have always relied on.
  HKEY root = HKEY_CURRENT_USER;
  for (const RootName& entry : kRoots) {
    if (rootName == entry.name) root = entry.handle;
  }
  try {
    ScopedRegistry reg(root, view64);
    if (!reg.OpenKeyReadOnly(keyPath) || !reg.ValueExists(valueName)) return 0;
    return reg.ReadInteger(valueName);
  } catch (const std::exception&) {
    return 0;
  }
}

TKeyValueReader::TKeyValueReader(const std::wstring& rootName, const std::wstring& keyPath, bool view64) {
  const HKEY root = RootKeyFromName(rootName);
  if (root == kUnknownRoot) return;
  registry_ = std::make_unique<ScopedRegistry>(root, view64);
  view_ = view64 ? KEY_WOW64_64KEY : 0;
  try {
    if (registry_->OpenKeyReadOnly(keyPath)) key_ = registry_->CurrentKey();
  } catch (const std::exception&) {
    key_ = 0;
  }
}

TKeyValueReader::TKeyValueReader(const TKeyValueReader& parent, const std::wstring& subKey) : view_(parent.view_) {
  if (!parent.IsOpen()) return;
  IRegistryApi& api = CurrentPlatform().Registry();
  // The masks TRegistry's read-only open tries, in its order.
  for (const REGSAM access : {REGSAM{KEY_READ}, REGSAM{READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS},
                              REGSAM{KEY_QUERY_VALUE}}) {
    HKEY key = 0;
    if (api.OpenKey(parent.key_, subKey, access | view_, &key) == ERROR_SUCCESS) {
      key_ = key;
      ownsKey_ = true;
      return;
    }
  }
}

TKeyValueReader::~TKeyValueReader() {
  if (ownsKey_) CurrentPlatform().Registry().CloseKey(key_);
}

std::wstring TKeyValueReader::String(const std::wstring& valueName) const {
  if (!IsOpen()) return {};
  return QueryStringValue(key_, valueName).value_or(std::wstring());
}

std::int64_t TKeyValueReader::Integer(const std::wstring& valueName) const {
  if (!IsOpen()) return 0;
  return QueryIntegerValue(key_, valueName).value_or(0);
}

std::vector<std::wstring> TKeyValueReader::SubKeyNames() const {
  return IsOpen() ? SubKeyNamesOf(key_) : std::vector<std::wstring>();
}

bool RegKeyExistsAt(const std::wstring& rootName, const std::wstring& keyPath, bool view64) {
  const HKEY root = RootKeyFromName(rootName);
  if (root == kUnknownRoot) return false;
  try {
    ScopedRegistry reg(root, view64);
    return reg.KeyExists(keyPath);
  } catch (const std::exception&) {
    return false;
  }
}

bool RegValueExistsAt(const std::wstring& rootName, const std::wstring& keyPath, const std::wstring& valueName,
                      bool view64) {
  const HKEY root = RootKeyFromName(rootName);
  if (root == kUnknownRoot) return false;
  try {
    ScopedRegistry reg(root, view64);
    return reg.OpenKeyReadOnly(keyPath) && reg.ValueExists(valueName);
  } catch (const std::exception&) {
    return false;
  }
}

// True when the key is gone afterwards: a tree that went only in part, or a
// key the system will not say is gone, answers false.
bool RegDeleteKeyAt(HKEY root, const std::wstring& keyPath, bool view64) {
  if (RootKeyName(root).empty()) return false;
  try {
    ScopedRegistry reg(root, view64);
    if (reg.KeyMissing(keyPath)) return true;
    return reg.DeleteKey(keyPath) || reg.KeyMissing(keyPath);
  } catch (const std::exception&) {
    return false;
  }
}

bool RegDeleteKeyAt(const std::wstring& rootName, const std::wstring& keyPath, bool view64) {
  return RegDeleteKeyAt(RootKeyFromName(rootName), keyPath, view64);
}

bool RegDeleteValueAt(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, bool view64) {
  // The scanner names a key's default value with a single blank; any other
  // name is taken as it is, so that " x" never deletes "x".
  const std::wstring name = valueName == L" " ? std::wstring() : valueName;
  try {
    ScopedRegistry reg(root, view64);
    // Nothing to delete when the key is absent; a key that exists but
    // refuses writes keeps its value, and that is no success.
    if (!reg.OpenKey(keyPath, false)) return reg.KeyMissing(keyPath);
    if (reg.ValueMissing(name)) return true;
    return reg.DeleteValue(name);
  } catch (const std::exception&) {
    return false;
  }
}

int RegListKeyTree(const std::wstring& rootName, const std::wstring& startKeyPath, std::vector<std::wstring>& list,
                   bool view64) {
  list.assign(1, startKeyPath);
  const HKEY root = RootKeyFromName(rootName);
  if (root == kUnknownRoot) return 1;
  ScopedRegistry reg(root, view64);
  std::vector<std::wstring> names;
  for (std::size_t i = 0; i < list.size(); ++i) {
    // A key that cannot be listed is skipped; the walk goes on.
    try {
      reg.CloseKey();
      if (!reg.OpenKeyReadOnly(list[i])) continue;
      reg.GetKeyNames(names);
      const std::wstring parent = list[i];
      for (const std::wstring& name : names) list.push_back(parent + L"\\" + name);
    } catch (const std::exception&) {
    }
  }
  return static_cast<int>(list.size());
}

bool OpenInRegistryEditor(const std::wstring& keyText, const std::wstring& valueName, bool view64) {
  std::wstring key = keyText;
  if (!key.empty() && key.back() == L'\\') key.pop_back();
  // The first path element stands for the editor's root node, whose name
  // the editor does not check.
  if (key.empty() || key.front() != L'\\') key = L"My\\" + key;
  return CurrentPlatform().RegistryEditor().OpenAt({key, valueName, view64});
}

}  // namespace orvix
