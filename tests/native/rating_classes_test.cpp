// The usage classes at each of their boundaries, by the time that has passed.
#include <gtest/gtest.h>

#include "inventory/rating_classes.h"
#include "native/named_case.h"
#include "native/rating_fixture.h"

namespace orvix {
namespace {

using testing::DateAt;

struct RangeCase : testing::NamedCase {
  TDateTime lastUse;
  TDateTime now;
  TAppUseRange expected;
};

class UseRangeBoundary : public ::testing::TestWithParam<RangeCase> {};

TEST_P(UseRangeBoundary, Classifies) {
  EXPECT_EQ(UseRangeName(ClassifyUseRange(GetParam().lastUse, GetParam().now)), UseRangeName(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UseRangeBoundary,
    ::testing::Values(
        // Same month: by days, the time of day does not count.
        RangeCase{{"SameDay"}, DateAt(2024, 5, 20, 0, 0, 2), DateAt(2024, 5, 20, 23, 59, 0), audToday},
        RangeCase{{"OneDay"}, DateAt(2024, 5, 19, 23, 59), DateAt(2024, 5, 20, 0, 1), aud3Day},
        RangeCase{{"ThreeDays"}, DateAt(2024, 5, 17), DateAt(2024, 5, 20), aud3Day},
        RangeCase{{"FourDays"}, DateAt(2024, 5, 16), DateAt(2024, 5, 20), audWeek},
        RangeCase{{"SevenDays"}, DateAt(2024, 5, 13), DateAt(2024, 5, 20), audWeek},
        RangeCase{{"EightDays"}, DateAt(2024, 5, 12), DateAt(2024, 5, 20), aud2Week},
        RangeCase{{"FourteenDays"}, DateAt(2024, 5, 6), DateAt(2024, 5, 20), aud2Week},
        RangeCase{{"FifteenDays"}, DateAt(2024, 5, 5), DateAt(2024, 5, 20), audMonth},
        RangeCase{{"TwentyDaysSameMonth"}, DateAt(2024, 5, 1), DateAt(2024, 5, 21), audMonth},
        RangeCase{{"LaterThisMonth"}, DateAt(2024, 5, 21), DateAt(2024, 5, 20), audUnknown},
        // Earlier months of the year: whole months, less one when the day is not reached.
        RangeCase{{"PreviousMonthDayNotReached"}, DateAt(2024, 3, 20), DateAt(2024, 4, 19), audMonth},
        RangeCase{{"OneWholeMonth"}, DateAt(2024, 3, 20), DateAt(2024, 4, 20), aud2Month},
        RangeCase{{"TwoMonthsLessADay"}, DateAt(2024, 2, 21), DateAt(2024, 4, 20), aud2Month},
        RangeCase{{"TwoWholeMonths"}, DateAt(2024, 2, 20), DateAt(2024, 4, 20), aud3Month},
        RangeCase{{"ThreeWholeMonths"}, DateAt(2024, 1, 1), DateAt(2024, 4, 1), audMore},
        RangeCase{{"LaterMonthThisYear"}, DateAt(2024, 6, 1), DateAt(2024, 5, 20), audUnknown},
        // By the time that has passed, across month and year ends and leap days.
        RangeCase{{"NewYearsEveTwoDaysAgo"}, DateAt(2023, 12, 31), DateAt(2024, 1, 2), aud3Day},
        RangeCase{{"TwentyDaysAcrossTheYearEnd"}, DateAt(2023, 12, 20), DateAt(2024, 1, 9), audMonth},
        RangeCase{{"OneWholeMonthAcrossTheYearEnd"}, DateAt(2023, 12, 15), DateAt(2024, 1, 15), aud2Month},
        RangeCase{{"ThreeMonthsAcrossTheYearEnd"}, DateAt(2023, 11, 1), DateAt(2024, 2, 1), audMore},
        RangeCase{{"LeapDayToTheFirstOfMarch"}, DateAt(2024, 2, 29), DateAt(2024, 3, 1), aud3Day},
        RangeCase{{"EndOfJanuaryToEndOfFebruary"}, DateAt(2023, 1, 31), DateAt(2023, 2, 28), aud2Month},
        RangeCase{{"EndOfMonthToTheFirst"}, DateAt(2024, 4, 30), DateAt(2024, 5, 1), aud3Day},
        RangeCase{{"YearsAgo"}, DateAt(2019, 6, 1), DateAt(2024, 5, 20), audMore},
        RangeCase{{"NextYear"}, DateAt(2025, 1, 1), DateAt(2024, 12, 31), audUnknown},
        RangeCase{{"BeyondTheCalendar"}, 1e12, DateAt(2024, 12, 31), audUnknown}),
    testing::CaseName());

struct RateCase : testing::NamedCase {
  TAppUseRange range;
  TDateTime installDate;
  TAppUseRate previous;
  TAppUseRate expected;
};

class UseRateBoundary : public ::testing::TestWithParam<RateCase> {};

TEST_P(UseRateBoundary, Classifies) {
  const TDateTime now = DateAt(2024, 5, 20);
  EXPECT_EQ(UseRateName(ClassifyUseRate(GetParam().range, GetParam().installDate, now, GetParam().previous)),
            UseRateName(GetParam().expected));
}

const TDateTime kLongAgo = DateAt(2019, 6, 1);

INSTANTIATE_TEST_SUITE_P(
    Cases, UseRateBoundary,
    ::testing::Values(
        RateCase{{"TodayIsOften"}, audToday, kLongAgo, aurUnknown, aurOften},
        RateCase{{"TwoWeeksIsOften"}, aud2Week, kLongAgo, aurUnknown, aurOften},
        RateCase{{"MonthIsLess"}, audMonth, kLongAgo, aurUnknown, aurLess},
        RateCase{{"TwoMonthsIsLess"}, aud2Month, kLongAgo, aurUnknown, aurLess},
        RateCase{{"ThreeMonthsIsRarely"}, aud3Month, kLongAgo, aurUnknown, aurRarely},
        RateCase{{"MoreIsRarely"}, audMore, kLongAgo, aurUnknown, aurRarely},
        // Installed lately: too new to call rarely used.
        RateCase{{"InstalledThisMonth"}, audMore, DateAt(2024, 5, 13), aurUnknown, aurUnknown},
        RateCase{{"InstalledLastMonth"}, audMore, DateAt(2024, 4, 1), aurUnknown, aurUnknown},
        RateCase{{"InstalledTwoMonthsBackDayNotReached"}, aud3Month, DateAt(2024, 3, 21), aurUnknown, aurUnknown},
        RateCase{{"InstalledTwoWholeMonthsBack"}, aud3Month, DateAt(2024, 3, 20), aurUnknown, aurRarely},
        RateCase{{"InstalledThreeMonthsBack"}, audMore, DateAt(2024, 2, 25), aurUnknown, aurRarely},
        RateCase{{"InstalledLastDecember"}, audMore, DateAt(2023, 12, 1), aurUnknown, aurRarely},
        RateCase{{"InstallDateUnknown"}, audMore, 0, aurUnknown, aurRarely},
        RateCase{{"InstallDateBeyondTheCalendar"}, audMore, 1e12, aurUnknown, aurRarely},
        // An unknown range leaves the folder's rate as it was.
        RateCase{{"UnknownRangeKeepsRate"}, audUnknown, kLongAgo, aurLess, aurLess},
        RateCase{{"UnknownRangeFirstTime"}, audUnknown, kLongAgo, aurUnknown, aurUnknown}),
    testing::CaseName());

TEST(UseRateAcrossTheYearEnd, InstalledLastMonthIsRecentInJanuaryToo) {
  EXPECT_EQ(ClassifyUseRate(audMore, DateAt(2023, 12, 20), DateAt(2024, 1, 10), aurUnknown), aurUnknown);
  EXPECT_EQ(ClassifyUseRate(audMore, DateAt(2023, 10, 20), DateAt(2024, 1, 10), aurUnknown), aurRarely);
}

}  // namespace
}  // namespace orvix
