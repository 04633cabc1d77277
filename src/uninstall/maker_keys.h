// The registry keys of one of the maker's products, as its row of the
// product table lists them, made safe to offer for deletion.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

struct TMakerKey {
  HKEY Root = 0;
  std::wstring Path;  // with a leading backslash
};

// The keys of a comma-separated registry list ("HKEY_LOCAL_MACHINE\SOFTWARE
// \Orvix\Disk Tidy,..."), in list order and each once. An element that does
// not begin with a root name is left out, and so is one that names a key
// holding other programs' data too (IsSharedRegistryKey).
std::vector<TMakerKey> MakerRegistryKeys(const std::wstring& regList);

// The lower-case name of the product's own sub-key of HKEY_LOCAL_MACHINE
// \SOFTWARE\Orvix, taken from the first element of the list below it
// ("disk tidy" for ...\SOFTWARE\Orvix\Disk Tidy\Settings); empty when the
// list names no such key.
std::wstring MakerProductSubKey(const std::wstring& regList);

// Whether a key holds what other programs keep too, so that deleting it
// whole would take theirs: a root, the top keys of a hive (SOFTWARE, SYSTEM,
// a user's key), a vendor's key directly under SOFTWARE (Microsoft, or the
// maker's own, which holds all its products), the shared keys of the
// classes (CLSID, Interface, "*"...) and the control sets with their lists
// (SYSTEM\CurrentControlSet\Services).
bool IsSharedRegistryKey(HKEY root, const std::wstring& path);

}  // namespace orvix
