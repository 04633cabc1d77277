// The quiet form of a program's uninstall command, for uninstalling without
// the uninstaller's own windows: the command the entry records for that, or
// the uninstaller's silent switch where its kind is known.
#pragma once

#include <string>

#include "inventory/soft_info.h"

namespace orvix {

enum class TUninstallerKind { Unknown, WindowsInstaller, Nsis, InnoSetup };

// What made the uninstaller a command names: Windows Installer by its
// command, NSIS and Inno Setup by the marks they leave in the program file.
TUninstallerKind UninstallerKindOf(const std::wstring& command);

// QuietUninstallString when the entry has one, else the uninstall command
// with the silent switch of its kind; empty when neither is known.
std::wstring QuietUninstallCommand(const TSoftInfo& entry);

bool IsMsiexecCommand(const std::wstring& command);

// Whether a program is still installed after its uninstaller ran: its
// Uninstall key is still there and so is the uninstaller the command names
// (for the Windows Installer's commands: the product is still registered
// with it).
bool IsStillInstalled(const TSoftInfo& entry, const std::wstring& command);

}  // namespace orvix
