// The software list's column comparisons and header clicks.
#include "inventory/list_sort.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// Every pair of a list that is in strictly ascending order compares that way,
// both ways round.
template <typename Compare>
void ExpectAscending(const std::vector<std::wstring>& texts, Compare compare) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = 0; j < texts.size(); ++j) {
      EXPECT_EQ(Sign(compare(texts[i], texts[j])), Sign(int(i) - int(j)))
          << testing::Narrow(texts[i]) << " vs " << testing::Narrow(texts[j]);
    }
  }
}

TEST(ListSortTest, SizeTextsRankByUnitThenLength) {
  ExpectAscending({L"", L"5 Byte", L"1023 Byte", L"1.00 KB", L"900.00 KB", L"1.00 MB", L"9.00 MB", L"12.00 MB",
                   L"1.50 GB", L"5120.00 GB"},
                  CompareSizeTexts);
  EXPECT_EQ(CompareSizeTexts(L"1.50 mb", L"1.50 MB"), -1) << "units are matched in exact case only";
  EXPECT_EQ(CompareSizeTexts(L"1,50 MB", L"1.50 MB"), Sign(CompareText(L"1,50 MB", L"1.50 MB")));
  EXPECT_EQ(CompareSizeTexts(L"1.50 MB", L"1.50 MB"), 0);
}

TEST(ListSortTest, CaptionsIgnoreCase) {
  ExpectAscending({L"adobe\r\r ", L"Beta(x64)\r\rB", L"beta(x64)\r\rc", L"ZIP"}, CompareCaptions);
  EXPECT_EQ(CompareCaptions(L"Foo", L"FOO"), 0);
}

class DateSortTest : public testing::SimMachineTest {};

TEST_F(DateSortTest, DatesCompareAsDatesInTheUsersFormat) {
  Machine().locale.shortDateFormat = L"M/d/yyyy";
  ExpectAscending({L"", L"not a date", L"12/31/1999", L"1/2/2024", L"1/10/2024", L"10/1/2024"}, CompareDateTexts);
  Machine().locale.shortDateFormat = L"dd.MM.yyyy";
  ExpectAscending({L"", L"12/31/1999", L"31.12.1999", L"02.01.2024", L"10.01.2024", L"01.10.2024"}, CompareDateTexts);
  Machine().locale.shortDateFormat = L"yyyy. MM. dd.";
  ExpectAscending({L"", L"1999. 12. 31.", L"2024. 01. 02.", L"2024. 01. 10.", L"2024. 10. 01."}, CompareDateTexts);
  Machine().locale.shortDateFormat = L"dd-MMM-yy";
  ExpectAscending({L"", L"31-Dec-99", L"02-Jan-24", L"10-Jan-24", L"01-Oct-24"}, CompareDateTexts);
  EXPECT_EQ(CompareDateTexts(L"", L""), 0);
  EXPECT_EQ(CompareDateTexts(L"garbage", L"1/2/2024"), 0) << "neither parses: both are date 0";
}

std::vector<TListRow> Rows(std::initializer_list<const wchar_t*> sizes) {
  std::vector<TListRow> rows;
  for (const wchar_t* size : sizes) {
    TListRow row;
    row.index = rows.size();
    row.caption = L"App " + std::to_wstring(rows.size() % 2);
    row.sizeText = size;
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::size_t> Order(const std::vector<TListRow>& rows) {
  std::vector<std::size_t> order;
  for (const TListRow& row : rows) order.push_back(row.index);
  return order;
}

TEST(ListSortTest, RowsSortByTheColumnAndOrderKeepingTiesInListOrder) {
  const auto rows = Rows({L"12.00 MB", L"5 Byte", L"9.00 MB", L"900.00 KB", L"5 Byte"});
  const struct {
    const char* name;
    TListSort sort;
    std::vector<std::size_t> order;
  } cases[] = {
      {"size ascending", {colSize, soAscending}, {1, 4, 3, 2, 0}},
      {"size descending", {colSize, soDescending}, {0, 2, 3, 1, 4}},
      {"captions ascending", {colSoftwareName, soAscending}, {0, 2, 4, 1, 3}},
      {"captions descending", {colSoftwareName, soDescending}, {1, 3, 0, 2, 4}},
      {"no order", {colSize, soNone}, {0, 1, 2, 3, 4}},
      {"button column", {colOperate, soAscending}, {0, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    auto sorted = rows;
    SortRows(sorted, c.sort);
    EXPECT_EQ(Order(sorted), c.order) << c.name;
  }
}

TEST(ListSortTest, HeaderClicksSwitchOrderAndSkipTheButtonColumn) {
  const TListSort bySizeDown{colSize, soDescending};
  EXPECT_EQ(SortAfterHeaderClick(bySizeDown, colSize), (TListSort{colSize, soAscending}));
  EXPECT_EQ(SortAfterHeaderClick({colSize, soAscending}, colSize), bySizeDown);
  EXPECT_EQ(SortAfterHeaderClick(bySizeDown, colInstallDate), (TListSort{colInstallDate, soAscending}));
  EXPECT_EQ(SortAfterHeaderClick({colSoftwareName, soNone}, colSoftwareName),
            (TListSort{colSoftwareName, soAscending}));
  EXPECT_EQ(SortAfterHeaderClick(bySizeDown, colOperate), bySizeDown);
  EXPECT_EQ(SortAfterHeaderClick(bySizeDown, 7), bySizeDown);
}

}  // namespace
}  // namespace orvix
