// OLE dates, the user's date pictures and reading dates back.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/date_time.h"
#include "platform/sim/sim_locale_formats.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

TEST(DateTimeTest, EncodesAndDecodesOleDates) {
  const struct {
    int year, month, day;
    double ole;
  } cases[] = {{1899, 12, 30, 0}, {1900, 1, 1, 2}, {2000, 2, 29, 36585}, {2024, 1, 1, 45292}, {1, 1, 1, -693593}};
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.ole) << c.year << "-" << c.month << "-" << c.day;
    const TDateParts parts = DecodeDate(c.ole + 0.75);
    EXPECT_EQ(parts.year, c.year);
    EXPECT_EQ(parts.month, c.month);
    EXPECT_EQ(parts.day, c.day);
  }
  EXPECT_FALSE(EncodeDate(2023, 2, 29));
  EXPECT_FALSE(EncodeDate(2024, 13, 1));
  EXPECT_FALSE(EncodeDate(0, 1, 1));
}

TEST(DateTimeTest, FormatsDatePictures) {
  const TDateTime date = *EncodeDate(2024, 3, 5);
  EXPECT_EQ(FormatDate(date, L"M/d/yyyy"), L"3/5/2024");
  EXPECT_EQ(FormatDate(date, L"dd.MM.yyyy"), L"05.03.2024");
  EXPECT_EQ(FormatDate(date, L"yyyy-MM-dd"), L"2024-03-05");
  EXPECT_EQ(FormatDate(date, L"d MMM yy"), L"5 Mar 24");
  EXPECT_EQ(FormatDate(date, L"dd'de'MMMM"), L"05deMarch");
}

TEST(DateTimeTest, FormatsTimePictures) {
  const TDateTime afternoon = *EncodeDate(2024, 3, 5) + (14 * 3600 + 3 * 60 + 7) / 86400.0;
  EXPECT_EQ(FormatDate(afternoon, L"HH:mm:ss"), L"14:03:07");
  EXPECT_EQ(FormatDate(afternoon, L"h:mm:ss tt"), L"2:03:07 PM");
  EXPECT_EQ(FormatDate(afternoon, L"hh:m:s t"), L"02:3:7 P");
  EXPECT_EQ(FormatDate(*EncodeDate(2024, 3, 5), L"h:mm tt"), L"12:00 AM");
  // A time that rounds up to midnight belongs to the next day.
  EXPECT_EQ(FormatDate(*EncodeDate(2024, 12, 31) + 0.9999999999, L"yyyy-MM-dd HH:mm:ss"), L"2025-01-01 00:00:00");
}

TEST(DateTimeTest, ParsesDatesInAGivenOrder) {
  EXPECT_EQ(ParseDate(L"2024-01-15", TDateOrder::YearMonthDay, L'-'), EncodeDate(2024, 1, 15));
  EXPECT_EQ(ParseDate(L"1/15/2024", TDateOrder::MonthDayYear, L'/'), EncodeDate(2024, 1, 15));
  EXPECT_EQ(ParseDate(L"15.1.24", TDateOrder::DayMonthYear, L'.'), EncodeDate(2024, 1, 15));
  EXPECT_EQ(ParseDate(L"15.1.99", TDateOrder::DayMonthYear, L'.'), EncodeDate(1999, 1, 15));
  for (const wchar_t* bad : {L"", L"2024-01", L"2024-01-15-3", L"2024-13-01", L"01/15/2024", L"2024-0x-15",
                             L"20240-01-15"}) {
    EXPECT_FALSE(ParseDate(bad, TDateOrder::YearMonthDay, L'-')) << testing::Narrow(bad);
  }
}

class ShortDateTest : public testing::SimMachineTest {};

TEST_F(ShortDateTest, EveryShippedFormatReadsBackWhatItWrote) {
  std::vector<TDateTime> dates;
  for (const auto& [year, month, day] : {std::tuple{2024, 11, 28}, {2000, 1, 1}, {1999, 12, 31}, {2024, 2, 29},
                                         {2049, 5, 9}, {1950, 10, 10}}) {
    dates.push_back(*EncodeDate(year, month, day));
  }
  for (const sim::SimShortDateFormat& format : sim::ShippedShortDateFormats()) {
    Machine().locale.shortDateFormat = format.picture;
    for (const TDateTime date : dates) {
      const std::wstring text = FormatShortDate(date);
      EXPECT_EQ(ParseShortDate(text), date) << testing::Narrow(format.locale) << " " << testing::Narrow(text);
    }
  }
}

TEST_F(ShortDateTest, TextThatIsNoDateInTheFormatIsRefused) {
  Machine().locale.shortDateFormat = L"M/d/yyyy";
  for (const wchar_t* text : {L"28.11.2024", L"13/1/2024", L"2/30/2024", L"1/2/2024x", L"", L"1/2", L"a/b/c"}) {
    EXPECT_FALSE(ParseShortDate(text)) << testing::Narrow(text);
  }
  Machine().locale.shortDateFormat = L"yyyy. MM. dd.";
  EXPECT_EQ(ParseShortDate(L"2024. 11. 28."), EncodeDate(2024, 11, 28));
  EXPECT_FALSE(ParseShortDate(L"2024. 11. 28"));  // the closing dot is part of the format
  Machine().locale.shortDateFormat = L"dd-MMM-yy";
  EXPECT_EQ(ParseShortDate(L"09-may-49"), EncodeDate(2049, 5, 9));
  EXPECT_FALSE(ParseShortDate(L"09-Mai-49"));
}

TEST_F(ShortDateTest, ShortDateAndLongTimeFollowTheUser) {
  const TDateTime moment = *EncodeDate(2013, 5, 31) + (14 * 3600 + 3 * 60 + 7) / 86400.0;
  EXPECT_EQ(FormatShortDateLongTime(moment), L"5/31/2013 2:03:07 PM");
  Machine().locale.shortDateFormat = L"dd/MM/yyyy";
  Machine().locale.longTimeFormat = L"HH:mm:ss";
  EXPECT_EQ(FormatShortDateLongTime(moment), L"31/05/2013 14:03:07");
}

TEST_F(ShortDateTest, NowIsTheLocalTimeOfTheClock) {
  Machine().clock.SetUtcOffsetMinutes(-300);
  EXPECT_DOUBLE_EQ(NowLocal(), 45292.0 - 5.0 / 24);
}

}  // namespace
}  // namespace orvix
