// The rater over a simulated machine: entries matched to UserAssist folders,
// logon programs and the named always-running programs, and the answers the
// analysis pass stores.
#include <gtest/gtest.h>

#include "inventory/rating.h"
#include "native/rating_fixture.h"
#include "native/test_text.h"

namespace orvix {
namespace {

using testing::DateAt;
using testing::FileTimeAt;
using testing::Narrow;
using testing::PutUserAssistStart;

constexpr int kNewer = kOsKindNewer;

class RatingTest : public testing::SimMachineTest {
 protected:
  void SetNow(int year, int month, int day) { Machine().clock.SetNowUtc(FileTimeAt(year, month, day)); }
  void Started(const std::wstring& program, int year, int month, int day) {
    PutUserAssistStart(Registry(), kNewer, program, FileTimeAt(year, month, day));
  }

  static void ExpectUsage(const TAppUsage& usage, TAppUseRange range, TAppUseRate rate) {
    EXPECT_EQ(UseRangeName(usage.UseRange), UseRangeName(range));
    EXPECT_EQ(UseRateName(usage.UseRate), UseRateName(rate));
    EXPECT_TRUE(usage.HasUseInfo);
  }
};

TEST_F(RatingTest, ClassifiesTheEntrysFolderByItsLatestStart) {
  Started(L"C:\\Program Files\\Foo\\foo.exe", 2024, 5, 1);
  Started(L"C:\\Program Files\\Foo\\update.exe", 2024, 4, 1);
  SetNow(2024, 5, 21);
  TAppRateHelper rater;

  // Last used 20 days ago within the month; the location needs no trailing
  // backslash and any letter case.
  const TAppUsage usage = rater.Rate(L" c:\\program files\\FOO ", DateAt(2020, 1, 1));
  ExpectUsage(usage, audMonth, aurLess);
  EXPECT_NEAR(usage.LastUseTime, DateAt(2024, 5, 1), 1e-9);
  EXPECT_NEAR(rater.UseInfos()[0].InstallDate, DateAt(2020, 1, 1), 1e-9);
  EXPECT_EQ(rater.UseInfos()[0].Range, audMonth);
}

TEST_F(RatingTest, NewYearAndInstallDate) {
  Started(L"C:\\Old\\old.exe", 2023, 12, 31);
  Started(L"C:\\New\\new.exe", 2024, 1, 3);  // four months before now
  SetNow(2024, 1, 2);
  TAppRateHelper rater;
  // Used two days ago, though in the previous year: used often.
  ExpectUsage(rater.Rate(L"C:\\Old", DateAt(2023, 12, 1)), aud3Day, aurOften);

  SetNow(2024, 5, 10);
  // Unused for four months but installed last week: not called rarely used.
  ExpectUsage(rater.Rate(L"C:\\New", DateAt(2024, 5, 3)), audMore, aurUnknown);
}

TEST_F(RatingTest, AStartAfterNowKeepsTheFoldersEarlierRate) {
  Started(L"C:\\Foo\\foo.exe", 2024, 1, 10);
  SetNow(2024, 6, 15);
  TAppRateHelper rater;
  ExpectUsage(rater.Rate(L"C:\\Foo\\", 0), audMore, aurRarely);
  SetNow(2024, 1, 5);  // the clock was set back
  const TAppUsage usage = rater.Rate(L"C:\\Foo\\", 0);
  ExpectUsage(usage, audUnknown, aurRarely);
  EXPECT_NEAR(usage.LastUseTime, DateAt(2024, 1, 10), 1e-9);
}

TEST_F(RatingTest, LogonAndNamedProgramsAreInUseToday) {
  Registry().PutString(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Sync",
                       L"\"C:\\Program Files\\Sync\\sync.exe\" /min");
  // A Run command without a folder must not make entries without one "today".
  Registry().PutString(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Bare", L"ctfmon.exe");
  Started(L"C:\\Program Files\\Sync\\sync.exe", 2023, 1, 1);  // UserAssist says otherwise
  SetNow(2024, 5, 20);
  TAppRateHelper rater;

  for (const wchar_t* folder : {L"C:\\PROGRAM FILES\\SYNC", L"C:\\Program Files\\Dropbox\\Client",
                                L"D:\\Apps\\Evernote\\", L"C:\\Tencent\\QQ\\", L"C:\\Stardock\\Fences"}) {
    SCOPED_TRACE(Narrow(folder));
    const TAppUsage usage = rater.Rate(folder, DateAt(2020, 1, 1));
    ExpectUsage(usage, audToday, aurOften);
    EXPECT_NEAR(usage.LastUseTime, NowLocal(), 1e-9);
  }
  // "\QQ\" names a folder, not any path with those letters.
  ExpectUsage(rater.Rate(L"C:\\Program Files\\QQPlayer", 0), audUnknown, aurUnknown);
  ExpectUsage(rater.Rate(L"", 0), audUnknown, aurUnknown);
  ExpectUsage(rater.Rate(L"  ", 0), audUnknown, aurUnknown);
}

TEST_F(RatingTest, UnknownFoldersAndAnEmptyMachineRateUnknown) {
  SetNow(2024, 5, 20);
  TAppRateHelper rater;
  EXPECT_TRUE(rater.UseInfos().empty());
  EXPECT_TRUE(rater.AutoStartFolders().empty());
  const TAppUsage usage = rater.Rate(L"C:\\Program Files\\Foo", DateAt(2024, 1, 1));
  ExpectUsage(usage, audUnknown, aurUnknown);
  EXPECT_EQ(usage.LastUseTime, 0);
}

TEST_F(RatingTest, TheEntryInterfaceFillsTheUsageFields) {
  Started(L"C:\\Foo\\foo.exe", 2024, 5, 19);
  SetNow(2024, 5, 20);
  TAppRateHelper rater;
  IAppUsageRater& asInterface = rater;
  TSoftInfo entry;
  entry.InstallLocation = L"C:\\Foo";
  ApplyUsage(entry, asInterface.Rate(entry));
  EXPECT_EQ(entry.UseRange, aud3Day);
  EXPECT_EQ(entry.UseRate, aurOften);
  EXPECT_NEAR(entry.LastUseTime, DateAt(2024, 5, 19), 1e-9);
  EXPECT_TRUE(entry.HasUseInfo);
}

}  // namespace
}  // namespace orvix
