// Folders of the programs Windows starts at logon (the Run keys): programs
// in them are in use every day, whatever UserAssist says.
#pragma once

#include <string>
#include <vector>

namespace orvix {

// The folder of the program one Run value starts, with a trailing
// backslash; empty when the command names no folder.
std::wstring LogonFolderOf(const std::wstring& command);

// The folders of every named value of the Run key of HKEY_LOCAL_MACHINE
// and of HKEY_CURRENT_USER, in the default view and on 64-bit Windows in the
// 64-bit view too; each folder once, ignoring case.
std::vector<std::wstring> ReadLogonFolders();

}  // namespace orvix
