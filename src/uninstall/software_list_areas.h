// The areas of the scan that look through the Software roots and the
// system's lists for what names the install folder: vendor keys, control
// panel applets, clients, event log sources and the shell's MUICache, and
// the fixed registrations of the maker's own products.
#pragma once

#include <string>

#include "uninstall/scan_area.h"

namespace orvix {

class TRegeditScanClasses;
class TScanKey;

// 14 and 15: vendor keys of HKEY_LOCAL_MACHINE \SOFTWARE and of
// HKEY_CURRENT_USER \Software.
TScanAreaPtr MakeMachineVendorArea();
TScanAreaPtr MakeUserVendorArea();
// 16: control panel applets (Cpls).
TScanAreaPtr MakeControlPanelArea();
// 17: clients (mail, browsers, media players...) of HKEY_LOCAL_MACHINE.
TScanAreaPtr MakeClientArea();
// 18: event log sources of the Application and System logs.
TScanAreaPtr MakeEventLogArea();
// 19: the shell's MUICache of the user.
TScanAreaPtr MakeMuiCacheArea();
// 20: the registry keys of the maker's product the entry is.
TScanAreaPtr MakeMakerProductArea();

// Whether a value's text names the install folder or something in it. The
// text is taken as a folder (a backslash appended unless it ends in one), so
// that a value holding the bare folder C:\Program Files\Foo matches while
// C:\Program Files\Foo2 does not.
bool NamesInstallFolder(const TRegeditScanClasses& scan, const std::wstring& text);
// Whether every value at or below the key that names a place on a drive
// names the install folder or something in it: a key that also records
// other places may be shared with what lives there.
bool PlacesLieInFolder(const TRegeditScanClasses& scan, TScanKey& key, int depth = 0);

// The registry holds at most 512 levels of keys: a walk that goes deeper
// follows a loop.
inline constexpr int kMaxKeyDepth = 512;

}  // namespace orvix
