// How an entry's size and install date become the texts the list shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "inventory/size_text.h"
#include "inventory/uninstall_entry.h"
#include "named_case.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr std::int64_t KB = 1024;
constexpr std::int64_t MB = 1024 * KB;
constexpr std::int64_t GB = 1024 * MB;

struct SizeCase : NamedCase {
  std::int64_t size;
  const wchar_t* text;
};

class SizeTextTest : public SimMachineTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeTextTest, WritesTheLargestUnitUpToGigabytes) {
  EXPECT_EQ(Narrow(SizeToText(GetParam().size)), Narrow(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeTextTest,
    ::testing::Values(SizeCase{{"Zero"}, 0, L"0 Byte"}, SizeCase{{"LastByteCount"}, 1023, L"1023 Byte"},
                      SizeCase{{"OneKilobyte"}, KB, L"1.00 KB"},
                      SizeCase{{"HalfUpRoundsAway"}, KB + KB / 8, L"1.13 KB"},  // 1.125 exactly
                      SizeCase{{"JustBelowAMegabyteStaysKilobytes"}, MB - 1, L"1024.00 KB"},
                      SizeCase{{"OneAndAHalfMegabytes"}, MB + MB / 2, L"1.50 MB"},
                      SizeCase{{"EstimatedSize2048"}, 2048 * KB, L"2.00 MB"},
                      SizeCase{{"OneGigabyte"}, GB, L"1.00 GB"},
                      SizeCase{{"TerabytesStayGigabytes"}, 5 * 1024 * GB, L"5120.00 GB"}),
    CaseName());

using SizeTextLocaleTest = SimMachineTest;

TEST_F(SizeTextLocaleTest, UsesTheUsersDecimalSeparator) {
  Machine().locale.decimalSeparator = L',';
  EXPECT_EQ(Narrow(SizeToText(MB + MB / 2)), "1,50 MB");
  EXPECT_EQ(Narrow(SizeToText(1000)), "1000 Byte");
}

struct InstallDateCase : NamedCase {
  const wchar_t* text;
  std::optional<TDateParts> date;
};

class InstallDateTest : public SimMachineTest, public ::testing::WithParamInterface<InstallDateCase> {};

TEST_P(InstallDateTest, ReadsEightDigitsInYearMonthDayOrder) {
  const std::optional<TDateTime> date = ParseInstallDate(GetParam().text);
  ASSERT_EQ(date.has_value(), GetParam().date.has_value());
  if (!date) return;
  const TDateParts parts = DecodeDate(*date);
  EXPECT_EQ(parts.year, GetParam().date->year);
  EXPECT_EQ(parts.month, GetParam().date->month);
  EXPECT_EQ(parts.day, GetParam().date->day);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InstallDateTest,
    ::testing::Values(InstallDateCase{{"EightDigits"}, L"20240115", TDateParts{2024, 1, 15}},
                      InstallDateCase{{"LeapDay"}, L"20240229", TDateParts{2024, 2, 29}},
                      InstallDateCase{{"NoSuchDay"}, L"20230229", std::nullopt},
                      InstallDateCase{{"MonthDayYearWithSlashes"}, L"01/15/2024", std::nullopt},
                      InstallDateCase{{"AlreadyDashed"}, L"2024-01-15", std::nullopt},
                      InstallDateCase{{"Empty"}, L"", std::nullopt},
                      InstallDateCase{{"TooShortToCut"}, L"12", std::nullopt},
                      InstallDateCase{{"Words"}, L"yesterday", std::nullopt}),
    CaseName());

}  // namespace
}  // namespace orvix::testing
