// The add-on model shared by every browser: how entries enter a cleaner's
// list and merge, the stored trust and vote state in "BCleanerdb", the
// removal, restore and trust batches, twins across browsers and the
// exported add-on list.
#include "addons/all_browser_cleaner.h"

#include <gtest/gtest.h>

#include "addon_fixture.h"
#include "addons/bcleaner_db.h"
#include "named_case.h"
#include "platform/date_time.h"
#include "platform/settings.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::TFakeCleaner;
using testing::TFoundAddOn;

class AddonModelTest : public testing::SimMachineTest {
 protected:
  std::wstring DbPath() { return DataFolder() + kBCleanerDbName; }

  // Runs one statement on the add-on database, as another program might.
  void Execute(const std::wstring& sql) {
    TSqliteDb db;
    ASSERT_TRUE(db.Open(DbPath(), TSqliteOpenMode::ReadWrite));
    ASSERT_TRUE(db.Exec(sql)) << testing::Narrow(db.LastError());
  }
  // "flag|path" for every row of "trusted", in row order.
  std::vector<std::wstring> TrustedRows() {
    TSqliteDb db;
    std::vector<std::wstring> rows;
    EXPECT_TRUE(db.Open(DbPath(), TSqliteOpenMode::ReadOnly));
    auto query = db.Prepare(L"SELECT flag, path FROM trusted ORDER BY pid");
    if (!query) return rows;
    while (query->Step()) rows.push_back(query->ColumnText(0) + L"|" + query->ColumnText(1));
    return rows;
  }
};

struct MergeCase : testing::NamedCase {
  TFoundAddOn second;
  bool includeInactive;
  std::size_t entries;
  std::size_t firstPaths;
  const wchar_t* firstPublisher;
};

class AddonMergeTest : public AddonModelTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(AddonMergeTest, AnAddOnFoundTwiceOnOneSideBecomesOneEntry) {
  const MergeCase& c = GetParam();
  TFakeCleaner cleaner(pbChrome, {{L"a", L"Tab Tool", L"Tabs", L"C:\\A\\a.dll", L"", L"1,2"}, c.second});
  cleaner.IncludeInactive = c.includeInactive;
  cleaner.List();
  ASSERT_EQ(cleaner.Items.size(), c.entries);
  EXPECT_EQ(cleaner.Items[0]->Paths.size(), c.firstPaths);
  EXPECT_EQ(cleaner.Items[0]->Publisher, c.firstPublisher);
  EXPECT_EQ(cleaner.Items[0]->Version, L"1.2");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddonMergeTest,
    ::testing::Values(
        MergeCase{{"same_add_on_other_case_and_blanks"}, {L"b", L" tab &tool ", L"TABS ", L"C:\\B\\b.dll", L"Maker", L"1.2"},
                  false, 1, 2, L"Maker"},
        MergeCase{{"other_side"}, {L"b", L"Tab Tool", L"Tabs", L"C:\\B\\b.dll", L"", L"1.2", true, true}, false, 2, 1, L""},
        MergeCase{{"other_version"}, {L"b", L"Tab Tool", L"Tabs", L"C:\\B\\b.dll", L"", L"1.3"}, false, 2, 1, L""},
        MergeCase{{"switched_off_is_left_out"}, {L"b", L"Other", L"", L"C:\\B\\b.dll", L"", L"1", false}, false, 1, 1, L""},
        MergeCase{{"switched_off_listed_when_asked"}, {L"b", L"Other", L"", L"C:\\B\\b.dll", L"", L"1", false}, true, 2, 1,
                  L""}),
    testing::CaseName());

TEST_F(AddonModelTest, NamesLoseTheirAmpersandsAndANamelessAddOnIsCalledByItsLocation) {
  TFakeCleaner cleaner(pbIE, {{L"{A}", L"&Save && Share", L"", L"80000002\\SOFTWARE\\Helpers\\{A}"},
                              {L"{B}", L"  ", L"", L"80000002\\SOFTWARE\\Helpers\\{B}"}});
  std::vector<std::wstring> announced;
  cleaner.OnPluginAdded = [&](TCustomBrowserCleaner&, TPluginItem& item) { announced.push_back(item.Caption); };
  cleaner.List();
  cleaner.List();  // the second listing only announces again
  EXPECT_EQ(announced, (std::vector<std::wstring>{L"Save  Share", L"{B}", L"Save  Share", L"{B}"}));
  EXPECT_EQ(cleaner.Items[1]->RawName, L"  ");
  EXPECT_EQ(cleaner.Items[0]->ID.size(), 38u);
  EXPECT_NE(cleaner.Items[0]->ID, cleaner.Items[1]->ID);
  EXPECT_EQ(cleaner.Items[0]->TrustState, ptTrusted);  // nothing stored, no score database
}

