// The day's uninstall log: one file per local day, "Log\yyyy-mm-dd.log" in
// the data folder, UTF-16LE with a byte-order mark. The uninstall window and
// the leftover review both append to it; whichever writes first that day
// starts the file with its own header.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/date_time.h"

namespace orvix {

using TLogLines = std::vector<std::wstring>;
// Makes the header lines of a new day's file.
using TLogHeaderMaker = std::function<TLogLines()>;

// DataFolder() + "Log\"; empty when there is no data folder.
std::wstring UninstallLogFolder();
// "2013-05-31.log" for a local date.
std::wstring UninstallLogFileName(TDateTime day);
// The folder's file for a local date; empty when there is no data folder.
std::wstring UninstallLogPath(TDateTime day);

// The header the leftover review writes into a new file.
TLogLines ReviewLogHeader();
// The header the uninstall window writes into a new file.
TLogLines UninstallWindowLogHeader();

// Appends the lines to today's file, creating the folder with its missing
// parents, and the file with the header when it is new. The file is written
// back whole. False when nothing was written; callers ignore it, a log never
// stops an uninstall. An existing file that cannot be read is left alone
// rather than replaced by the new lines.
bool AppendUninstallLog(const TLogLines& lines, const TLogHeaderMaker& header);

// The lines of a log file (any byte-order mark, CR LF or LF line ends);
// false when it cannot be read.
bool ReadLogLines(const std::wstring& path, TLogLines& lines);

}  // namespace orvix
