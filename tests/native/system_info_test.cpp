// Names of Windows versions, version strings of files and local dates.
#include <gtest/gtest.h>

#include "platform/system_info.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

class SystemInfoTest : public testing::SimMachineTest {};

TEST_F(SystemInfoTest, OsNameFollowsTheRealVersion) {
  const struct {
    OsVersionInfo os;
    const wchar_t* expected;
  } cases[] = {
      {{4, 0, 1381, 6, false}, L"Windows NT"},
      {{5, 0, 2195, 4, false}, L"Windows 2000"},
      {{5, 1, 2600, 3, false}, L"Windows XP"},
      {{5, 2, 3790, 2, false}, L"Windows XP"},  // XP x64 Edition: a 64-bit machine
      {{5, 2, 3790, 2, true}, L"Windows 2003 Server"},
      {{6, 0, 6002, 2, false}, L"Windows Vista"},
      {{6, 1, 7601, 1, false}, L"Windows 7"},
      {{6, 2, 9200, 0, false}, L"Windows 8"},
      {{6, 3, 9600, 0, false}, L"Windows 8.1"},
      {{10, 0, 19045, 0, false}, L"Windows 10"},
      {{10, 0, 21999, 0, false}, L"Windows 10"},
      {{10, 0, 22000, 0, false}, L"Windows 11"},
      {{10, 0, 26100, 0, false}, L"Windows 11"},
      {{11, 0, 30000, 0, false}, L""},
  };
  for (const auto& c : cases) {
    Machine().system.SetOsVersion(c.os);
    EXPECT_EQ(OsName(), c.expected) << c.os.major << "." << c.os.minor << "." << c.os.build;
  }
}

TEST_F(SystemInfoTest, XpX64NeedsA64BitMachine) {
  testing::CurrentSimMachine x86(testing::MachineOf(sim::Bitness::x86));
  x86.machine.system.SetOsVersion({5, 2, 3790, 2, false});
  EXPECT_EQ(OsName(), L"Windows 2003 Server");
}

TEST_F(SystemInfoTest, VersionStringsComeFromTheFirstTranslation) {
  VersionResource resource;
  resource.translations = {{0x0407, 0x04E4}, {0x0409, 0x04B0}};
  resource.strings[L"040704e4\\FileVersion"] = L"2.5.0.1";
  resource.strings[L"040704E4\\CompanyName"] = L"Beispiel GmbH";
  resource.strings[L"040904B0\\FileVersion"] = L"9.9.9.9";
  resource.strings[L"040904B0\\ProductName"] = L"English only";
  resource.fixedFileVersion = 0x0002000500000001ull;
  Machine().versions.Attach(L"C:\\Foo\\foo.exe", resource);

  EXPECT_EQ(FileVersionText(L"c:\\foo\\FOO.EXE"), L"2.5.0.1");
  EXPECT_EQ(FileVersionText(L"C:\\Foo\\foo.exe", L"CompanyName"), L"Beispiel GmbH");
  EXPECT_EQ(FileVersionText(L"C:\\Foo\\foo.exe", L"ProductName"), L"Unknown");
  EXPECT_EQ(FileVersionText(L"C:\\Foo\\other.exe"), L"Unknown");

  TFileInfo info;
  ASSERT_TRUE(ReadFileInfo(L"C:\\Foo\\foo.exe", L"", info));
  EXPECT_EQ(info.CompanyName, L"Beispiel GmbH");
  EXPECT_EQ(info.FileVersion, L"2.5.0.1");
  EXPECT_EQ(info.ProductName, L"");
  EXPECT_EQ(info.FixedFileVersion, 0x0002000500000001ull);
  EXPECT_FALSE(ReadFileInfo(L"C:\\Foo\\other.exe", L"", info));
}

TEST_F(SystemInfoTest, FileTimesBecomeLocalOleDates) {
  constexpr FILETIME64 k2024NewYearUtc = 133485408000000000ull;
  constexpr double k2024NewYearOle = 45292.0;
  EXPECT_DOUBLE_EQ(FileTimeToLocalDate(k2024NewYearUtc), k2024NewYearOle);
  Machine().clock.SetUtcOffsetMinutes(90);
  EXPECT_DOUBLE_EQ(FileTimeToLocalDate(k2024NewYearUtc), k2024NewYearOle + 1.5 / 24);
  EXPECT_EQ(FileTimeToLocalDate(0), 0.0);
}

}  // namespace
}  // namespace orvix
