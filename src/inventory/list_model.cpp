#include "inventory/list_model.h"

#include <cmath>

#include "inventory/software_info.h"
#include "language/messages.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Differences this close below a whole day still count as that day, as the
// clock's floating-point dates are not exact.
constexpr double kHalfMillisecond = 0.5 / (24.0 * 60 * 60 * 1000);

}  // namespace

bool IsRecentlyInstalled(TDateTime installDate, TDateTime now) {
  if (installDate == 0) return false;
  const double wholeDays = std::floor(std::fabs(now - installDate) + kHalfMillisecond);
  return wholeDays <= TSoftwareInfo::RecentDays;
}

bool CategoryAdmits(TSoftwareCategory category, const TSoftInfo& entry, TDateTime now) {
  if (entry.Hidden) return false;
  if (category == scWindowsUpdates) return entry.IsUpdate;
  if (entry.IsUpdate) return false;
  switch (category) {
    case scAllPrograms: return true;
    case scRecentlyInstalled: return IsRecentlyInstalled(entry.InstallDate, now);
    case scLargePrograms: return entry.Size > TSoftwareInfo::LargeSizeThreshold;
    case scInfrequentlyUsed: return entry.UseRate == aurRarely;
    default: return false;
  }
}

bool FilterAdmits(const std::wstring& filter, const TSoftInfo& entry) {
  return filter.empty() || FindText(entry.DisplayName, filter) != std::wstring::npos;
}

std::wstring ListCaption(const TSoftInfo& entry, TListViewMode mode) {
  std::wstring caption = entry.DisplayName;
  if (entry.IsX64) caption += L"(x64)";
  if (mode == lvmDetails) caption += L"\r\r" + entry.Publisher;
  return caption;
}

TListRow MakeListRow(const TSoftInfo& entry, std::size_t index, TListViewMode mode) {
  return {&entry, index, ListCaption(entry, mode), entry.SizeText, entry.InstallDateText, entry.ImageIndex};
}

std::vector<TListRow> ListRows(const TSoftList& items, TSoftwareCategory category, TListViewMode mode,
                               const std::wstring& filter) {
  const TDateTime now = NowLocal();
  std::vector<TListRow> rows;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TSoftInfo& entry = *items[i];
    if (CategoryAdmits(category, entry, now) && FilterAdmits(filter, entry))
      rows.push_back(MakeListRow(entry, i, mode));
  }
  return rows;
}

std::size_t CategoryCount(const TSoftList& items, TSoftwareCategory category) {
  const TDateTime now = NowLocal();
  std::size_t count = 0;
  for (const auto& entry : items) {
    if (CategoryAdmits(category, *entry, now)) ++count;
  }
  return count;
}

std::wstring SoftwareHeaderText(std::size_t count) {
  return MessageText(msg::ListviewHeader_Software, {static_cast<std::int64_t>(count)});
}

}  // namespace orvix
