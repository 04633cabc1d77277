// Firefox's "extensions.ini" (Firefox 4 to 56): its section "ExtensionDirs"
// lists the folders of the enabled extensions as "Extension0=...",
// "Extension1=...". The Firefox cleaner takes a switched-off extension's
// folder out of the list and puts it back when the extension is switched on.
#pragma once

#include <string>

#include "formats/ini_text.h"

namespace orvix {

// Off: every key of "ExtensionDirs" whose value is `folder` (ignoring case)
// goes. On: unless some key holds it already, it is added as "Extension" +
// the number of keys in the section, or the next number after that when a
// key of that name exists (so no other extension's line is overwritten).
// True when the text changed.
bool ListExtensionDir(IniText& ini, const std::wstring& folder, bool listed);

// The same on the file, written back in its own encoding. True when the file
// now says what was asked, also when there is no such file (a profile without
// one keeps nothing to step with); false when it could not be read or
// replaced.
bool ListExtensionDirInFile(const std::wstring& iniPath, const std::wstring& folder, bool listed);

}  // namespace orvix
