// The moments the online services keep between runs: the news cache's last
// check and the score database's last download, both written as
// "mm/dd/yyyy hh:mm:ss" (two-digit fields, 24-hour clock) whatever the
// user's date format, and the whole hours or days between two of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date_time.h"

namespace orvix {

std::wstring FormatCheckTime(TDateTime time);
// Month, day and year with "/", a blank, hours, minutes and seconds with
// ":" (fields of one or two digits, the year of four). Empty otherwise.
std::optional<TDateTime> ParseCheckTime(const std::wstring& text);
// The platform's local time, cut to whole seconds as a written check time is.
TDateTime CheckTimeNow();

// Whole hours and whole days between two moments, either order.
std::int64_t WholeHoursBetween(TDateTime a, TDateTime b);
std::int64_t WholeDaysBetween(TDateTime a, TDateTime b);

}  // namespace orvix
