// The areas of the scan that look at the program's own uninstall key and
// Windows Installer data, its services and the system's lists that name it.
#pragma once

#include "uninstall/scan_area.h"

namespace orvix {

// 2: the uninstall key, and the Windows Installer data of the product whose
// code names it.
TScanAreaPtr MakeInstallerArea();
// 8: services that run from the install folder, and their device instances.
TScanAreaPtr MakeServiceArea();
// 9: the firewall's rules and lists of allowed programs.
TScanAreaPtr MakeFirewallArea();
// 10 and 11: the Run lists of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
TScanAreaPtr MakeMachineRunArea();
TScanAreaPtr MakeUserRunArea();
// 12: App Paths.
TScanAreaPtr MakeAppPathsArea();

}  // namespace orvix