TEST_F(AddonModelTest, TrustDecisionsAreStoredPerLocationAndReadBackByTheFirst) {
  TFakeCleaner cleaner(pbFireFox, {{L"x", L"Pal", L"d", L"C:\\One\\x.dll"}, {L"x", L"Pal", L"d", L"C:\\Two\\x.dll"}});
  cleaner.List();
  ASSERT_EQ(cleaner.Items.size(), 1u);
  std::vector<std::pair<bool, std::uint8_t>> events;
  cleaner.OnPluginAction = [&](TCustomBrowserCleaner&, TPluginItem*, bool ok, std::uint8_t action) {
    events.emplace_back(ok, action);
  };
  const std::wstring id = cleaner.Items[0]->ID;
  cleaner.SetTrust({id}, ptUntrusted);  // listed entries start trusted
  cleaner.SetTrust({id}, ptUntrusted);  // already in that state: nothing happens
  EXPECT_EQ(events, (std::vector<std::pair<bool, std::uint8_t>>{{true, paTrustChanged}}));
  EXPECT_EQ(TrustedRows(), (std::vector<std::wstring>{L"2|C:\\One\\x.dll", L"2|C:\\Two\\x.dll"}));
  cleaner.SetTrust({id}, ptTrusted);
  EXPECT_EQ(TrustedRows(), (std::vector<std::wstring>{L"1|C:\\One\\x.dll", L"1|C:\\Two\\x.dll"}));

  Execute(L"UPDATE trusted SET flag=2");
  TFakeCleaner again(pbFireFox, {{L"x", L"Pal", L"d", L"C:\\One\\x.dll"}});
  again.List();
  EXPECT_EQ(again.Items[0]->TrustState, ptUntrusted);
}

TEST_F(AddonModelTest, ATrustChangeTheDatabaseRefusesIsReportedAsFailed) {
  TFakeCleaner cleaner(pbChrome, {{L"x", L"Pal"}});
  cleaner.List();
  Execute(L"CREATE TRIGGER refuse BEFORE INSERT ON trusted BEGIN SELECT RAISE(ABORT, 'refused'); END");
  std::vector<bool> results;
  cleaner.OnPluginAction = [&](TCustomBrowserCleaner&, TPluginItem*, bool ok, std::uint8_t) { results.push_back(ok); };
  cleaner.SetTrust({cleaner.Items[0]->ID}, ptUntrusted);
  EXPECT_EQ(results, std::vector<bool>{false});
  EXPECT_EQ(cleaner.Items[0]->TrustState, ptTrusted);
  EXPECT_TRUE(TrustedRows().empty());
}

class TScores : public IPluginScoreSource {
 public:
  bool Loaded() const override { return true; }
  std::optional<std::int32_t> LookupScore(const std::wstring& name) const override {
    if (name == L"Rated") return score;
    return std::nullopt;
  }
  std::int32_t score = 0;
};

struct ScoreCase : testing::NamedCase {
  const wchar_t* addOn;
  std::int32_t published;
  const wchar_t* stored;  // statements run before the listing
  std::uint8_t trust;
  std::int32_t score;
  bool hasScore;
  std::int32_t voteScore;
};

class AddonScoreTest : public AddonModelTest, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(AddonScoreTest, TrustComesFromTheDecisionThenTheVoteThenTheScoreDatabase) {
  const ScoreCase& c = GetParam();
  {
    TFakeCleaner creator(pbChrome);  // creates the database
  }
  if (*c.stored != 0) Execute(c.stored);
  TScores scores;
  scores.score = c.published;
  TFakeCleaner cleaner(pbChrome, {{L"id", c.addOn, L"", L"C:\\x.dll", L"", L"1"}});
  cleaner.ScoreDB = &scores;
  cleaner.List();
  const TPluginItem& item = *cleaner.Items[0];
  EXPECT_EQ(item.TrustState, c.trust);
  EXPECT_EQ(item.Score, c.score);
  EXPECT_EQ(item.HasScore, c.hasScore);
  EXPECT_EQ(item.VoteScore, c.voteScore);
  EXPECT_EQ(item.Voted, c.voteScore != 0);
}

