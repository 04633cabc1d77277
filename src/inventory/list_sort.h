// The software list's column comparisons and the header-click rule. Each
// comparison answers negative, zero or positive like wcscmp.
#pragma once

#include <string>
#include <vector>

#include "inventory/list_model.h"

namespace orvix {

// Captions ignoring case.
int CompareCaptions(const std::wstring& a, const std::wstring& b);
// Size texts ("5 Byte", "900.00 KB", "1.50 MB", "2.00 GB"): by unit, then by
// length (more digits is larger), then ignoring case.
int CompareSizeTexts(const std::wstring& a, const std::wstring& b);
// Date texts in the user's short date format; an empty text is smallest,
// one that does not parse counts as date 0.
int CompareDateTexts(const std::wstring& a, const std::wstring& b);

// Two rows by the sort's column; descending negates, column 1 (the button
// column) and soNone compare equal.
int CompareRows(const TListRow& a, const TListRow& b, const TListSort& sort);
// Sorts the rows; rows that compare equal keep their list order.
void SortRows(std::vector<TListRow>& rows, const TListSort& sort);

// The sort after a click on a column header: the same column switches its
// order, another column sorts ascending, and the button column is never a
// sort column (the current sort stays).
TListSort SortAfterHeaderClick(const TListSort& current, int column);

}  // namespace orvix
