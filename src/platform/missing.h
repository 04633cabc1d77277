// Whether the system says a file or folder is not there. A
// deletion is reported done, and a file is started anew, only on that
// answer: when the system cannot tell (access denied, a sharing violation,
// a path too long), what may be there counts as there.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace orvix {

// A trailing backslash is allowed.
bool PathMissing(const std::wstring& path);

}  // namespace orvix
