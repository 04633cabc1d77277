// How much disk space a program takes: the files of its install folder.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "inventory/soft_info.h"

namespace orvix {

// Toolbars report at most this many bytes (10 MiB).
inline constexpr std::int64_t kToolbarSizeCap = 10485760;

// The bytes of every file in the folder and all folders below it, walked
// breadth first with hidden and system entries included. Junctions and
// symbolic links are never followed, so a link to another tree adds
// nothing. A stop request ends the walk early with a partial total.
std::int64_t FolderSize(const std::wstring& folder, std::stop_token stop = {});

// The folder whose size is the program's: its install location, else the
// folder found from its uninstall command, else the existing folder of its
// readme file; empty when there is none.
std::wstring SizeFolderOf(const TSoftInfo& entry, const std::wstring& foundFolder);

// The program's size: 0 when there is no folder or it is no program's own
// (a drive root, the Windows folder...), capped for toolbars.
std::int64_t MeasureEntrySize(const TSoftInfo& entry, const std::wstring& foundFolder, std::stop_token stop = {});

}  // namespace orvix
