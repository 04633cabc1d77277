// The size of a program: every file below its folder, never through a
// junction, nothing for folders that are no program's own, toolbars capped.
#include "inventory/analysis_size.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr wchar_t kFoo[] = L"C:\\Program Files\\Foo";

class AnalysisSizeTest : public testing::SimMachineTest {
 protected:
  void Put(const std::wstring& path, std::size_t size, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    Machine().files.PutFile(path, Bytes(size), attributes);
  }
};

TEST_F(AnalysisSizeTest, CountsEveryFileBelowTheFolderButNothingBehindLinks) {
  Put(std::wstring(kFoo) + L"\\foo.exe", 1000);
  Put(std::wstring(kFoo) + L"\\README", 24);  // no extension: "*.*" still lists it
  Put(std::wstring(kFoo) + L"\\data\\deep\\er\\blob.bin", 300);
  Put(std::wstring(kFoo) + L"\\.cache\\hidden.dat", 200, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Machine().files.PutFolder(std::wstring(kFoo) + L"\\Secret", FILE_ATTRIBUTE_HIDDEN);
  Put(std::wstring(kFoo) + L"\\Secret\\key.bin", 76);
  // What lies behind the links must not count: the Windows folder, and a
  // sibling program reached through a symbolic link.
  Put(L"C:\\Windows\\System32\\big.dll", 5'000'000);
  Put(L"C:\\Program Files\\Bar\\bar.exe", 7'000'000);
  Machine().files.MakeJunction(std::wstring(kFoo) + L"\\Windows link", L"C:\\Windows");
  Machine().files.MakeJunction(std::wstring(kFoo) + L"\\data\\bar", L"C:\\Program Files\\Bar",
                               IO_REPARSE_TAG_SYMLINK);
  EXPECT_EQ(FolderSize(kFoo), 1600);
  EXPECT_EQ(FolderSize(std::wstring(kFoo) + L"\\"), 1600);
  EXPECT_EQ(Machine().files.OpenHandleCount(), 0u) << "every listing closed";
}

TEST_F(AnalysisSizeTest, AStopEndsTheWalk) {
  Put(std::wstring(kFoo) + L"\\a\\a.bin", 10);
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(FolderSize(kFoo, stop.get_token()), 0);
}

struct SizeCase : testing::NamedCase {
  const wchar_t* installLocation;
  const wchar_t* foundFolder;
  const wchar_t* readme;
  bool toolbar;
  std::int64_t expected;
};

class EntrySizeTest : public AnalysisSizeTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(EntrySizeTest, MeasuresTheProgramsOwnFolder) {
  Put(std::wstring(kFoo) + L"\\foo.exe", 4096);
  Put(L"C:\\Program Files\\Big Bar\\bar.bin", 50 * 1024 * 1024);
  Put(L"C:\\Program Files\\Small Bar\\bar.bin", 10 * 1024 * 1024 - 1);
  Put(L"C:\\Windows\\notepad.exe", 200'000);
  Put(L"C:\\setup.log", 5000);
  Put(L"C:\\Users\\Ann\\Downloads\\movie.mkv", 100'000);
  Put(L"C:\\Program Files (x86)\\Common Files\\shared.dll", 100'000);
  TSoftInfo entry;
  entry.InstallLocation = GetParam().installLocation;
  entry.Readme = GetParam().readme;
  entry.IsToolbar = GetParam().toolbar;
  EXPECT_EQ(MeasureEntrySize(entry, GetParam().foundFolder), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntrySizeTest,
    ::testing::Values(SizeCase{{"InstallLocation"}, kFoo, L"", L"", false, 4096},
                      SizeCase{{"FoundFolderWithoutLocation"}, L"", L"C:\\Program Files\\Foo\\", L"", false, 4096},
                      SizeCase{{"ReadmeFolderLast"}, L"", L"", L"\"C:\\Program Files\\Foo\\readme.txt\"", false, 4096},
                      SizeCase{{"ReadmeInAMissingFolder"}, L"", L"", L"C:\\Gone\\readme.txt", false, 0},
                      SizeCase{{"ToolbarCappedAt10MiB"}, L"C:\\Program Files\\Big Bar", L"", L"", true, 10485760},
                      SizeCase{{"ToolbarBelowTheCap"}, L"C:\\Program Files\\Small Bar", L"", L"", true, 10485759},
                      SizeCase{{"OrdinaryProgramNotCapped"}, L"C:\\Program Files\\Big Bar", L"", L"", false,
                               50 * 1024 * 1024},
                      SizeCase{{"WindowsFolder"}, L"c:\\windows\\", L"", L"", false, 0},
                      SizeCase{{"DriveRoot"}, L"C:\\", L"", L"", false, 0},
                      SizeCase{{"ProgramFilesItself"}, L"C:\\Program Files", L"", L"", false, 0},
                      SizeCase{{"FoundFolderIsCommonFiles"}, L"", L"C:\\Program Files (x86)\\Common Files\\", L"",
                               false, 0},
                      SizeCase{{"ReadmeInDownloads"}, L"", L"", L"C:\\Users\\Ann\\Downloads\\readme.txt", false, 0},
                      SizeCase{{"MissingFolder"}, L"C:\\Program Files\\Gone", L"", L"", false, 0},
                      SizeCase{{"NoFolderAtAll"}, L"", L"", L"", false, 0}),
    testing::CaseName());

}  // namespace
}  // namespace orvix
