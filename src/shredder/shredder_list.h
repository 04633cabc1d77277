// "ShredderList.dat": the paths another component hands over to the
// shredder before it notifies the main window. The program only reads it.
#pragma once

#include <string>
#include <vector>

namespace orvix {

// The common application data folder + "\Orvix\Orvix Uninstaller\ShredderList.dat";
// empty when the system has no such folder.
std::wstring ShredderListPath();

// One path per line (a byte-order mark selects UTF-16 or UTF-8, otherwise
// the ANSI code page); blank lines are left out. Empty when the file is
// missing or unreadable.
std::vector<std::wstring> ReadShredderList();

}  // namespace orvix
