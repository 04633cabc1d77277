// The user's locale, the ANSI code page and the clock of the Wine prefix.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform/date_time.h"

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

class LocaleClockWineTest : public ::testing::Test {
 protected:
  win32::Win32Platform platform_;
  ILocaleApi& locale_ = platform_.Locale();
  IClockApi& clock_ = platform_.Clock();
};

TEST_F(LocaleClockWineTest, ShortDateFormatAndDecimalSeparator) {
  const std::wstring format = locale_.ShortDateFormat();
  for (wchar_t part : {L'd', L'M', L'y'}) EXPECT_NE(format.find(part), std::wstring::npos) << format;
  const std::wstring time = locale_.LongTimeFormat();
  for (wchar_t part : {L'm', L's'}) EXPECT_NE(time.find(part), std::wstring::npos) << time;
  const wchar_t separator = locale_.DecimalSeparator();
  EXPECT_TRUE(separator == L'.' || separator == L',') << static_cast<int>(separator);
}

// The system's own short date formats and the dates it writes in them read
// back through ours: the formats that end with a separator among them.
TEST(ShortDateFormatsWineTest, DatesTheSystemWritesReadBack) {
  ::SYSTEMTIME day{};
  day.wYear = 2024;
  day.wMonth = 11;
  day.wDay = 28;
  for (const wchar_t* name : {L"en-US", L"de-DE", L"hu-HU", L"hr-HR", L"lv-LV", L"sk-SK", L"ja-JP", L"nl-NL"}) {
    SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
    wchar_t picture[80] = {};
    ASSERT_GT(::GetLocaleInfoEx(name, LOCALE_SSHORTDATE, picture, 80), 0);
    wchar_t text[80] = {};
    ASSERT_GT(::GetDateFormatEx(name, 0, &day, picture, text, 80, nullptr), 0);
    EXPECT_EQ(FormatDate(*EncodeDate(2024, 11, 28), picture), text);
    EXPECT_EQ(ParseDateWithPicture(text, picture), EncodeDate(2024, 11, 28));
  }
}

TEST_F(LocaleClockWineTest, AnsiTextInTheWesternCodePage) {
  // Wine takes the code page from the host's locale: Windows-1252 for an
  // English or C locale, as on the machines that run these tests.
  if (locale_.AnsiCodePage() != 1252) GTEST_SKIP() << "ANSI code page " << locale_.AnsiCodePage();
  EXPECT_EQ(locale_.ToAnsi(L"caf\u00e9 \u20ac5"), "caf\xe9 \x80" "5");
  EXPECT_EQ(locale_.FromAnsi("caf\xe9 \x80" "5"), L"caf\u00e9 \u20ac5");
  // Characters the code page lacks become "?", never a look-alike ("A" for "Ā").
  EXPECT_EQ(locale_.ToAnsi(L"\u0100\u0416\u4e2d!"), std::string(3, '?') + "!");
  EXPECT_EQ(locale_.ToAnsi(L""), "");
  EXPECT_EQ(locale_.FromAnsi(""), L"");
  const std::wstring longText(5000, L'\u00e9');
  EXPECT_EQ(locale_.FromAnsi(locale_.ToAnsi(longText)), longText);
}

TEST_F(LocaleClockWineTest, ClockAgreesWithTheLibraryClock) {
  // 100 ns ticks between 1601-01-01 and 1970-01-01.
  constexpr std::int64_t kUnixEpochTicks = 116444736000000000;
  const auto sinceUnixEpoch = std::chrono::system_clock::now().time_since_epoch();
  const std::int64_t libraryNow =
      kUnixEpochTicks + std::chrono::duration_cast<std::chrono::microseconds>(sinceUnixEpoch).count() * 10;
  const auto now = static_cast<std::int64_t>(clock_.NowUtc());
  EXPECT_LT(std::llabs(now - libraryNow), 50'000'000) << "more than 5 s apart";

  // Local time differs from UTC by whole quarter hours, at most 14 hours.
  const FILETIME64 utc = clock_.NowUtc();
  const std::int64_t offset = static_cast<std::int64_t>(clock_.ToLocal(utc) - utc);
  constexpr std::int64_t kQuarterHour = 15LL * 60 * 10'000'000;
  EXPECT_LE(std::llabs(offset), 14 * 4 * kQuarterHour);
  EXPECT_EQ(offset % kQuarterHour, 0);
}

TEST_F(LocaleClockWineTest, SleepLetsTheTickCountAdvance) {
  const DWORD before = clock_.TickCount();
  clock_.Sleep(200);
  // The tick count moves in steps of up to a few tens of milliseconds, so a
  // sleep shows as at least half its length, never as nothing.
  EXPECT_GE(clock_.TickCount() - before, 100u);
}

}  // namespace
}  // namespace orvix
