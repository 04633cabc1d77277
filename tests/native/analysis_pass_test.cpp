// One entry's analysis from the disk to the entry, the cache, the list and
// the image lists; and how the cache carries it to the next start.
#include "inventory/analysis_pass.h"

#include <gtest/gtest.h>

#include "analysis_fakes.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr wchar_t kFooFolder[] = L"C:\\Program Files\\Foo";
constexpr wchar_t kFooUninstall[] = L"\"C:\\Program Files\\Foo\\uninst.exe\" /S";

FILETIME64 FileTimeOf(TDateTime date) { return static_cast<FILETIME64>((date + 109205.0) * 864000000000.0); }

class AnalysisPassTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Put(std::wstring(kFooFolder) + L"\\uninst.exe", 1000);
    Put(std::wstring(kFooFolder) + L"\\foo.exe", 2000);
    Put(std::wstring(kFooFolder) + L"\\data\\x.bin", 96);
    Machine().icons.AddIconFile(std::wstring(kFooFolder) + L"\\foo.exe", 2);
    const FILETIME64 created = FileTimeOf(*EncodeDate(2022, 5, 6) + 0.5);
    Machine().files.SetTimes(kFooFolder, created, created, created);
  }

  void Put(const std::wstring& path, std::size_t size) { Machine().files.PutFile(path, Bytes(size)); }

  // An entry as the enumeration makes it from an Uninstall key that has only
  // a name, an uninstall command and an icon.
  static std::unique_ptr<TSoftInfo> Entry(const std::wstring& name = L"Foo",
                                          const std::wstring& command = kFooUninstall) {
    auto entry = std::make_unique<TSoftInfo>();
    entry->DisplayName = name;
    entry->UninstallString = command;
    entry->DisplayIcon = L"C:\\Program Files\\Foo\\foo.exe,1";
    entry->LastAccessDate = NowLocal();
    return entry;
  }

  // One step of a pass: analyse, then apply as the user-interface thread does.
  void Analyse(TSoftInfo& entry, std::size_t position = 0, bool withViews = true) {
    TAnalysisResult result = AnalyseEntry(entry, {withViews, false});
    const TAnalysisTargets targets{cache_, withViews ? &listView_ : nullptr, withViews ? &iconList_ : nullptr};
    ApplyAnalysis(entry, position, result, targets);
  }

  // The next start: the cache saved, a fresh entry read from the registry.
  std::unique_ptr<TSoftInfo> Restarted(std::unique_ptr<TSoftInfo> fresh) {
    EXPECT_TRUE(cache_.Save(SoftwareCachePath()));
    std::vector<std::unique_ptr<TSoftInfo>> entries;
    entries.push_back(std::move(fresh));
    ApplyCache(SoftwareCachePath(), entries);
    return std::move(entries[0]);
  }

  std::wstring Cached(const std::wstring& section, const std::wstring& key) const {
    return cache_.File().ReadString(section, key, L"<none>");
  }

  TSoftwareCache cache_;
  testing::RecordingListView listView_;
  testing::RecordingIconList iconList_{Machine().icons};
};

TEST_F(AnalysisPassTest, FillsEveryGapShowsItAndKeepsItForTheNextStart) {
  std::unique_ptr<TSoftInfo> foo = Entry();
  ASSERT_TRUE(LacksAnalysis(*foo));
  Analyse(*foo, 7);

  EXPECT_EQ(foo->InstallLocation, L"C:\\Program Files\\Foo\\");
  EXPECT_EQ(foo->Size, 3096);
  EXPECT_EQ(foo->SizeText, L"3.02 KB");
  EXPECT_EQ(foo->ImageIndex, 1);
  EXPECT_EQ(foo->DisplayIcon, L"C:\\Program Files\\Foo\\foo.exe,1") << "an icon the entry names stays as written";
  EXPECT_EQ(foo->InstallDateText, L"5/6/2022");
  EXPECT_EQ(DecodeDate(foo->InstallDate).day, 6);
  EXPECT_FALSE(LacksAnalysis(*foo));

  ASSERT_EQ(iconList_.large.size(), 1u);
  EXPECT_EQ(iconList_.large[0].kind, sim::IconKind::Large);
  EXPECT_EQ(iconList_.small[0].kind, sim::IconKind::Small);
  EXPECT_EQ(iconList_.large[0].index, 1);
  EXPECT_EQ(Machine().icons.LiveCount(), 0u) << "icons are released once the image lists have copies";
  ASSERT_TRUE(listView_.rows.contains(7));
  EXPECT_EQ(listView_.rows[7].imageIndex, 1);
  EXPECT_EQ(listView_.rows[7].sizeText, L"3.02 KB");
  EXPECT_EQ(listView_.rows[7].dateText, L"5/6/2022");

  EXPECT_EQ(Cached(L"Foo", L"size"), L"3096");
  EXPECT_EQ(Cached(L"Foo", L"UseSize"), L"3.02 KB");
  EXPECT_EQ(Cached(L"Foo", L"Location"), L"C:\\Program Files\\Foo\\");
  EXPECT_EQ(Cached(L"Foo", L"DisplayIcon"), L"<none>") << "the entry had its icon";
  EXPECT_EQ(Cached(L"Foo", L"AppUseRange"), L"audUnknown");
  EXPECT_EQ(Cached(L"Foo", L"InstallDate"), L"5/6/2022");
  EXPECT_EQ(Cached(L"Foo", L"MD5"), CacheMd5(L"5/6/2022", kFooUninstall));

  // The uninstaller's folder decided the install date, and from then on the
  // cache gives it at once, with the size and folder.
  const std::unique_ptr<TSoftInfo> next = Restarted(Entry());
  EXPECT_EQ(next->InstallDateText, L"5/6/2022");
  EXPECT_EQ(next->Size, 3096);
  EXPECT_EQ(next->SizeText, L"3.02 KB");
  EXPECT_EQ(next->InstallLocation, L"C:\\Program Files\\Foo\\");
}

