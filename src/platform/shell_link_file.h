// Shortcut files read with our own shell link reader through the platform's
// files: no shell object, so it works the same on every thread and in the
// simulation.
#pragma once

#include <optional>
#include <string>

#include "formats/shell_link.h"

namespace orvix {

// The shortcut's fields, 8-bit texts in the ANSI code page. Nothing when
// the file is missing, a folder, larger than any shortcut, or no shell link.
std::optional<TShellLink> ReadShellLinkFile(const std::wstring& path);

}  // namespace orvix
