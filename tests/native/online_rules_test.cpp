// The rules the online services decide by, as tables: ordered version
// comparison, the check time's text form and the whole hours and days
// between two moments, the announced version in a version-check answer,
// which news links may be opened, and the updater's two command lines.
#include <gtest/gtest.h>

#include "named_case.h"
#include "native/rating_fixture.h"
#include "online/check_time.h"
#include "online/news_check.h"
#include "online/updater_launch.h"
#include "online/version_compare.h"

namespace orvix::testing {
namespace {

struct VersionCase : NamedCase {
  const wchar_t* first;
  const wchar_t* second;
  bool newer;
};

class VersionOrderTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionOrderTest, Compares) {
  EXPECT_EQ(IsNewerVersion(GetParam().first, GetParam().second), GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionOrderTest,
    ::testing::Values(VersionCase{{"LastPartHigher"}, L"3.2.0.12", L"3.2.0.9", true},
                      VersionCase{{"LastPartLower"}, L"3.2.0.9", L"3.2.0.12", false},
                      VersionCase{{"MoreParts"}, L"3.2.0.12", L"3.2", true},
                      VersionCase{{"FewerParts"}, L"3.2", L"3.2.0.12", false},
                      VersionCase{{"Equal"}, L"3.2", L"3.2", false},
                      VersionCase{{"MajorDecides"}, L"2.0", L"1.9", true},
                      VersionCase{{"MajorDecidesBack"}, L"1.9", L"2.0", false},
                      VersionCase{{"MajorBeatsLaterParts"}, L"2.0.0.0", L"1.99.99.99", true},
                      VersionCase{{"NumbersNotText"}, L"1.10", L"1.9", true},
                      VersionCase{{"LongNumbers"}, L"1.100000000000000000001", L"1.99999999999999999999", true},
                      VersionCase{{"LeadingZeros"}, L"1.010", L"1.9", true},
                      VersionCase{{"NumberAboveText"}, L"1.2", L"1.beta", true},
                      VersionCase{{"TextBelowNumber"}, L"1.beta.9", L"1.2.0", false},
                      VersionCase{{"SecondEmpty"}, L"1.0", L"", true},
                      VersionCase{{"BothEmpty"}, L"", L"", true},
                      VersionCase{{"FirstEmpty"}, L"", L"1.0", false}),
    CaseName());

TEST(CheckTime, WritesAndReadsTwoDigitFieldsOnTheTwentyFourHourClock) {
  EXPECT_EQ(FormatCheckTime(DateAt(2024, 3, 7, 9, 5, 4)), L"03/07/2024 09:05:04");
  EXPECT_EQ(FormatCheckTime(DateAt(2024, 12, 31, 23, 59, 59)), L"12/31/2024 23:59:59");
  EXPECT_EQ(ParseCheckTime(L"03/07/2024 09:05:04"), DateAt(2024, 3, 7, 9, 5, 4));
  EXPECT_EQ(ParseCheckTime(L"3/7/2024 9:05:04"), DateAt(2024, 3, 7, 9, 5, 4));
  for (const wchar_t* bad : {L"", L"2024-03-07 09:05:04", L"13/01/2024 00:00:00", L"02/30/2024 00:00:00",
                             L"03/07/2024 24:00:00", L"03/07/2024", L"03/07/2024 09:05:04x", L"yesterday"})
    EXPECT_FALSE(ParseCheckTime(bad).has_value()) << bad;
}

TEST(CheckTime, CountsWholeHoursAndDays) {
  const TDateTime start = DateAt(2024, 2, 28, 10, 0, 0);
  EXPECT_EQ(WholeHoursBetween(DateAt(2024, 2, 29, 9, 59, 0), start), 23);
  EXPECT_EQ(WholeHoursBetween(DateAt(2024, 2, 29, 10, 0, 0), start), 24);
  EXPECT_EQ(WholeHoursBetween(start, DateAt(2024, 2, 29, 10, 0, 0)), 24) << "either order";
  EXPECT_EQ(WholeDaysBetween(DateAt(2024, 3, 6, 9, 0, 0), start), 6);
  EXPECT_EQ(WholeDaysBetween(DateAt(2024, 3, 6, 10, 0, 0), start), 7);
}

TEST(NewsCheckRules, TimeToCheckAfterMoreThanTwentyThreeWholeHours) {
  const std::wstring last = L"02/28/2024 10:00:00";
  EXPECT_FALSE(TLastNewsCheck::IsTimeToCheck(last, DateAt(2024, 2, 29, 9, 59, 0)));
  EXPECT_TRUE(TLastNewsCheck::IsTimeToCheck(last, DateAt(2024, 2, 29, 10, 0, 0)));
  EXPECT_TRUE(TLastNewsCheck::IsTimeToCheck(last, DateAt(2024, 2, 27, 10, 0, 0))) << "a clock set back";
  EXPECT_FALSE(TLastNewsCheck::IsTimeToCheck(L"garbage", DateAt(2030, 1, 1)));
}

struct AnswerCase : NamedCase {
  const wchar_t* answer;
  const wchar_t* version;
};

class AnnouncedVersionTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnnouncedVersionTest, Reads) { EXPECT_EQ(AnnouncedVersion(GetParam().answer), GetParam().version); }

INSTANTIATE_TEST_SUITE_P(
    Answers, AnnouncedVersionTest,
    ::testing::Values(AnswerCase{{"Alone"}, L"da3=3.2.0.12|", L"3.2.0.12"},
                      AnswerCase{{"AmongOthers"}, L"xb1=1.0|da3:3.3| qq7=9|", L"3.3"},
                      AnswerCase{{"Blanks"}, L"da3= 3.4 |", L"3.4"},
                      AnswerCase{{"NoBar"}, L"da3=3.5", L""},
                      AnswerCase{{"NoCode"}, L"xb1=1.0|", L""},
                      AnswerCase{{"CodeAtTheEnd"}, L"xb1=1.0|da3", L""},
                      AnswerCase{{"FirstOccurrence"}, L"da3=4.0|da3=5.0|", L"4.0"}),
    CaseName());

struct LinkCase : NamedCase {
  const wchar_t* link;
  bool opens;
};

class NewsLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(NewsLinkTest, OpensOnlyWebAddresses) { EXPECT_EQ(IsOpenableNewsLink(GetParam().link), GetParam().opens); }

INSTANTIATE_TEST_SUITE_P(
    Links, NewsLinkTest,
    ::testing::Values(LinkCase{{"Http"}, L"http://news.example.com/a?b=1", true},
                      LinkCase{{"HttpsUpperCase"}, L"HTTPS://Example.com", true},
                      LinkCase{{"Blanks"}, L"  https://example.com/x  ", true},
                      LinkCase{{"NoHost"}, L"https:///etc/passwd", false},
                      LinkCase{{"FilePath"}, L"C:\\Windows\\System32\\calc.exe", false},
                      LinkCase{{"FileScheme"}, L"file:///C:/Windows/System32/calc.exe", false},
                      LinkCase{{"UncPath"}, L"\\\\server\\share\\x.exe", false},
                      LinkCase{{"OtherScheme"}, L"javascript:alert(1)", false},
                      LinkCase{{"ProgramWithArguments"}, L"https://a.com\" & calc.exe", false},
                      LinkCase{{"BackslashHost"}, L"http://\\\\server\\share", false},
                      LinkCase{{"Empty"}, L"", false}),
    CaseName());

TEST(UpdaterLaunch, TheTwoCommandLinesByteForByte) {
  EXPECT_EQ(UpdaterParameters(TUpdaterMode::Manual, L"C:\\P\\U.exe", L"C:\\P\\", L"English"),
            L"/appupt /manual /product uninstaller /fn \"C:\\P\\U.exe\" /location \"C:\\P\\\" /language English");
  EXPECT_EQ(UpdaterParameters(TUpdaterMode::Auto, L"C:\\P\\U.exe", L"C:\\P\\", L"German"),
            L"/appupt /auto /product uninstaller /fn  \"C:\\P\\U.exe\" /location \"C:\\P\\\" /language German");
}

}  // namespace
}  // namespace orvix::testing