TEST_F(AnalysisPassTest, AnIconFoundByTheAnalysisIsCachedAsFileAndIndex) {
  std::unique_ptr<TSoftInfo> foo = Entry();
  foo->DisplayIcon.clear();
  foo->DisplayName = L"Foo Suite";  // "FooSu*.EXE": nothing; the uninstaller then
  Analyse(*foo);
  EXPECT_EQ(foo->DisplayIcon, L"C:\\Program Files\\Foo\\uninst.exe");
  EXPECT_EQ(Cached(L"Foo Suite", L"DisplayIcon"), L"C:\\Program Files\\Foo\\uninst.exe");
  EXPECT_EQ(Cached(L"Foo Suite", L"IconIndex"), L"0");
  // The uninstaller holds no icons: the shell's stands in for both sizes.
  ASSERT_EQ(iconList_.large.size(), 1u);
  EXPECT_EQ(iconList_.large[0].kind, sim::IconKind::Shell);
  EXPECT_EQ(iconList_.small[0].kind, sim::IconKind::Shell);
  EXPECT_EQ(Machine().icons.BadDestroyCount(), 0u);
}

TEST_F(AnalysisPassTest, AnUpdatedProgramIsAnalysedAfreshNotTakenFromTheCache) {
  std::unique_ptr<TSoftInfo> foo = Entry();
  Analyse(*foo);
  ASSERT_EQ(foo->Size, 3096);

  // The update brings a new uninstaller and more files.
  Put(std::wstring(kFooFolder) + L"\\uninst2.exe", 4000);
  const std::wstring updated = L"\"C:\\Program Files\\Foo\\uninst2.exe\" /S";
  std::unique_ptr<TSoftInfo> next = Restarted(Entry(L"Foo", updated));
  EXPECT_EQ(next->Size, 0) << "the old size must not be used";
  EXPECT_EQ(next->InstallDateText, L"");

  Analyse(*next);
  EXPECT_EQ(next->Size, 7096);
  EXPECT_EQ(Cached(L"Foo", L"MD5"), CacheMd5(L"5/6/2022", updated));
  EXPECT_EQ(Restarted(Entry(L"Foo", updated))->Size, 7096);
}

