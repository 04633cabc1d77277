// The areas of the scan that deal with COM classes and shell registrations.
#pragma once

#include <string>
#include <vector>

#include "uninstall/scan_area.h"

namespace orvix {

// 1: CLSIDs (the machine's, then the user's) whose server lies in the install folder, with their AppID,
// TypeLib, ProgID and browser registrations; CLSIDs whose verbs run it.
TScanAreaPtr MakeClsidArea();
// 3: AppID keys (foo.exe) that point at a found AppID.
TScanAreaPtr MakeAppIdArea();
// 4: verbs and handlers added to the common file classes ("*", "folder"...).
TScanAreaPtr MakeFileClassArea();
// 5 and 6: classes of HKEY_CURRENT_USER and of HKEY_LOCAL_MACHINE; the
// machine's area, the last of the class areas, then looks at the "Open with"
// registrations of both roots (open_with_scan.h).
TScanAreaPtr MakeUserClassArea();
TScanAreaPtr MakeMachineClassArea();
// 7: interfaces of found type libraries or proxies.
TScanAreaPtr MakeInterfaceArea();
// 13: found CLSIDs in the shell extension lists (Approved...).
TScanAreaPtr MakeShellExtensionArea();

// The common file classes, in the order the verbs area visits them.
const std::vector<std::wstring>& CommonFileClasses();
// Whether a name read from registry data may be taken as the name of a class
// key to report: one plain key name, none of the common file classes and
// none of the keys that hold every program's registrations (CLSID,
// Interface, TypeLib, AppID...).
bool IsOwnClassName(const std::wstring& name);

}  // namespace orvix