#define ROW L"'id','Rated','C:\\x.dll','',0,'1'"
INSTANTIATE_TEST_SUITE_P(
    Cases, AddonScoreTest,
    ::testing::Values(
        ScoreCase{{"unknown_add_on"}, L"Other", 0, L"", ptTrusted, 0, false, 0},
        ScoreCase{{"score_of_two_is_trusted"}, L"Rated", 2, L"", ptTrusted, 2, true, 0},
        ScoreCase{{"score_of_one_is_untrusted"}, L"Rated", 1, L"", ptUntrusted, 1, true, 0},
        ScoreCase{{"one_star_vote_beats_a_good_score"}, L"Rated", 5,
                  L"INSERT INTO voted VALUES(" ROW L",1,'20260101000000')", ptUntrusted, 5, true, 1},
        ScoreCase{{"decision_beats_the_vote"}, L"Rated", 5,
                  L"INSERT INTO voted VALUES(" ROW L",1,'x'); INSERT INTO trusted(itemid,caption,path,publisher,"
                  L"systype,version,flag) VALUES(" ROW L",1)",
                  ptTrusted, 5, true, 1},
        ScoreCase{{"flag_that_is_no_number_is_trusted"}, L"Rated", 0,
                  L"INSERT INTO trusted(itemid,caption,path,publisher,systype,version,flag) VALUES(" ROW L",'abc')",
                  ptTrusted, 0, true, 0},
        ScoreCase{{"stored_score_beats_the_database"}, L"Rated", 4,
                  L"INSERT INTO pluginscore VALUES('id','Rated','','1','C:\\x.dll',0,3)", ptTrusted, 3, true, 0}),
    testing::CaseName());
#undef ROW

TEST_F(AddonModelTest, ADatabaseThatIsNotSqliteLeavesEveryEntryTrustedAndRefusesDecisions) {
  Machine().files.PutFile(DataFolder() + kBCleanerDbName, std::string_view("this is not a database, just text\n"));
  TFakeCleaner cleaner(pbChrome, {{L"x", L"Pal"}});
  EXPECT_FALSE(cleaner.DatabaseOpen);
  cleaner.List();
  EXPECT_EQ(cleaner.Items[0]->TrustState, ptTrusted);
  EXPECT_FALSE(cleaner.SetItemTrust(*cleaner.Items[0], ptUntrusted));
}

TEST_F(AddonModelTest, VotesAreStoredWithTheirLocalTime) {
  Machine().clock.SetUtcOffsetMinutes(60);
  TFakeCleaner cleaner(pbChrome, {{L"x", L"Pal", L"", L"C:\\x.dll"}});
  cleaner.List();
  cleaner.AddVote(*cleaner.Items[0], 4);
  TSqliteDb db;
  ASSERT_TRUE(db.Open(DbPath(), TSqliteOpenMode::ReadOnly));
  auto row = db.Prepare(L"SELECT itemid, caption, path, score, votedate FROM voted");
  ASSERT_TRUE(row && row->Step());
  EXPECT_EQ(row->ColumnText(0) + L"|" + row->ColumnText(1) + L"|" + row->ColumnText(2) + L"|" + row->ColumnText(3),
            L"x|Pal|C:\\x.dll|4");
  EXPECT_EQ(row->ColumnText(4), FormatDate(NowLocal(), L"yyyyMMddHHmmss"));
  EXPECT_EQ(row->ColumnText(4).size(), 14u);
}

class AddonBatchTest : public AddonModelTest {
 protected:
  // One add-on on both sides in IE and once in Chrome; another only in Chrome.
  AddonBatchTest()
      : ie_(pbIE, {{L"{T}", L"Toolbar X", L"", L"80000002\\A", L"", L"2.0", true, false, pgToolbar},
                   {L"{T}", L"Toolbar X", L"", L"80000002\\A", L"", L"2.0", true, true, pgToolbar}}),
        chrome_(pbChrome, {{L"ext1", L"toolbar x", L"", L"C:\\Ext\\1", L"", L"2.0"}, {L"ext2", L"Alone"}}) {
    ie_.List();
    chrome_.List();
    all_.AddCleaner(&ie_);
    all_.AddCleaner(&chrome_);
    all_.BuildCombined();
  }

  TFakeCleaner ie_;
  TFakeCleaner chrome_;
  TAllBrowserCleaner all_;
};

