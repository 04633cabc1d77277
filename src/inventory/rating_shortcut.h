// The program a shortcut file starts, read with our own shell link reader
// through the platform's files (no shell object, so it works the same on
// every thread and in the simulation).
#pragma once

#include <string>

namespace orvix {

// The target LinkInfo names; else the environment block's target with its
// variables expanded. Empty when the file is missing, larger than any
// shortcut, no shell link, or names no target that way.
std::wstring ShortcutTargetPath(const std::wstring& shortcutPath);

}  // namespace orvix
