// "SoftwareCache.ini": a section applies only to the installation its MD5
// names, fills only what the entry lacks, and what the analysis writes reads
// back the same.
#include "inventory/analysis_cache.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "formats/md5.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

constexpr wchar_t kUninstall[] = L"\"C:\\Program Files\\Foo\\uninst.exe\" /S";

class AnalysisCacheTest : public testing::SimMachineTest {
 protected:
  // A cache file with one section for "Foo" whose MD5 was computed over
  // `md5Date` + `md5Command` (upper-cased, since letter case must not matter).
  void WriteCache(const std::wstring& md5Command = kUninstall, const std::wstring& extra = L"") {
    const std::wstring md5 = Md5Hex("3/15/2023" + std::string(md5Command.begin(), md5Command.end()));
    TExtIniFile file;
    file.LoadText(L"[Foo]\r\nsize=2097152\r\nUseSize=2.00 MB\r\nLocation=C:\\Program Files\\Foo\r\n"
                  L"DisplayIcon=C:\\Program Files\\Foo\\foo.exe\r\nIconIndex=3\r\nAppUseRange=audWeek\r\n"
                  L"AppUseRate=aurOften\r\nInstallDate=3/15/2023\r\nInstallDateT=45000\r\n"
                  L"LastAccessDate=45100.5\r\n" +
                  extra + L"MD5=" + UpperCaseAscii(md5) + L"\r\n");
    ASSERT_TRUE(file.Save(SoftwareCachePath()));
  }

  static std::wstring UpperCaseAscii(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
  }

  static std::unique_ptr<TSoftInfo> Entry(const std::wstring& name = L"Foo", const std::wstring& command = kUninstall) {
    auto entry = std::make_unique<TSoftInfo>();
    entry->DisplayName = name;
    entry->UninstallString = command;
    entry->LastAccessDate = 1;
    return entry;
  }

  static void Apply(std::vector<std::unique_ptr<TSoftInfo>>& entries) { ApplyCache(SoftwareCachePath(), entries); }
};

TEST_F(AnalysisCacheTest, AMatchingSectionFillsEveryGapOfTheEntry) {
  WriteCache();
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  Apply(entries);
  const TSoftInfo& foo = *entries[0];
  EXPECT_EQ(foo.InstallDateText, L"3/15/2023");
  EXPECT_EQ(foo.InstallDate, *EncodeDate(2023, 3, 15));
  EXPECT_EQ(foo.UseRange, audWeek);
  EXPECT_EQ(foo.UseRate, aurOften);
  EXPECT_EQ(foo.UseText, L"within 1 week");
  EXPECT_EQ(foo.Size, 2097152);
  EXPECT_EQ(foo.SizeText, L"2.00 MB");
  EXPECT_EQ(foo.DisplayIcon, L"C:\\Program Files\\Foo\\foo.exe");
  EXPECT_EQ(foo.IconIndex, 3);
  EXPECT_EQ(foo.InstallLocation, L"C:\\Program Files\\Foo");
  EXPECT_DOUBLE_EQ(foo.LastAccessDate, 45100.5);
}

TEST_F(AnalysisCacheTest, WhatTheEntryAlreadyHasIsKept) {
  WriteCache();
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  TSoftInfo& foo = *entries[0];
  foo.Size = 5000;
  foo.SizeText = L"4.88 KB";
  foo.DisplayIcon = L"C:\\Other\\other.ico";
  foo.InstallLocation = L"C:\\Other";
  Apply(entries);
  EXPECT_EQ(foo.Size, 5000);
  EXPECT_EQ(foo.SizeText, L"4.88 KB");
  EXPECT_EQ(foo.DisplayIcon, L"C:\\Other\\other.ico");
  EXPECT_EQ(foo.IconIndex, 0);
  EXPECT_EQ(foo.InstallLocation, L"C:\\Other");
  EXPECT_EQ(foo.UseRange, audWeek) << "the usage always comes from a matching section";
}

TEST_F(AnalysisCacheTest, TheEntrysOwnDateTextWinsAndIsReadInTheUsersFormat) {
  WriteCache();
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  entries.push_back(Entry());
  entries[0]->InstallDateText = L"12/24/2021";
  entries[1]->InstallDateText = L"not a date";
  entries[1]->InstallDate = 40000;
  Apply(entries);
  EXPECT_EQ(entries[0]->InstallDateText, L"12/24/2021");
  EXPECT_EQ(entries[0]->InstallDate, *EncodeDate(2021, 12, 24));
  EXPECT_EQ(entries[1]->InstallDateText, L"") << "a text that does not parse is dropped with its date";
  EXPECT_EQ(entries[1]->InstallDate, 0);
}

TEST_F(AnalysisCacheTest, ACachedDateOfAnotherFormatIsTakenFromItsStoredValue) {
  WriteCache();  // "3/15/2023", stored as 45000
  Machine().locale.shortDateFormat = L"yyyy. MM. dd.";
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  Apply(entries);
  EXPECT_EQ(entries[0]->InstallDate, 45000);
  EXPECT_EQ(entries[0]->InstallDateText, L"2023. 03. 15.");
}

// Common Files itself, or an installer engine's folder in it that an older
// analysis took from a RunDll32 command.
TEST_F(AnalysisCacheTest, ACachedLocationThatIsNoProgramsOwnIsDropped) {
  for (const wchar_t* cached : {L"C:\\Program Files (x86)\\Common Files",
                                L"C:\\Program Files (x86)\\Common Files\\InstallShield\\Driver\\11\\Intel 32"}) {
    WriteCache();
    TExtIniFile file;
    ASSERT_TRUE(file.Load(SoftwareCachePath()));
    file.WriteString(L"Foo", L"Location", cached);
    ASSERT_TRUE(file.Save(SoftwareCachePath()));
    std::vector<std::unique_ptr<TSoftInfo>> entries;
    entries.push_back(Entry());
    Apply(entries);
    EXPECT_EQ(entries[0]->InstallLocation, L"") << testing::Narrow(cached);
  }
}

