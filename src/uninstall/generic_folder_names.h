// Folder names that say nothing about whose a folder is: the sub-folders
// most programs have (bin, app, x64...), version numbers, and the folders
// many programs share (Common Files, Programs, Microsoft...). The scan never
// searches for a program's folders by such a name.
#pragma once

#include <string>

namespace orvix {

bool IsGenericFolderName(const std::wstring& name);

}  // namespace orvix
