// What a plug-in's or COM server's file says about itself: its version
// resource strings and the signer of its embedded signature. The cleaners
// describe add-ons with these; the platform's version interface answers them
// (version.dll and crypt32 on Windows, scripted files in the simulation).
#pragma once

#include <string>
#include <vector>

#include "addons/plugin_item.h"

namespace orvix {

// The eleven version strings, each trimmed, in this order: [0] "Comments",
// [1] "CompanyName", [2] "FileDescription", [3] "FileVersion",
// [4] "InternalName", [5] "LegalCopyright", [6] "LegalTrademarks",
// [7] "OriginalFileName", [8] "ProductName", [9] "ProductVersion",
// [10] "WOW Version", read from the first translation's block. False, with
// all eleven "Unknown", when the file has no version resource.
bool GetVersionInfoList(const std::wstring& path, std::vector<std::wstring>& list);

// The subject name of the file's embedded signature; empty when unsigned.
std::wstring GetSignerName(const std::wstring& path);

// The facts of a file: product name, description, company, the version
// (the product version when `preferProductVersion` and it is usable, else
// the file version) and the signer. All empty but Path when the file is
// missing; "Unknown" strings count as missing.
TMozilPlugFileInfo GetPluginFileInfo(const std::wstring& path, bool preferProductVersion);

}  // namespace orvix
