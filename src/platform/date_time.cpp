#include "platform/date_time.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

// Days from 0001-01-01 (day 0) to 1899-12-30.
constexpr long kOleEpochDays = 693593;

constexpr const wchar_t* kMonthNames[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                          L"July",    L"August",   L"September", L"October", L"November", L"December"};

constexpr const wchar_t* kDayNames[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                        L"Thursday", L"Friday", L"Saturday"};

// 0 for Sunday: 1899-12-30 was a Saturday.
int DayOfWeek(double date) { return static_cast<int>(((static_cast<long long>(std::floor(date)) + 6) % 7 + 7) % 7); }

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

long DaysBeforeYear(int year) {
  const long y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

std::wstring Padded(int value, std::size_t width) {
  std::wstring text = std::to_wstring(value);
  if (text.size() < width) text.insert(0, width - text.size(), L'0');
  return text;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  long days = DaysBeforeYear(year);
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  days += day - 1;
  return static_cast<TDateTime>(days - kOleEpochDays);
}

TDateParts DecodeDate(TDateTime date) {
  long days = static_cast<long>(std::floor(date)) + kOleEpochDays;
  int year = static_cast<int>(days / 366) + 1;  // never past the answer
  while (DaysBeforeYear(year + 1) <= days) ++year;
  days -= DaysBeforeYear(year);
  int month = 1;
  while (days >= DaysInMonth(year, month)) days -= DaysInMonth(year, month++);
  return {year, month, static_cast<int>(days) + 1};
}

TDateTimeParts DecodeDateTime(TDateTime time) {
  constexpr long long kMsPerDay = 24LL * 60 * 60 * 1000;
  TDateTime day = std::floor(time);
  long long ms = std::llround((time - day) * kMsPerDay);
  if (ms >= kMsPerDay) {
    day += 1;
    ms -= kMsPerDay;
  }
  TDateTimeParts parts;
  static_cast<TDateParts&>(parts) = DecodeDate(day);
  parts.hour = static_cast<int>(ms / 3600000);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

TDateTime NowLocal() { return FileTimeToLocalDate(CurrentPlatform().Clock().NowUtc()); }

std::wstring FormatShortDate(TDateTime date) { return FormatDate(date, CurrentPlatform().Locale().ShortDateFormat()); }

std::wstring FormatShortDateLongTime(TDateTime time) {
  return FormatShortDate(time) + L" " + FormatDate(time, CurrentPlatform().Locale().LongTimeFormat());
}

std::wstring FormatDate(TDateTime date, const std::wstring& picture) {
  const TDateTimeParts parts = DecodeDateTime(date);
  std::wstring out;
  for (std::size_t i = 0; i < picture.size();) {
    const wchar_t c = picture[i];
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == L'\'') {
      const std::size_t close = picture.find(L'\'', i + 1);
      out += picture.substr(i + 1, (close == std::wstring::npos ? picture.size() : close) - i - 1);
      i = close == std::wstring::npos ? picture.size() : close + 1;
      continue;
    }
    if (c == L'd' && run <= 2) {
      out += Padded(parts.day, run);
    } else if (c == L'd') {
      const std::wstring name = kDayNames[DayOfWeek(date)];
      out += run == 3 ? name.substr(0, 3) : name;
    } else if (c == L'M') {
      const std::wstring name = kMonthNames[parts.month - 1];
      out += run <= 2 ? Padded(parts.month, run) : run == 3 ? name.substr(0, 3) : name;
    } else if (c == L'y') {
      out += run <= 2 ? Padded(parts.year % 100, run == 1 ? 1 : 2) : Padded(parts.year, 4);
    } else if (c == L'H' && run <= 2) {
      out += Padded(parts.hour, run);
    } else if (c == L'h' && run <= 2) {
      out += Padded(parts.hour % 12 == 0 ? 12 : parts.hour % 12, run);
    } else if (c == L'm' && run <= 2) {
      out += Padded(parts.minute, run);
    } else if (c == L's' && run <= 2) {
      out += Padded(parts.second, run);
    } else if (c == L't' && run <= 2) {
      const std::wstring marker = parts.hour < 12 ? L"AM" : L"PM";
      out += run == 1 ? marker.substr(0, 1) : marker;
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::optional<TDateTime> ParseDate(const std::wstring& text, TDateOrder order, wchar_t separator) {
  int fields[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  std::size_t field = 0;
  for (wchar_t c : text) {
    if (c == separator) {
      if (++field > 2) return std::nullopt;
    } else if (std::iswdigit(static_cast<wint_t>(c)) && c < 128) {
      if (++digits[field] > 4) return std::nullopt;
      fields[field] = fields[field] * 10 + (c - L'0');
    } else if (c != L' ') {
      return std::nullopt;
    }
  }
  if (field != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] == 0) return std::nullopt;
  int year = 0, month = 0, day = 0, yearDigits = 0;
  switch (order) {
    case TDateOrder::YearMonthDay: year = fields[0], month = fields[1], day = fields[2], yearDigits = digits[0]; break;
    case TDateOrder::MonthDayYear: month = fields[0], day = fields[1], year = fields[2], yearDigits = digits[2]; break;
    case TDateOrder::DayMonthYear: day = fields[0], month = fields[1], year = fields[2], yearDigits = digits[2]; break;
  }
  if (yearDigits <= 2) year += year < 50 ? 2000 : 1900;
  return EncodeDate(year, month, day);
}

namespace {

// Reads a date back along the picture that wrote it, one field or literal
// at a time, so that any picture FormatDate writes reads back: trailing
// separators ("yyyy. MM. dd."), quoted text, month names.
class TPictureReader {
 public:
  explicit TPictureReader(const std::wstring& text) : text_(text) {}

  std::optional<TDateTime> Read(const std::wstring& picture) {
    for (std::size_t i = 0; i < picture.size();) {
      const wchar_t c = picture[i];
      std::size_t run = 1;
      while (i + run < picture.size() && picture[i + run] == c) ++run;
      if (c == L'\'') {
        const std::size_t close = std::min(picture.find(L'\'', i + 1), picture.size());
        if (!Literal(picture.substr(i + 1, close - i - 1))) return std::nullopt;
        i = std::min(close + 1, picture.size());
        continue;
      }
      if (!Field(c, run)) return std::nullopt;
      i += run;
    }
    SkipBlanks();
    if (at_ != text_.size() || day_ == 0 || month_ == 0 || yearDigits_ == 0) return std::nullopt;
    const int year = yearDigits_ <= 2 ? year_ + (year_ < 50 ? 2000 : 1900) : year_;
    return EncodeDate(year, month_, day_);
  }

 private:
  bool Field(wchar_t c, std::size_t run) {
    switch (c) {
      case L'd': return run <= 2 ? Number(2, &day_) : Letters();  // ddd, dddd: the day's name
      case L'M': return run <= 2 ? Number(2, &month_) : MonthName(run == 3);
      case L'y': return Number(run <= 2 ? 2 : 4, &year_, &yearDigits_);
      case L'g': return Letters();  // the era
      default: return Literal(std::wstring(run, c));
    }
  }

  void SkipBlanks() {
    while (at_ < text_.size() && text_[at_] == L' ') ++at_;
  }

  bool Number(int maxDigits, int* value, int* digits = nullptr) {
    SkipBlanks();
    int count = 0;
    *value = 0;
    while (at_ < text_.size() && count < maxDigits && text_[at_] >= L'0' && text_[at_] <= L'9') {
      *value = *value * 10 + (text_[at_++] - L'0');
      ++count;
    }
    if (digits != nullptr) *digits = count;
    return count > 0;
  }

  bool Letters() {
    SkipBlanks();
    const std::size_t start = at_;
    while (at_ < text_.size() && std::iswalpha(static_cast<wint_t>(text_[at_]))) ++at_;
    return at_ > start;
  }

  bool MonthName(bool abbreviated) {
    SkipBlanks();
    for (int m = 0; m < 12; ++m) {
      const std::wstring name = abbreviated ? std::wstring(kMonthNames[m]).substr(0, 3) : kMonthNames[m];
      if (text_.size() - at_ >= name.size() && SameText(text_.substr(at_, name.size()), name)) {
        at_ += name.size();
        month_ = m + 1;
        return true;
      }
    }
    return false;
  }

  // Blanks in the picture or the text are not held against either.
  bool Literal(const std::wstring& literal) {
    for (const wchar_t c : literal) {
      if (c == L' ') continue;
      SkipBlanks();
      if (at_ >= text_.size() || text_[at_] != c) return false;
      ++at_;
    }
    return true;
  }

  const std::wstring& text_;
  std::size_t at_ = 0;
  int day_ = 0, month_ = 0, year_ = 0, yearDigits_ = 0;
};

}  // namespace

std::optional<TDateTime> ParseDateWithPicture(const std::wstring& text, const std::wstring& picture) {
  return TPictureReader(text).Read(picture);
}

std::optional<TDateTime> ParseShortDate(const std::wstring& text) {
  return ParseDateWithPicture(text, CurrentPlatform().Locale().ShortDateFormat());
}

}  // namespace orvix
