#include "online/check_time.h"

#include <cmath>
#include <cstdlib>

#include "platform/text.h"

namespace orvix {
namespace {

constexpr double kSecondsPerDay = 86400.0;

// A number of one to `maxDigits` digits at `at`, which moves past it.
std::optional<int> ReadNumber(const std::wstring& text, std::size_t& at, std::size_t maxDigits) {
  const std::size_t start = at;
  int value = 0;
  while (at < text.size() && at - start < maxDigits && text[at] >= L'0' && text[at] <= L'9')
    value = value * 10 + (text[at++] - L'0');
  if (at == start || (at < text.size() && text[at] >= L'0' && text[at] <= L'9')) return std::nullopt;
  return value;
}

bool Expect(const std::wstring& text, std::size_t& at, wchar_t c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

}  // namespace

std::wstring FormatCheckTime(TDateTime time) { return FormatDate(time, L"MM/dd/yyyy HH:mm:ss"); }

std::optional<TDateTime> ParseCheckTime(const std::wstring& raw) {
  const std::wstring text = Trim(raw);
  std::size_t at = 0;
  const auto month = ReadNumber(text, at, 2);
  if (!month || !Expect(text, at, L'/')) return std::nullopt;
  const auto day = ReadNumber(text, at, 2);
  if (!day || !Expect(text, at, L'/')) return std::nullopt;
  const auto year = ReadNumber(text, at, 4);
  if (!year || !Expect(text, at, L' ')) return std::nullopt;
  const auto hour = ReadNumber(text, at, 2);
  if (!hour || !Expect(text, at, L':')) return std::nullopt;
  const auto minute = ReadNumber(text, at, 2);
  if (!minute || !Expect(text, at, L':')) return std::nullopt;
  const auto second = ReadNumber(text, at, 2);
  if (!second || at != text.size() || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  const auto date = EncodeDate(*year, *month, *day);
  if (!date) return std::nullopt;
  return *date + (*hour * 3600 + *minute * 60 + *second) / kSecondsPerDay;
}

TDateTime CheckTimeNow() {
  const TDateTime now = NowLocal();
  return ParseCheckTime(FormatCheckTime(now)).value_or(now);
}

std::int64_t WholeHoursBetween(TDateTime a, TDateTime b) {
  return std::llabs(std::llround((a - b) * kSecondsPerDay)) / 3600;
}

std::int64_t WholeDaysBetween(TDateTime a, TDateTime b) {
  return std::llabs(std::llround((a - b) * kSecondsPerDay)) / 86400;
}

}  // namespace orvix
