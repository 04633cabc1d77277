// Shortcuts made by the real shell (the ShellLink object through
// IShellLinkW and IPersistFile), for checking our reader against them.
#pragma once

#include <string>

namespace orvix::test {

struct ShortcutFields {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingDir;
  std::wstring description;
  std::wstring iconFile;
};

// Saves a shortcut at `path`; false when the shell refuses any step.
bool MakeShortcut(const std::wstring& path, const ShortcutFields& fields);

}  // namespace orvix::test
