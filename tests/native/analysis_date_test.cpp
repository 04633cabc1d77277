// Dates read off the disk: the install date from the uninstaller's folder
// (or the icon's), and the last access of the icon file where NTFS keeps it.
#include "inventory/analysis_date.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

// The UTC file time of a local date on a machine `offsetMinutes` east of UTC.
FILETIME64 FileTimeOf(TDateTime local, int offsetMinutes = 0) {
  return static_cast<FILETIME64>((local + 109205.0 - offsetMinutes / 1440.0) * 864000000000.0);
}

class InstallDateTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Machine().clock.SetUtcOffsetMinutes(120);
    for (const auto& [file, day] : {std::pair{L"C:\\Program Files\\Foo\\uninst.exe", 6},
                                    std::pair{L"C:\\Program Files\\Bar\\readme.txt", 7},
                                    std::pair{L"C:\\Program Files\\Baz\\baz.exe", 8},
                                    std::pair{L"C:\\Program Files\\Qux\\qux.dll", 9}}) {
      Machine().files.PutFile(file, "x");
      const std::wstring folder = std::wstring(file).substr(0, std::wstring(file).rfind(L'\\'));
      // Just after midnight local time, when in UTC it is still the day before.
      const FILETIME64 created = FileTimeOf(*EncodeDate(2022, 5, day) + 0.5 / 24, 120);
      Machine().files.SetTimes(folder, created, created, created);
    }
  }
};

struct DateCase : testing::NamedCase {
  const wchar_t* uninstallString;
  const wchar_t* displayIcon;
  const wchar_t* readme;
  int expectedDay;  // of May 2022; 0: no date
};

class InstallDateCases : public InstallDateTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(InstallDateCases, TakesTheCreationDayOfWhatTheEntryNames) {
  TSoftInfo entry;
  entry.UninstallString = GetParam().uninstallString;
  entry.DisplayIcon = GetParam().displayIcon;
  entry.Readme = GetParam().readme;
  entry.InstallDateText = L"kept";
  const TDateEstimate estimate = EstimateInstallDate(entry);
  if (GetParam().expectedDay == 0) {
    EXPECT_EQ(estimate.date, 0);
    EXPECT_EQ(estimate.text, L"kept");
    return;
  }
  EXPECT_EQ(DecodeDate(estimate.date).day, GetParam().expectedDay);
  EXPECT_EQ(estimate.text, L"5/" + std::to_wstring(GetParam().expectedDay) + L"/2022");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallDateCases,
    ::testing::Values(
        DateCase{{"UninstallerFolder"}, L"\"C:\\Program Files\\Foo\\uninst.exe\" /S", L"", L"", 6},
        DateCase{{"IconWhenThereIsNoCommand"}, L"", L"C:\\Program Files\\Baz\\baz.exe", L"", 8},
        DateCase{{"ReadmeOfAnInstallerPackage"}, L"MsiExec.exe /X{12345678-90AB-CDEF-1234-567890ABCDEF}", L"",
                 L"C:\\Program Files\\Bar\\readme.txt", 7},
        DateCase{{"HostProgramRemoved"}, L"RunDll32.exe C:\\Program Files\\Qux\\qux.dll,Uninstall", L"", L"", 9},
        DateCase{{"IconFolderWhenTheUninstallerIsGone"}, L"C:\\Gone\\uninst.exe", L"C:\\Program Files\\Baz\\baz.exe",
                 L"", 8},
        DateCase{{"NothingOnDisk"}, L"C:\\Gone\\uninst.exe", L"C:\\Gone\\icon.ico", L"", 0}),
    testing::CaseName());

class LastAccessTest : public testing::SimMachineTest {
 protected:
  static constexpr wchar_t kIcon[] = L"C:\\Program Files\\Foo\\foo.exe";
  static constexpr wchar_t kFileSystemKey[] = L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\FileSystem";

  void SetUp() override {
    Machine().files.PutFile(kIcon, "MZ");
    accessed_ = *EncodeDate(2023, 9, 1) + 0.5;
    Machine().files.SetTimes(kIcon, FileTimeOf(accessed_ - 100), FileTimeOf(accessed_), FileTimeOf(accessed_ - 1));
  }
  TDateTime accessed_ = 0;
};

TEST_F(LastAccessTest, TheIconFilesAccessTimeOnlyWhereNtfsKeepsIt) {
  TSoftInfo entry;
  entry.DisplayIcon = kIcon;
  EXPECT_FALSE(LastAccessUpdatesOn()) << "no value: not known to be on";
  EXPECT_DOUBLE_EQ(LastAccessDateOf(entry, LastAccessUpdatesOn()), NowLocal());

  Registry().PutDword(kFileSystemKey, L"NtfsDisableLastAccessUpdate", 1);
  EXPECT_FALSE(LastAccessUpdatesOn());
  Registry().PutDword(kFileSystemKey, L"NtfsDisableLastAccessUpdate", 0x80000003);  // managed by the system
  EXPECT_FALSE(LastAccessUpdatesOn());

  Registry().PutDword(kFileSystemKey, L"NtfsDisableLastAccessUpdate", 0);
  ASSERT_TRUE(LastAccessUpdatesOn());
  EXPECT_NEAR(LastAccessDateOf(entry, true), accessed_, 1e-6);
  entry.DisplayIcon = std::wstring(kIcon) + L",0";  // not a file as written
  EXPECT_DOUBLE_EQ(LastAccessDateOf(entry, true), NowLocal());
}

}  // namespace
}  // namespace orvix
