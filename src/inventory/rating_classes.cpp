#include "inventory/rating_classes.h"

#include <cmath>

namespace orvix {
namespace {

// Past this the calendar has no years to decode (9999-12-31).
constexpr TDateTime kLastDate = 2958465;

TAppUseRange RangeOfDays(int days) {
  if (days < 0) return audUnknown;
  if (days == 0) return audToday;
  if (days <= 3) return aud3Day;
  if (days <= 7) return audWeek;
  if (days <= 14) return aud2Week;
  return audMonth;
}

TAppUseRange RangeOfMonths(int months) {
  if (months >= 3) return audMore;
  if (months == 2) return aud3Month;
  if (months == 1) return aud2Month;
  return audMonth;
}

bool IsCalendarDate(TDateTime date) { return date >= -693593 && date <= kLastDate; }

// Whole months from one day to a later one, counted across year ends: from
// 31 January, one month has passed on the last day of February.
int WholeMonthsBetween(const TDateParts& from, const TDateParts& to) {
  const int months = (to.year - from.year) * 12 + to.month - from.month;
  const bool monthEnded = to.day >= from.day || to.day == DaysInMonth(to.year, to.month);
  return months - (monthEnded ? 0 : 1);
}

// Installed at most about two months before now: no more than one whole
// month ago. Unknown dates are old ones.
bool InstalledRecently(TDateTime installDate, TDateTime now) {
  if (!(installDate > 0 && installDate <= kLastDate)) return false;
  return WholeMonthsBetween(DecodeDate(installDate), DecodeDate(now)) <= 1;
}

}  // namespace

// By the time that has passed, not by calendar fields: a program used on 31
// December and rated on 2 January was used two days ago.
TAppUseRange ClassifyUseRange(TDateTime lastUse, TDateTime now) {
  if (!IsCalendarDate(lastUse) || !IsCalendarDate(now)) return audUnknown;
  const double days = std::floor(now) - std::floor(lastUse);
  if (days < 0) return audUnknown;  // a start recorded in the future
  const int months = WholeMonthsBetween(DecodeDate(lastUse), DecodeDate(now));
  return months == 0 ? RangeOfDays(static_cast<int>(days)) : RangeOfMonths(months);
}

TAppUseRate ClassifyUseRate(TAppUseRange range, TDateTime installDate, TDateTime now, TAppUseRate previous) {
  switch (range) {
    case audToday:
    case aud3Day:
    case audWeek:
    case aud2Week:
      return aurOften;
    case audMonth:
    case aud2Month:
      return aurLess;
    case aud3Month:
    case audMore:
      return InstalledRecently(installDate, now) ? aurUnknown : aurRarely;
    case audUnknown:
      break;
  }
  return previous;
}

}  // namespace orvix
