// The areas of the full scan, in their fixed order.
#pragma once

#include <vector>

#include "uninstall/scan_area.h"

namespace orvix {

// Fresh area objects for one scan, ordered by Number().
std::vector<TScanAreaPtr> MakeScanAreas();

}  // namespace orvix
