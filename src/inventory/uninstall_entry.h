// One key of an Uninstall tree read as a software entry: the rules that
// decide whether a key is a listed program and how its texts are cleaned.
#pragma once

#include <optional>
#include <string>

#include "inventory/soft_info.h"

namespace orvix {

class TKeyValueReader;

// The display name of our own product line's browser-protection component,
// which is never listed as a program of its own.
inline constexpr const wchar_t* kOwnProtectionName = L"Orvix Browser Protection";

// The entry a key describes, read in the given view; nothing when the key
// names no program (no name, no uninstall command, one of the skipped kinds).
std::optional<TSoftInfo> ReadUninstallEntry(const std::wstring& rootName, const std::wstring& keyPath, bool view64);
// The same through a reader already open on that key.
std::optional<TSoftInfo> ReadUninstallEntry(const TKeyValueReader& key, const std::wstring& rootName,
                                            const std::wstring& keyPath, bool view64);

// "InstallDate" as installers write it, year, month and day as eight digits
// ("20240115"); nothing for any other form.
std::optional<TDateTime> ParseInstallDate(const std::wstring& text);

}  // namespace orvix
