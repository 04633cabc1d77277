// Install folders that other installed programs name inside the scanned
// program's: what lies there, and the registrations that point there, are
// theirs. When another program names the scanned folder itself, nothing in
// it is the scanned program's alone and the scan takes no keyword from it.
#pragma once

#include <string>
#include <vector>

#include "inventory/soft_info.h"
#include "platform/protected_locations.h"

namespace orvix {

// The scan keywords of other programs' entries (other names: entries of the
// same name are the same program registered twice, and entries written into
// an Uninstall key itself) that are `folder` or lie inside it.
std::vector<std::wstring> OtherProgramFoldersIn(const std::wstring& folder, const TSoftInfo& record,
                                                const TProtectedLocations& locations);

}  // namespace orvix