TEST_F(AnalysisCacheTest, ASectionOfAnotherInstallationIsIgnoredEntirely) {
  // The program was updated: its uninstall command is not the one hashed.
  WriteCache(L"\"C:\\Program Files\\Foo\\old-uninst.exe\"");
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  Apply(entries);
  const TSoftInfo& foo = *entries[0];
  EXPECT_EQ(foo.Size, 0);
  EXPECT_EQ(foo.InstallDateText, L"");
  EXPECT_EQ(foo.UseRange, audUnknown);
  EXPECT_EQ(foo.DisplayIcon, L"");
  EXPECT_DOUBLE_EQ(foo.LastAccessDate, 1);
}

TEST_F(AnalysisCacheTest, HiddenEntriesAndAMissingFileAreLeftAlone) {
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  Apply(entries);  // no file yet
  EXPECT_EQ(entries[0]->Size, 0);
  EXPECT_FALSE(FileExists(SoftwareCachePath())) << "applying never creates the file";

  WriteCache();
  entries[0]->Hidden = true;
  Apply(entries);
  EXPECT_EQ(entries[0]->Size, 0);
}

TEST_F(AnalysisCacheTest, UnreadableValuesFallBackToTheirDefaults) {
  TExtIniFile file;
  const std::wstring md5 = CacheMd5(L"", kUninstall);
  file.LoadText(L"[Foo]\r\nsize=lots\r\nIconIndex=x\r\nDisplayIcon=C:\\foo.exe\r\nAppUseRange=audSometimes\r\n"
                L"AppUseRate=\r\nLastAccessDate=yesterday\r\nMD5=" +
                md5 + L"\r\n");
  ASSERT_TRUE(file.Save(SoftwareCachePath()));
  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  entries[0]->Size = -1024;  // a garbled estimate counts as no size
  Apply(entries);
  const TSoftInfo& foo = *entries[0];
  EXPECT_EQ(foo.Size, 0);
  EXPECT_EQ(foo.SizeText, L"");
  EXPECT_EQ(foo.IconIndex, 0);
  EXPECT_EQ(foo.UseRange, audUnknown);
  EXPECT_EQ(foo.UseRate, aurUnknown);
  EXPECT_EQ(foo.UseText, L"<unknown>");
  EXPECT_DOUBLE_EQ(foo.LastAccessDate, NowLocal());
}

TEST_F(AnalysisCacheTest, WhatTheWritersStoreReadsBackUnderACommaLocale) {
  Machine().locale.decimalSeparator = L',';
  Machine().locale.shortDateFormat = L"dd.MM.yyyy";
  TSoftInfo analysed = *Entry();
  analysed.Size = 1572864;
  analysed.SizeText = L"1,50 MB";
  analysed.InstallLocation = L"C:\\Program Files\\Foo";
  analysed.DisplayIcon = L"C:\\Program Files\\Foo\\foo.exe";
  analysed.IconIndex = -101;
  analysed.UseRange = aud3Month;
  analysed.UseRate = aurRarely;
  analysed.InstallDate = *EncodeDate(2022, 7, 1) + 0.25;
  analysed.InstallDateText = L"01.07.2022";
  analysed.LastAccessDate = 45000.75;
  TSoftwareCache cache;
  cache.Load(SoftwareCachePath());
  cache.WriteSize(analysed);
  cache.WriteLocation(analysed);
  cache.WriteIcon(analysed);
  cache.WriteUsage(analysed);
  cache.WriteInstallDate(analysed);
  cache.WriteLastAccess(analysed);
  cache.WriteMd5(analysed);
  ASSERT_TRUE(cache.Save(SoftwareCachePath()));
  EXPECT_EQ(cache.File().ReadString(L"Foo", L"InstallDateT", L""), L"44743,25");

  std::vector<std::unique_ptr<TSoftInfo>> entries;
  entries.push_back(Entry());
  Apply(entries);
  const TSoftInfo& foo = *entries[0];
  EXPECT_EQ(foo.Size, analysed.Size);
  EXPECT_EQ(foo.SizeText, L"1,50 MB");
  EXPECT_EQ(foo.InstallLocation, analysed.InstallLocation);
  EXPECT_EQ(foo.DisplayIcon, analysed.DisplayIcon);
  EXPECT_EQ(foo.IconIndex, -101);
  EXPECT_EQ(foo.UseRange, aud3Month);
  EXPECT_EQ(foo.UseRate, aurRarely);
  EXPECT_EQ(foo.UseText, L"rarely");
  EXPECT_EQ(foo.InstallDateText, L"01.07.2022");
  EXPECT_EQ(foo.InstallDate, *EncodeDate(2022, 7, 1));
  EXPECT_DOUBLE_EQ(foo.LastAccessDate, 45000.75);
}

TEST_F(AnalysisCacheTest, TheDigestIsTakenOverTheAnsiBytes) {
  // "é" is one byte (0xE9) in Windows-1252, not its UTF-16 or UTF-8 form.
  EXPECT_EQ(CacheMd5(L"1/2/2024", L"C:\\Caf\u00e9\\u.exe"), Md5Hex("1/2/2024C:\\Caf\xE9\\u.exe"));
}

}  // namespace
}  // namespace orvix