TEST_F(AnalysisPassTest, FoldersThatAreNoProgramsOwnGiveNoSize) {
  Put(L"C:\\Windows\\notepad.exe", 200'000);
  Put(L"C:\\tool.exe", 1000);
  for (const wchar_t* location : {L"C:\\Windows", L"C:\\WINDOWS\\", L"C:\\"}) {
    std::unique_ptr<TSoftInfo> entry = Entry(location);
    entry->InstallLocation = location;
    Analyse(*entry);
    EXPECT_EQ(entry->Size, 0) << location;
    EXPECT_EQ(entry->SizeText, L"") << location;
    EXPECT_EQ(Cached(location, L"size"), L"0");
    EXPECT_EQ(Cached(location, L"UseSize"), L"");
    EXPECT_NE(Cached(location, L"MD5"), L"<none>") << "the finding is kept like any other";
  }
}

TEST_F(AnalysisPassTest, AToolbarWithFiftyMegabytesShowsTenMegabytes) {
  Put(L"C:\\Program Files\\Bar Toolbar\\bar.dll", 50 * 1024 * 1024);
  std::unique_ptr<TSoftInfo> bar = Entry(L"Bar Toolbar", L"C:\\Program Files\\Bar Toolbar\\uninstall.exe");
  bar->IsToolbar = true;
  Put(L"C:\\Program Files\\Bar Toolbar\\uninstall.exe", 0);
  Analyse(*bar);
  EXPECT_EQ(bar->Size, 10485760);
  EXPECT_EQ(bar->SizeText, L"10.00 MB");
}

TEST_F(AnalysisPassTest, NamesakesShareOneSectionAndTheLastAnalysedWins) {
  Put(L"C:\\Program Files\\Foo 2\\uninst.exe", 123);
  const std::wstring secondCommand = L"\"C:\\Program Files\\Foo 2\\uninst.exe\"";
  std::unique_ptr<TSoftInfo> first = Entry();
  std::unique_ptr<TSoftInfo> second = Entry(L"FOO", secondCommand);
  Analyse(*first, 0);
  Analyse(*second, 1);
  EXPECT_EQ(Cached(L"Foo", L"size"), L"123");
  EXPECT_EQ(Cached(L"Foo", L"Location"), L"C:\\Program Files\\Foo 2\\");

  EXPECT_EQ(Restarted(Entry(L"FOO", secondCommand))->Size, 123);
  EXPECT_EQ(Restarted(Entry())->Size, 0) << "the first one's section was taken over";
}

TEST_F(AnalysisPassTest, WhatTheEntryGainedMeanwhileIsKept) {
  std::unique_ptr<TSoftInfo> foo = Entry();
  TAnalysisResult result = AnalyseEntry(*foo, {true, false});
  // Before the findings are applied, a refresh filled the entry from the cache.
  foo->Size = 99;
  foo->SizeText = L"99 Byte";
  foo->InstallLocation = L"C:\\Elsewhere";
  foo->InstallDateText = L"1/1/2020";
  foo->InstallDate = *EncodeDate(2020, 1, 1);
  std::stop_source cancelled;
  cancelled.request_stop();
  ApplyAnalysis(*foo, 0, result, {cache_, &listView_, &iconList_}, cancelled.get_token());
  EXPECT_EQ(foo->Size, 99);
  EXPECT_EQ(foo->InstallLocation, L"C:\\Elsewhere");
  EXPECT_EQ(foo->InstallDateText, L"1/1/2020");
  EXPECT_EQ(Cached(L"Foo", L"MD5"), L"<none>") << "nothing of the entry changed";
  EXPECT_EQ(Cached(L"Foo", L"InstallDate"), L"1/1/2020");
  EXPECT_TRUE(listView_.rows.empty()) << "no list update once cancelled";
}

TEST_F(AnalysisPassTest, WithoutImageListsNoIconIsLoaded) {
  std::unique_ptr<TSoftInfo> foo = Entry();
  Analyse(*foo, 0, false);
  EXPECT_EQ(foo->ImageIndex, 0);
  EXPECT_EQ(foo->Size, 3096);
  EXPECT_EQ(Machine().icons.LiveCount(), 0u);
  EXPECT_TRUE(LacksAnalysis(*foo)) << "an entry without image is looked at again";
}

TEST_F(AnalysisPassTest, TheLastAccessDateIsRewrittenOnlyWhenItMovesADay) {
  const std::wstring icon = std::wstring(kFooFolder) + L"\\foo.exe";
  const TDateTime now = NowLocal();
  for (const double daysAgo : {0.5, 3.0}) {
    std::unique_ptr<TSoftInfo> foo = Entry();
    foo->DisplayIcon = icon;
    const FILETIME64 accessed = FileTimeOf(now - daysAgo);  // local time is UTC here
    Machine().files.SetTimes(icon, accessed, accessed, accessed);
    TAnalysisResult result = AnalyseEntry(*foo, {false, true});
    ApplyAnalysis(*foo, 0, result, {cache_, nullptr, nullptr});
    if (daysAgo < 1) {
      EXPECT_DOUBLE_EQ(foo->LastAccessDate, now);
      EXPECT_EQ(Cached(L"Foo", L"LastAccessDate"), L"<none>");
    } else {
      EXPECT_NEAR(foo->LastAccessDate, now - daysAgo, 1e-6);
      EXPECT_NE(Cached(L"Foo", L"LastAccessDate"), L"<none>");
    }
  }
}

}  // namespace
}  // namespace orvix
