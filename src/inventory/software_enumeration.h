// Reading every Uninstall entry of the machine into one list: both roots,
// both registry views on 64-bit Windows, keys at any depth, and the
// duplicate pass that leaves one visible entry per program name.
#pragma once

#include <memory>
#include <vector>

#include "inventory/soft_info.h"

namespace orvix {

// Where programs register: under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline constexpr const wchar_t* kUninstallKeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Entries own their records so that a position always names the same entry.
using TSoftList = std::vector<std::unique_ptr<TSoftInfo>>;

// The default view's entries, then on 64-bit Windows the 64-bit view's, each
// view with HKEY_LOCAL_MACHINE before HKEY_CURRENT_USER and parents before
// children; duplicates stay in the list, hidden.
TSoftList EnumerateSoftware();

// Entries that broken installers wrote straight into an Uninstall key. They
// are never listed (the key holds every other program's entry), yet the
// folders they name are another program's.
TSoftList EntriesWrittenIntoUninstallKeys();

// Hides Windows Installer system components and every later namesake of a
// visible entry, merging what the hidden entry knows into the one kept; an
// earlier system component gives way to its later namesake.
void HideDuplicates(TSoftList& entries);

// Fills what `kept` lacks (empty texts, placeholders, zero size, date and
// icon index) from `dropped`.
void MergeEntry(TSoftInfo& kept, const TSoftInfo& dropped);

}  // namespace orvix
