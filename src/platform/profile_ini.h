// Key-at-a-time INI access in place of GetPrivateProfileStringW and
// WritePrivateProfileStringW: every read opens the file, every write reaches
// the disk at once through the replace helper, nothing is cached. A missing
// file or key reads as the default. Names and values follow IniText.
//
// Encoding: a file keeps its byte-order mark (UTF-16LE or UTF-8). A file
// without one is ANSI and stays ANSI while the code page holds its whole text;
// a write that the code page cannot hold turns it into UTF-16LE, and a new
// file is UTF-16LE from the start, so that no character is ever written as
// "?". The Windows functions read UTF-16LE files as well.
//
// The names avoid windows.h's macros (WriteProfileString and the like).
#pragma once

#include <string>
#include <vector>

namespace orvix {

std::wstring ReadIniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue);
// GetPrivateProfileInt: leading digits count, a value without any gives the default.
int ReadIniInt(const std::wstring& path, const std::wstring& section, const std::wstring& key, int defaultValue);
// True for any integer other than 0.
bool ReadIniBool(const std::wstring& path, const std::wstring& section, const std::wstring& key, bool defaultValue);
// Section names in file order; empty for a missing file.
std::vector<std::wstring> ReadIniSectionNames(const std::wstring& path);

// False when the file could not be read or replaced; the file is then as it
// was. The folder must exist: the writers never create it.
bool WriteIniString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                    const std::wstring& value);
bool WriteIniInt(const std::wstring& path, const std::wstring& section, const std::wstring& key, int value);
// Writes "1" or "0".
bool WriteIniBool(const std::wstring& path, const std::wstring& section, const std::wstring& key, bool value);

}  // namespace orvix
