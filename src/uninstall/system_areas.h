// The areas of the scan that look at the program's own uninstall key and
// Windows Installer data.
#pragma once

#include "uninstall/scan_area.h"

namespace orvix {

// 2: the uninstall key, and the Windows Installer data of the product whose
// code names it.
TScanAreaPtr MakeInstallerArea();

}  // namespace orvix
