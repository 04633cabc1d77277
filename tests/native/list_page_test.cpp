// The software page's state: tabs, search, sort, view and batch modes, and
// what its uninstall command acts on.
#include "inventory/list_page.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "platform/settings.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::Add;
using testing::DateOf;
using testing::Entry;

class ListPageTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    testing::SetNow(Machine().clock, DateOf(2024, 3, 10, 12));
    Machine().locale.shortDateFormat = L"M/d/yyyy";
    AddProgram(L"Editor", L"20.00 MB", 20LL << 20, DateOf(2024, 3, 1));
    AddProgram(L"Big Game", L"2.00 GB", 2LL << 30, DateOf(2024, 3, 9));
    AddProgram(L"Old Tool", L"900.00 KB", 900 << 10, DateOf(2020, 1, 1));
    AddProgram(L"Video Suite", L"120.00 MB", 120LL << 20, DateOf(2024, 3, 8));
    TSoftInfo update = Entry(L"Update for Editor (KB1)");
    update.IsUpdate = true;
    Add(items, update);
  }

  void AddProgram(const wchar_t* name, const wchar_t* sizeText, std::int64_t size, TDateTime installed) {
    TSoftInfo entry = Entry(name);
    entry.SizeText = sizeText;
    entry.Size = size;
    entry.InstallDate = installed;
    entry.InstallDateText = FormatShortDate(installed);
    Add(items, entry);
  }

  static std::vector<std::wstring> Names(const TSoftwarePage& page) {
    std::vector<std::wstring> names;
    for (const TListRow& row : page.Rows()) names.push_back(row.entry->DisplayName);
    return names;
  }

  TSoftList items;
};

TEST_F(ListPageTest, TabsListTheirCategoryWithTheirSortAndClearTheSearch) {
  TSoftwarePage page(items);
  EXPECT_EQ(page.CurrentTab(), -1);
  EXPECT_EQ(page.Category(), scAllPrograms);
  EXPECT_TRUE(page.Rows().empty()) << "nothing is listed before a tab is chosen";
  EXPECT_EQ(page.Sort(), (TListSort{colSoftwareName, soAscending})) << "Main.ini's defaults";

  ASSERT_TRUE(page.SelectCategory(0));
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Big Game", L"Editor", L"Old Tool", L"Video Suite"}));
  EXPECT_EQ(page.HeaderText(), L"Software Name (Total: 4)");

  page.FillCurrent(L"e");
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Big Game", L"Editor", L"Video Suite"}));
  EXPECT_FALSE(page.SelectCategory(0)) << "the current tab again changes nothing";
  EXPECT_EQ(page.Filter(), L"e");

  ASSERT_TRUE(page.SelectCategory(1));  // Recently Installed: newest first
  EXPECT_EQ(page.Filter(), L"");
  EXPECT_EQ(page.Category(), scRecentlyInstalled);
  EXPECT_EQ(page.Sort(), (TListSort{colInstallDate, soDescending}));
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Big Game", L"Video Suite", L"Editor"}));
  page.FillCurrent(L"VIDEO");
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Video Suite"})) << "the search filters only the current tab";

  ASSERT_TRUE(page.SelectCategory(2));  // Large Programs: largest first
  EXPECT_EQ(page.Sort(), (TListSort{colSize, soDescending}));
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Big Game", L"Video Suite"}));

  ASSERT_TRUE(page.SelectCategory(4));  // Windows Updates keeps the sort
  EXPECT_EQ(page.Sort(), (TListSort{colSize, soDescending}));
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Update for Editor (KB1)"}));
  EXPECT_FALSE(page.SelectCategory(5));
  EXPECT_EQ(page.CurrentTab(), 4);
}

TEST_F(ListPageTest, SortViewAndBatchModePersistInMainIni) {
  WriteSoftwareListSort({colSize, soAscending});
  WriteListViewStyle(lvmIcons);
  WriteBatchUninstall(true);
  TSoftwarePage page(items);
  EXPECT_EQ(page.Sort(), (TListSort{colSize, soAscending}));
  EXPECT_EQ(page.ViewMode(), lvmIcons);
  EXPECT_TRUE(page.BatchMode());
  page.SelectCategory(0);
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Old Tool", L"Editor", L"Video Suite", L"Big Game"}));
  EXPECT_EQ(page.Rows()[0].caption, L"Old Tool");

  page.ClickHeader(colOperate);
  EXPECT_EQ(page.Sort(), (TListSort{colSize, soAscending})) << "the button column is no sort column";
  page.ClickHeader(colSize);
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Big Game", L"Video Suite", L"Editor", L"Old Tool"}));
  page.ClickHeader(colInstallDate);
  EXPECT_EQ(Names(page), (std::vector<std::wstring>{L"Old Tool", L"Editor", L"Video Suite", L"Big Game"}));

  page.FillCurrent(L"o");
  page.SetViewMode(lvmDetails);
  EXPECT_EQ(page.Filter(), L"") << "a view switch lists the category without the search";
  EXPECT_EQ(page.Rows().size(), 4u);
  EXPECT_EQ(page.Rows()[0].caption, L"Old Tool\r\r ");
  page.SetBatchMode(false);
  page.SaveSort();

  EXPECT_EQ(ReadListViewStyle(), lvmDetails);
  EXPECT_FALSE(ReadBatchUninstall());
  const SoftwareListSort saved = ReadSoftwareListSort();
  EXPECT_EQ(saved.columnIndex, colInstallDate);
  EXPECT_EQ(saved.sortState, soAscending);
}

TEST_F(ListPageTest, UninstallActsOnTheCheckedOrSelectedRows) {
  TSoftwarePage page(items);
  page.SelectCategory(0);  // Big Game, Editor, Old Tool, Video Suite
  const TSoftInfo* editor = page.Rows()[1].entry;
  const TSoftInfo* oldTool = page.Rows()[2].entry;

  TUninstallChoice choice = page.UninstallAction({2, 3}, 1);
  EXPECT_EQ(choice.entries, (std::vector<const TSoftInfo*>{editor})) << "outside batch mode only the selection counts";
  EXPECT_EQ(page.UninstallAction({}, std::nullopt).message, L"Please select a program first.");
  EXPECT_EQ(page.UninstallAction({}, 99).message, L"Please select a program first.");
  EXPECT_TRUE(page.DoubleClickUninstalls());

  page.SetBatchMode(true);
  choice = page.UninstallAction({2, 1}, 0);
  EXPECT_EQ(choice.entries, (std::vector<const TSoftInfo*>{oldTool, editor}));
  EXPECT_TRUE(choice.message.empty());
  EXPECT_EQ(page.UninstallAction({}, 0).message, L"Please select at least one program.");
  EXPECT_FALSE(page.DoubleClickUninstalls());
  EXPECT_EQ(page.RowButtonAction(2).entries, (std::vector<const TSoftInfo*>{oldTool}))
      << "the row button acts on its own row even in batch mode";
}

TEST_F(ListPageTest, AnalysisUpdatesReachTheListedRow) {
  TSoftwarePage page(items);
  page.SelectCategory(0);
  items[2]->SizeText = L"1.00 MB";  // Old Tool, listed third
  items[2]->ImageIndex = 4;
  EXPECT_EQ(page.UpdateEntry(2), 2u);
  EXPECT_EQ(page.Rows()[2].sizeText, L"1.00 MB");
  EXPECT_EQ(page.Rows()[2].imageIndex, 4);
  EXPECT_EQ(page.UpdateEntry(4), std::nullopt) << "the update is not listed under All Programs";
}

}  // namespace
}  // namespace orvix
