// The files a registered type library names ("win32" and "win64" keys below
// TypeLib\{id}\<version>\<locale>).
#pragma once

#include <string>
#include <vector>

namespace orvix {

class TRegeditScanClasses;

// The server paths of HKLM\SOFTWARE\Classes\TypeLib\<id> in the scan's view,
// in a depth-first walk; empty when the library or its servers are absent.
std::vector<std::wstring> TypeLibServers(TRegeditScanClasses& scan, const std::wstring& id);

}  // namespace orvix