TEST_F(AddonBatchTest, TwinsAreTheSameAddOnInAnyBrowserOrSide) {
  const std::wstring ie32 = ie_.ByItemId(L"{T}")->ID;
  const std::wstring ie64 = ie_.ByItemId(L"{T}", true)->ID;
  const std::wstring chrome = chrome_.ByItemId(L"ext1")->ID;
  ASSERT_EQ(all_.CombinedCount(), 2);
  EXPECT_EQ(all_.CombinedItem(0)->ID, ie32);
  EXPECT_EQ(all_.CombinedItem(1)->ItemID, L"ext2");
  EXPECT_EQ(all_.Twins.size(), 6u);
  EXPECT_EQ(all_.TwinsOf(ie32), ie64 + L"\r\n" + chrome);
  EXPECT_EQ(all_.ExpandWithTwins({chrome}), (std::vector<std::wstring>{chrome, ie32, ie64}));
  EXPECT_EQ(all_.BrowsersOf(*ie_.ByItemId(L"{T}")), (std::set<TPluginBrowsr>{pbIE, pbChrome}));
}

TEST_F(AddonBatchTest, RemovingOneTwinSwitchesOffAllOfThemOnceEach) {
  std::vector<std::pair<std::wstring, std::uint8_t>> events;
  auto record = [&](TCustomBrowserCleaner&, TPluginItem* item, bool ok, std::uint8_t action) {
    events.emplace_back(item == nullptr ? L"-" : item->ItemID + (ok ? L"" : L"!"), action);
  };
  ie_.OnPluginAction = record;
  chrome_.OnPluginAction = record;
  int finished = 0;
  all_.OnRemoveFinished = [&](TAllBrowserCleaner&) { ++finished; };
  const std::wstring ie32 = ie_.ByItemId(L"{T}")->ID;
  all_.Remove({ie32, ie32});
  EXPECT_EQ(ie_.switchedOff, (std::vector<std::wstring>{L"{T}", L"{T}"}));  // 32- and 64-bit entry
  EXPECT_EQ(chrome_.switchedOff, (std::vector<std::wstring>{L"ext1"}));
  EXPECT_TRUE(ie_.Items.empty());
  ASSERT_EQ(chrome_.Items.size(), 1u);
  EXPECT_EQ(events, (std::vector<std::pair<std::wstring, std::uint8_t>>{
                        {L"{T}", paRemoved}, {L"{T}", paRemoved}, {L"-", paRemoveDone}, {L"ext1", paRemoved},
                        {L"-", paRemoveDone}}));
  EXPECT_EQ(finished, 1);

  all_.Remove({});
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(events.size(), 5u);  // an empty batch raises no entry events
}

TEST_F(AddonBatchTest, AFailedSwitchKeepsTheEntryAndAnInactiveOneCanBeSwitchedOnAgain) {
  chrome_.refused.insert(L"ext2");
  std::vector<bool> results;
  chrome_.OnPluginAction = [&](TCustomBrowserCleaner&, TPluginItem* item, bool ok, std::uint8_t) {
    if (item != nullptr) results.push_back(ok);
  };
  const std::wstring id = chrome_.ByItemId(L"ext2")->ID;
  chrome_.RemoveItems({id});
  EXPECT_EQ(results, std::vector<bool>{false});
  ASSERT_NE(chrome_.FindItem(id), nullptr);
  EXPECT_TRUE(chrome_.FindItem(id)->Active);

  TFakeCleaner off(pbChrome, {{L"ext9", L"Off", L"", L"C:\\9", L"", L"1", false}});
  off.IncludeInactive = true;
  off.List();
  off.RestoreItems({off.Items[0]->ID});
  EXPECT_EQ(off.switchedOn, std::vector<std::wstring>{L"ext9"});
  EXPECT_TRUE(off.Items[0]->Active);
}

