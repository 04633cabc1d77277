// The last area of the full scan and the whole scan of a bare folder: the
// files and folders a removed program left on disk.
#pragma once

#include "uninstall/scan_area.h"

namespace orvix {

// 21: the install folder, the folders of its Windows Installer components,
// the application-data and Start-menu folders named after the publisher or
// the program, the installer's icon folder, desktop shortcuts into the
// install folder and the folders of the maker's own products.
TScanAreaPtr MakeFileArea();

}  // namespace orvix
