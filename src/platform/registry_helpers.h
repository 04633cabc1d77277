// Root key names, the key path text form and the one-call registry helpers.
// Every helper opens, acts, closes and never lets an error escape. View64
// adds KEY_WOW64_64KEY; callers set it only when IsWow64() is true.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

class TRegistry;

// Stands for a root name that is none of the five.
inline constexpr HKEY kUnknownRoot = static_cast<HKEY>(-1);

bool IsWow64();
HKEY RootKeyFromName(const std::wstring& name);
std::wstring RootKeyName(HKEY root);

// Splits "HKEY_LOCAL_MACHINE\SOFTWARE\Foo" into the root's name and the key
// path with its leading backslash; false when the text names no known root.
bool SplitKeyText(const std::wstring& text, std::wstring& rootName, std::wstring& keyPath);

// "root\key | value - data", with "Default" for an empty value name; the
// part after the key path only when a value name or data text is present.
std::wstring RegItemText(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                         const std::wstring& data);

std::wstring RegReadStringAt(const std::wstring& rootName, const std::wstring& keyPath,
                             const std::wstring& valueName, bool view64);
std::int64_t RegReadIntegerAt(const std::wstring& rootName, const std::wstring& keyPath,
                              const std::wstring& valueName, bool view64);
// One key opened once for many reads, each read one query: what the ...At
// helpers answer, without their open, probe and close around every value (a
// round trip each under Wine, for every entry of a long list). Its sub-keys
// open relative to it, in its view: on 64-bit Windows opening by the whole
// path in the 32-bit view walks the path one name at a time.
class TKeyValueReader {
 public:
  TKeyValueReader(const std::wstring& rootName, const std::wstring& keyPath, bool view64);
  TKeyValueReader(const TKeyValueReader& parent, const std::wstring& subKey);
  ~TKeyValueReader();
  TKeyValueReader(const TKeyValueReader&) = delete;
  TKeyValueReader& operator=(const TKeyValueReader&) = delete;

  bool IsOpen() const { return key_ != 0; }
  // As RegReadStringAt: empty when the value is missing or holds no text.
  std::wstring String(const std::wstring& valueName) const;
  // As RegReadIntegerAt: 0 when the value is missing or no REG_DWORD.
  std::int64_t Integer(const std::wstring& valueName) const;
  std::vector<std::wstring> SubKeyNames() const;

 private:
  std::unique_ptr<TRegistry> registry_;  // holds a key opened from the root
  HKEY key_ = 0;
  bool ownsKey_ = false;  // a sub-key, closed by this reader
  REGSAM view_ = 0;
};

bool RegKeyExistsAt(const std::wstring& rootName, const std::wstring& keyPath, bool view64);
bool RegValueExistsAt(const std::wstring& rootName, const std::wstring& keyPath, const std::wstring& valueName,
                      bool view64);
bool RegDeleteKeyAt(const std::wstring& rootName, const std::wstring& keyPath, bool view64);
bool RegDeleteKeyAt(HKEY root, const std::wstring& keyPath, bool view64);
// The value name is exact; the single blank " " names the key's default value.
bool RegDeleteValueAt(HKEY root, const std::wstring& keyPath, const std::wstring& valueName, bool view64);

// Breadth-first list of the start key and every key below it, parents before
// children; returns the number of paths in the list.
int RegListKeyTree(const std::wstring& rootName, const std::wstring& startKeyPath, std::vector<std::wstring>& list,
                   bool view64);

// Opens the registry editor at a key ("HKEY_...\path" or "\path") and, when
// given, selects the value.
bool OpenInRegistryEditor(const std::wstring& keyText, const std::wstring& valueName, bool view64);

}  // namespace orvix
