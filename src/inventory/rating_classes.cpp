#include "inventory/rating_classes.h"

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

// Installed in this year and at most about two months before now.
bool InstalledRecently(TDateTime installDate, const TDateParts& now) {
  if (!(installDate > 0 && installDate <= kLastDate)) return false;  // unknown dates are old ones
  const TDateParts installed = DecodeDate(installDate);
  if (installed.year != now.year) return false;
  const int months = now.month - installed.month;
  return months <= 1 || (months == 2 && now.day < installed.day);
}

}  // namespace

TAppUseRange ClassifyUseRange(TDateTime lastUse, TDateTime now) {
  const TDateParts last = DecodeDate(lastUse);
  const TDateParts today = DecodeDate(now);
  if (last.year > today.year) return audUnknown;
  if (last.year < today.year) return audMore;
  if (last.month < today.month) {
    const int months = today.month - last.month - (today.day < last.day ? 1 : 0);
    return RangeOfMonths(months);
  }
  if (last.month == today.month) return RangeOfDays(today.day - last.day);
  return audUnknown;
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
      return InstalledRecently(installDate, DecodeDate(now)) ? aurUnknown : aurRarely;
    case audUnknown:
      break;
  }
  return previous;
}

}  // namespace orvix
