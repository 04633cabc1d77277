// Dates as the system keeps them: OLE Automation dates (days since
// 1899-12-30, the fraction being the time of day), shown and read in the
// user's short date format.
#pragma once

#include <optional>
#include <string>

namespace orvix {

using TDateTime = double;

struct TDateParts {
  int year = 0;
  int month = 0;
  int day = 0;
};

// Fails for days that do not exist (2023-02-29) and years outside 1..9999.
std::optional<TDateTime> EncodeDate(int year, int month, int day);
TDateParts DecodeDate(TDateTime date);
// The current local date and time from the platform's clock.
TDateTime NowLocal();

// A date in a Windows date picture such as "M/d/yyyy" or "dd.MM.yyyy"
// (d, dd, M, MM, MMM, MMMM, y, yy, yyyy; quoted text kept; other characters
// copied); the user's short date format when none is given.
std::wstring FormatShortDate(TDateTime date);
std::wstring FormatDate(TDateTime date, const std::wstring& picture);

// The order in which a date picture names its fields.
enum class TDateOrder { YearMonthDay, MonthDayYear, DayMonthYear };

// Reads three numbers separated by `separator` in the given order; two-digit
// years count from 1950 to 2049. Empty when the text is no valid date.
std::optional<TDateTime> ParseDate(const std::wstring& text, TDateOrder order, wchar_t separator);
// Reads a date written in the user's short date format.
std::optional<TDateTime> ParseShortDate(const std::wstring& text);

}  // namespace orvix
