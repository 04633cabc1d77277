// Dates the analysis reads off the disk: when a program was probably
// installed, and when its files were last read.
#pragma once

#include <string>

#include "inventory/soft_info.h"
#include "platform/date_time.h"

namespace orvix {

struct TDateEstimate {
  TDateTime date = 0;  // 0 when nothing on disk tells
  std::wstring text;   // the entry's InstallDateText unless a date was found
};

// The creation day of the program's uninstaller folder (or of the file or
// folder its uninstall command names), else of its icon's folder.
TDateEstimate EstimateInstallDate(const TSoftInfo& entry);

// Whether NTFS keeps last-access times: "NtfsDisableLastAccessUpdate"
// exists and is 0.
bool LastAccessUpdatesOn();

// The last access of the entry's icon file when the file system keeps such
// times and the file exists; otherwise, or when it has none, now.
TDateTime LastAccessDateOf(const TSoftInfo& entry, bool updatesOn);

}  // namespace orvix
