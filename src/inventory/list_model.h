// What the software page lists: the five categories and their rules, the
// item captions of both views, and the rows of one fill, in list order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "inventory/soft_info.h"
#include "inventory/software_enumeration.h"

namespace orvix {

// The categories under the numbers FillList takes.
enum TSoftwareCategory : int {
  scAllPrograms = 1,
  scWindowsUpdates = 3,
  scRecentlyInstalled = 4,
  scLargePrograms = 5,
  scInfrequentlyUsed = 6,
};

// The list's columns.
enum TSoftwareColumn : int { colSoftwareName = 0, colOperate = 1, colSize = 2, colInstallDate = 3 };

// Main.ini [Software] SortState values.
enum TSortOrder : int { soNone = 0, soAscending = 1, soDescending = 2 };

struct TListSort {
  int column = colSoftwareName;
  TSortOrder order = soAscending;
  bool operator==(const TListSort&) const = default;
};

// The category tabs, left to right.
struct TSoftwareTab {
  const wchar_t* caption;
  TSoftwareCategory category;
  bool hasSort;  // selecting the tab sorts by `sort`
  TListSort sort;
};
inline constexpr std::array<TSoftwareTab, 5> kSoftwareTabs = {{
    {L"All Programs", scAllPrograms, false, {}},
    {L"Recently Installed", scRecentlyInstalled, true, {colInstallDate, soDescending}},
    {L"Large Programs", scLargePrograms, true, {colSize, soDescending}},
    {L"Infrequently Used", scInfrequentlyUsed, false, {}},
    {L"Windows Updates", scWindowsUpdates, false, {}},
}};

// Main.ini ListView_ViewStyle values.
enum TListViewMode : int { lvmDetails = 0, lvmIcons = 1 };

// The install date lies at most TSoftwareInfo::RecentDays whole days before
// or after now; an entry without install date (0) is never recent.
bool IsRecentlyInstalled(TDateTime installDate, TDateTime now);
// Whether the category lists the entry; hidden entries are never listed.
bool CategoryAdmits(TSoftwareCategory category, const TSoftInfo& entry, TDateTime now);
// Whether the upper-cased DisplayName contains the upper-cased filter; an
// empty filter admits every name.
bool FilterAdmits(const std::wstring& filter, const TSoftInfo& entry);

// Icon view: the DisplayName, with "(x64)" right after it for an entry of the
// 64-bit view. Details view: the same, then "\r\r", then the Publisher.
std::wstring ListCaption(const TSoftInfo& entry, TListViewMode mode);

// One list item: the entry, its position in Items, and the texts shown.
struct TListRow {
  const TSoftInfo* entry = nullptr;
  std::size_t index = 0;  // position in Items; sub-item 3 as decimal text
  std::wstring caption;
  std::wstring sizeText;  // sub-item 1
  std::wstring dateText;  // sub-item 2
  std::int32_t imageIndex = 0;
};

// Every entry the category and the filter admit, in list order, with "now"
// from the platform's clock. Sorting is left to the caller (list_sort.h).
std::vector<TListRow> ListRows(const TSoftList& items, TSoftwareCategory category, TListViewMode mode,
                               const std::wstring& filter = {});
// How many entries the category lists without a filter (the tab's count).
std::size_t CategoryCount(const TSoftList& items, TSoftwareCategory category);
TListRow MakeListRow(const TSoftInfo& entry, std::size_t index, TListViewMode mode);

// Column 0's header: "Software Name (Total: %d)" (ListviewHeader_Software).
std::wstring SoftwareHeaderText(std::size_t count);

}  // namespace orvix