TEST_F(AddonBatchTest, ExportsEachBrowserWithItsNonEmptySections) {
  TFakeCleaner firefox(pbFireFox);
  all_.AddCleaner(&firefox);
  chrome_.Items[1]->Collection.Kind = pgPlugin;
  chrome_.Items[1]->Publisher = L"Maker";
  const std::wstring rule(36, L'='), stars(36, L'*'), dashes(46, L'-');
  const TDateTime at = *EncodeDate(2026, 3, 4) + (13 * 3600 + 5 * 60 + 9) / 86400.0;
  const std::wstring expected =
      rule + L"\r\nBrowser Plug-ins List\r\nApplication Version:1.2.3.4\r\nWindows 10\r\nExported Time:03-04-2026 "
             L"13:05:09\r\n" +
      rule + L"\r\n\r\n" + rule + L"\r\nBrowser: Internet Explorer\r\n" + rule + L"\r\n\r\n" + stars +
      L"\r\nToolbar\r\n" + stars + L"\r\n\r\n" +
      L"Name: Toolbar X\r\nVersion: 2.0\r\nDescription: \r\nPublisher: \r\nArchitecture: 32-bit\r\n" + dashes +
      L"\r\n\r\n" + L"Name: Toolbar X\r\nVersion: 2.0\r\nDescription: \r\nPublisher: \r\nArchitecture: 64-bit\r\n" +
      dashes + L"\r\n\r\n" + rule + L"\r\nBrowser: Google Chrome\r\n" + rule + L"\r\n\r\n" + stars +
      L"\r\nExtensions\r\n" + stars + L"\r\n\r\n" +
      L"Name: toolbar x\r\nVersion: 2.0\r\nDescription: \r\nPublisher: \r\nArchitecture: 32-bit\r\n" + dashes +
      L"\r\n\r\n" + stars + L"\r\nPlug-ins\r\n" + stars + L"\r\n\r\n" +
      L"Name: Alone\r\nVersion: 1.0\r\nDescription: \r\nPublisher: Maker\r\nArchitecture: 32-bit\r\n" + dashes +
      L"\r\n\r\n" + rule + L"\r\nBrowser: Mozilla FireFox\r\n" + rule + L"\r\n\r\n";
  EXPECT_EQ(all_.ExportText(L"1.2.3.4", L"Windows 10", at), expected);
}

TEST_F(AddonModelTest, TheMozillaPluginRegistryIsReadFromBothRootsAndViewsOnce) {
  const auto put = [&](const std::wstring& key, const std::wstring& path, const std::wstring& name) {
    Registry().PutString(key, L"path", path);
    Registry().PutString(key, L"ProductName", name);
  };
  put(L"HKLM\\SOFTWARE\\Wow6432Node\\MozillaPlugins\\@maker/reader", L"C:\\Reader\\np32.dll", L"Reader");
  put(L"HKLM\\SOFTWARE\\Wow6432Node\\MozillaPlugins\\@maker/off", L"Disabled", L"Off");
  put(L"HKCU\\Software\\MozillaPlugins\\@maker/again", L"c:\\reader\\NP32.DLL", L"Reader copy");
  Registry().PutDword(L"HKCU\\Software\\MozillaPlugins\\@maker/odd", L"path", 5);  // not text: dropped
  put(L"HKLM\\SOFTWARE\\MozillaPlugins\\@maker/reader64", L"C:\\Reader\\np64.dll", L"Reader 64");
  TFakeCleaner cleaner(pbFireFox);
  cleaner.ScanMozillaPluginsRegistry();
  ASSERT_EQ(cleaner.MozillaPlugins.size(), 2u);
  EXPECT_EQ(cleaner.MozillaPlugins[0].PluginID, L"@maker/reader");
  EXPECT_FALSE(cleaner.MozillaPlugins[0].Is64Bit);
  EXPECT_EQ(cleaner.MozillaPlugins[1].Name, L"Reader 64");
  EXPECT_TRUE(cleaner.MozillaPlugins[1].Is64Bit);
  EXPECT_EQ(cleaner.FindMozillaPlugin(L"c:\\READER\\np64.dll").PluginID, L"@maker/reader64");
  EXPECT_TRUE(cleaner.FindMozillaPlugin(L"C:\\none.dll").PluginID.empty());
}

TEST_F(AddonModelTest, BrowserNamesAndRunningBrowsers) {
  EXPECT_EQ(BrowserDisplayName(pbFireFox), L"Firefox");
  EXPECT_EQ(BrowserDisplayName(pbCommon), L"");
  EXPECT_TRUE(IsBrowserRunning(pbUnknown));
  EXPECT_FALSE(IsBrowserRunning(pbChrome));
  Machine().processes.AddRunning(L"C:\\Program Files\\Google\\Chrome\\Application\\CHROME.EXE");
  EXPECT_TRUE(IsBrowserRunning(pbChrome));
  EXPECT_FALSE(IsBrowserRunning(pbOpera));
}

}  // namespace
}  // namespace orvix
