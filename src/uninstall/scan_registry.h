// Read-only registry access for the leftover scan: one key opened in one
// view, values read as text whatever their type, and the identity of a key
// across the two views of a 64-bit machine.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"

namespace orvix {

// Registry data as the scan compares and reports it: strings as stored,
// 32-bit integers in decimal, anything else as the ANSI text of its bytes
// up to the first zero byte, or, when that text is blank, as its bytes in
// hexadecimal (upper case, no leading zero per byte). Empty when the value
// is absent or has no data. Never raises.
std::wstring ReadValueAsText(TRegistry& reg, const std::wstring& name);

// One key opened read-only in a view; false when it did not open. Nothing
// here raises.
class TScanKey {
 public:
  TScanKey(HKEY root, const std::wstring& path, bool view64);
  TScanKey(const TScanKey&) = delete;
  TScanKey& operator=(const TScanKey&) = delete;

  explicit operator bool() const { return open_; }
  HKEY Root() const { return root_; }
  bool View64() const { return view64_; }
  // The path as the registry class reports the opened key: no leading backslash.
  const std::wstring& Path() const { return reg_.CurrentPath(); }
  // The same with a leading backslash, ready for building paths below it.
  std::wstring Below(const std::wstring& name) const { return L"\\" + Path() + L"\\" + name; }

  std::vector<std::wstring> SubKeyNames();
  std::vector<std::wstring> ValueNames();
  bool HasSubKey(const std::wstring& name);
  bool HasValue(const std::wstring& name);
  // Whether the value is a string or an expandable string.
  bool HoldsText(const std::wstring& name);
  std::wstring ValueText(const std::wstring& name);
  // The default value of a sub-key as text; empty when the sub-key is absent.
  std::wstring SubKeyDefault(const std::wstring& name);

 private:
  HKEY root_;
  bool view64_;
  TRegistry reg_;
  bool open_ = false;
};

// The key a path reaches in a view, as one comparable text: on a 64-bit
// machine the 32-bit view of HKLM\SOFTWARE (outside the classes) and of the
// redirected class keys (CLSID, Interface, ...) is another key than the
// 64-bit view's, while the rest of the classes and the user's keys are
// shared. Two findings with the same identity are the same key.
std::wstring RegistryKeyIdentity(HKEY root, const std::wstring& keyPath, bool view64, bool wow64Machine);

}  // namespace orvix
