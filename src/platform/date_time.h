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

// 28 to 31; month from 1 to 12.
int DaysInMonth(int year, int month);
// Fails for days that do not exist (2023-02-29) and years outside 1..9999.
std::optional<TDateTime> EncodeDate(int year, int month, int day);
TDateParts DecodeDate(TDateTime date);

// A date with its time of day, rounded to the millisecond (a time that
// rounds up to midnight belongs to the next day).
struct TDateTimeParts : TDateParts {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};
TDateTimeParts DecodeDateTime(TDateTime time);
// The current local date and time from the platform's clock.
TDateTime NowLocal();

// A date in a Windows date or time picture such as "M/d/yyyy", "dd.MM.yyyy"
// or "h:mm:ss tt" (d, dd, M, MM, MMM, MMMM, y, yy, yyyy; h, hh, H, HH, m, mm,
// s, ss, t, tt; quoted text kept; other characters copied); the user's short
// date format when none is given.
std::wstring FormatShortDate(TDateTime date);
std::wstring FormatDate(TDateTime date, const std::wstring& picture);
// The user's short date and long time, as the program shows a moment:
// "5/31/2013 2:03:07 PM".
std::wstring FormatShortDateLongTime(TDateTime time);

// The order in which a date picture names its fields.
enum class TDateOrder { YearMonthDay, MonthDayYear, DayMonthYear };

// Reads three numbers separated by `separator` in the given order; two-digit
// years count from 1950 to 2049. Empty when the text is no valid date.
std::optional<TDateTime> ParseDate(const std::wstring& text, TDateOrder order, wchar_t separator);
// Reads a date written in a date picture, as FormatDate writes it: numbers
// of one or two digits (years of up to four), English month names for MMM
// and MMMM, literal text as written, blanks anywhere not held against it.
std::optional<TDateTime> ParseDateWithPicture(const std::wstring& text, const std::wstring& picture);
// Reads a date written in the user's short date format.
std::optional<TDateTime> ParseShortDate(const std::wstring& text);

}  // namespace orvix
