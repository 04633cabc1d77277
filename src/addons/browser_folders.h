// Folder walks and version numbers the browser cleaners share: finding a
// browser's file in a profile tree, and which Opera generation is installed.
#pragma once

#include <string>
#include <vector>

namespace orvix {

// The full path of the first file named `fileName` (ignoring case) met in a
// depth-first walk of `folder` (a folder is entered as soon as it is met;
// links are never followed); empty when there is none.
std::wstring FindFileInTree(const std::wstring& folder, const std::wstring& fileName);
// Appends the full path of every file below `folder`, in the same order.
void ListFilesInTree(const std::wstring& folder, std::vector<std::wstring>& list);

// The number before the first "." (-1 when that is no number); 0 when the
// text has no ".".
int LeadingNumber(const std::wstring& text);

// The major version of the installed Opera from its uninstall entry (12 for
// an "Opera Next"); -1 when none is found.
int OperaMajorVersion();

}  // namespace orvix
