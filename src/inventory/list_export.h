// The exported software list ("Export Application List"): a header, ten
// lines for every entry that is not hidden, then the add-on section. Saved
// as UTF-16LE text with a byte-order mark, lines ending in CR LF.
#pragma once

#include <string>

#include "inventory/list_model.h"
#include "platform/date_time.h"

namespace orvix {

struct TExportHeader {
  std::wstring appVersion;  // the program's file version
  std::wstring osName;      // OsName()
  TDateTime exportedAt = 0;
};
// The running program's file version, this Windows' name and the local time now.
TExportHeader CurrentExportHeader();

// "mm-dd-yyyy hh:mm:ss", 24-hour clock.
std::wstring ExportTimeText(TDateTime time);

// The text of the list: every entry of `items` that is not hidden, in list
// order, whatever category or filter the page shows.
std::wstring SoftwareListText(const TSoftList& items, const TExportHeader& header);

// The save dialog's answer made a text file name: ".txt" is appended unless
// the file name (not its folder) contains it, ignoring case.
std::wstring ExportFileName(const std::wstring& chosen);

// Writes the list with `addOnSection` after it to `path` through the one
// replace helper; false when the file cannot be written (the folder must exist).
bool SaveSoftwareList(const std::wstring& path, const TSoftList& items, const std::wstring& addOnSection = {});

}  // namespace orvix
