// The places the leftover scan never offers, over simulated machines of
// different Windows versions and bitness.
#include "platform/protected_locations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

bool Listed(const TProtectedLocations& locations, const std::wstring& entry) {
  const auto& entries = locations.Entries();
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

TEST_F(SimMachineX86Test, ProtectedDriveRootsAreFixedAndRemovableDrivesThatAnswer) {
  Machine().files.AddDrive(L'D', DRIVE_CDROM, 700u << 20, 0);
  Machine().files.AddDrive(L'E', DRIVE_REMOVABLE, 8u << 30, 4u << 30);
  Machine().files.AddDrive(L'F', DRIVE_REMOVABLE, 8u << 30, 4u << 30).mediaPresent = false;
  Machine().files.AddDrive(L'A', DRIVE_REMOVABLE, 1440u << 10, 1440u << 10);
  const TProtectedLocations locations;
  const auto& entries = locations.Entries();
  ASSERT_GE(entries.size(), 5u);
  // The drive roots come first, then the installer cache and ".\".
  EXPECT_EQ(entries[0], L"c:\\");
  EXPECT_EQ(entries[1], L"e:\\");
  EXPECT_EQ(entries[2], L"c:\\windows\\installer\\");
  EXPECT_EQ(entries[3], L".\\");
  EXPECT_EQ(entries[4], L"c:\\windows\\");
  EXPECT_FALSE(Listed(locations, L"d:\\"));
  EXPECT_FALSE(Listed(locations, L"f:\\"));
  EXPECT_FALSE(Listed(locations, L"a:\\"));
  // Whatever the list says, no drive root is ever a program's folder.
  EXPECT_TRUE(locations.IsProtected(L"D:\\"));
  EXPECT_TRUE(locations.IsProtected(L"F:"));
}

TEST_F(SimMachineX86Test, ProtectedListHoldsTheSpecialFoldersInLowerCase) {
  const TProtectedLocations locations;
  for (const wchar_t* folder :
       {L"c:\\program files\\", L"c:\\program files\\common files\\", L"c:\\users\\ann\\", L"c:\\users\\ann\\desktop\\",
        L"c:\\users\\ann\\appdata\\roaming\\", L"c:\\users\\ann\\appdata\\local\\temp\\", L"c:\\programdata\\",
        L"c:\\windows\\system32\\", L"c:\\windows\\fonts\\", L"c:\\users\\ann\\documents\\",
        L"c:\\windows\\syswow64\\"}) {
    EXPECT_TRUE(Listed(locations, folder)) << folder;
  }
  for (const std::wstring& entry : locations.Entries()) {
    EXPECT_TRUE(entry.empty() || entry.back() == L'\\') << entry;
    EXPECT_EQ(entry, LowerCase(entry));
  }
}

TEST_F(SimMachineX86Test, ProtectedFolderMissingOnTheSystemMatchesNothing) {
  Machine().shell.SetSpecialFolder(CSIDL_CDBURN_AREA, L"");
  const TProtectedLocations locations;
  EXPECT_TRUE(Listed(locations, L""));
  EXPECT_FALSE(Listed(locations, L"\\"));
  EXPECT_FALSE(locations.IsProtected(L""));
  EXPECT_FALSE(locations.IsProtected(L"\\Foo"));
}

struct ProtectedCase : NamedCase {
  const wchar_t* path;
  bool isProtected;
};

class ProtectedPathTest : public SimMachineX86Test, public ::testing::WithParamInterface<ProtectedCase> {};

TEST_P(ProtectedPathTest, IsProtected) {
  Machine().files.PutFolder(L"C:\\Program Files\\Foo Suite");
  const TProtectedLocations locations;
  EXPECT_EQ(locations.IsProtected(GetParam().path), GetParam().isProtected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProtectedPathTest,
    ::testing::Values(ProtectedCase{{"Empty"}, L"", false}, ProtectedCase{{"Blank"}, L"   ", false},
                      ProtectedCase{{"ProgramFilesWithoutBackslash"}, L"C:\\Program Files", true},
                      ProtectedCase{{"ProgramFilesAnyCase"}, L" c:\\PROGRAM FILES\\ ", true},
                      ProtectedCase{{"ProgramFolder"}, L"C:\\Program Files\\Foo", false},
                      ProtectedCase{{"ProgramFolderWithSpace"}, L"C:\\Program Files\\Foo Suite\\", false},
                      ProtectedCase{{"DotDotUpToProgramFiles"}, L"C:\\Program Files\\Foo\\..", true},
                      ProtectedCase{{"ForwardSlashes"}, L"C:/Program Files/", true},
                      ProtectedCase{{"LongPathPrefix"}, L"\\\\?\\C:\\Program Files", true},
                      ProtectedCase{{"DriveRoot"}, L"C:\\", true},
                      ProtectedCase{{"ShareRoot"}, L"\\\\server\\share", true},
                      ProtectedCase{{"FolderOnShare"}, L"\\\\server\\share\\Foo", false},
                      ProtectedCase{{"InsideWindows"}, L"C:\\Windows\\System32\\foo.dll", true},
                      ProtectedCase{{"InstallerCache"}, L"C:\\Windows\\Installer", true},
                      ProtectedCase{{"ProfilesFolder"}, L"C:\\Users", true},
                      ProtectedCase{{"AppDataAboveRoaming"}, L"C:\\Users\\Ann\\AppData", true},
                      ProtectedCase{{"ProgramInRoaming"}, L"C:\\Users\\Ann\\AppData\\Roaming\\Foo", false},
                      ProtectedCase{{"CommonDesktop"}, L"C:\\Users\\Public\\Desktop", true},
                      ProtectedCase{{"DotEntry"}, L".\\", true}, ProtectedCase{{"RelativeName"}, L"Foo", false},
                      // The user's folders without a CSIDL, and the public ones.
                      ProtectedCase{{"Downloads"}, L"C:\\Users\\Ann\\Downloads", true},
                      ProtectedCase{{"DownloadsThroughDotDot"}, L"C:\\Program Files\\..\\Users\\Ann\\Downloads\\x\\..", true},
                      ProtectedCase{{"ProgramKeptInDownloads"}, L"C:\\Users\\Ann\\Downloads\\Tool", false},
                      ProtectedCase{{"SavedGames"}, L"C:\\Users\\Ann\\Saved Games", true},
                      ProtectedCase{{"Links"}, L"C:\\Users\\Ann\\Links", true},
                      ProtectedCase{{"LocalLow"}, L"C:\\Users\\Ann\\AppData\\LocalLow", true},
                      ProtectedCase{{"UsersPrograms"}, L"C:\\Users\\Ann\\AppData\\Local\\Programs", true},
                      ProtectedCase{{"UsersProgram"}, L"C:\\Users\\Ann\\AppData\\Local\\Programs\\Foo", false},
                      ProtectedCase{{"Public"}, L"C:\\Users\\Public", true},
                      ProtectedCase{{"PublicDownloads"}, L"C:\\Users\\Public\\Downloads", true},
                      // Through the compatibility junctions: the same folders.
                      ProtectedCase{{"ThroughDocumentsAndSettings"}, L"C:\\Documents and Settings\\Ann\\Downloads", true},
                      ProtectedCase{{"ThroughMyDocuments"}, L"C:\\Users\\Ann\\My Documents", true},
                      ProtectedCase{{"ProgramThroughJunction"}, L"C:\\Documents and Settings\\Ann\\AppData\\Roaming\\Foo", false}),
    CaseName());

TEST_F(SimMachineX86Test, ProtectedShortNamesAreTheFoldersTheyName) {
  std::wstring shortProgramFiles;
  ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files", &shortProgramFiles), ERROR_SUCCESS);
  ASSERT_NE(shortProgramFiles.find(L'~'), std::wstring::npos);
  const TProtectedLocations locations;
  EXPECT_TRUE(locations.IsProtected(shortProgramFiles));
  EXPECT_FALSE(locations.IsProtected(shortProgramFiles + L"\\Foo"));
}

TEST_F(SimMachineX86Test, ProtectedAreTheFoldersALinkOrShortNameLeadsTo) {
  Machine().files.MakeJunction(L"C:\\Apps\\Portable", L"C:\\Users\\Ann\\Downloads");
  Machine().files.MakeJunction(L"C:\\Apps\\Mine", L"C:\\Data\\Mine");
  Machine().files.PutFolder(L"C:\\Data\\Mine");
  const TProtectedLocations locations;
  EXPECT_TRUE(locations.IsProtected(L"C:\\Apps\\Portable"));
  EXPECT_TRUE(locations.IsProtected(ShortPathOf(L"C:\\Users\\Ann\\Downloads")));
  EXPECT_FALSE(locations.IsProtected(L"C:\\Apps\\Mine"));
  EXPECT_FALSE(locations.IsProtected(L"C:\\Apps\\Portable\\Tool"));
}

TEST_F(SimMachineTest, ProtectedOn64BitWindowsAreBothProgramFilesAndSysWow64) {
  const TProtectedLocations locations;
  EXPECT_TRUE(locations.IsProtected(L"C:\\Program Files (x86)"));
  EXPECT_TRUE(locations.IsProtected(L"C:\\Program Files"));  // known to a 32-bit program only from the environment
  EXPECT_TRUE(locations.IsProtected(L"C:\\Program Files\\Common Files"));
  EXPECT_TRUE(locations.IsProtected(L"C:\\Windows\\SysWOW64"));
  EXPECT_FALSE(locations.IsProtected(L"C:\\Program Files\\Foo"));
  EXPECT_FALSE(locations.IsProtected(L"C:\\Program Files (x86)\\Foo"));
}

TEST(ProtectedXpTest, ProfilesOfWindowsXp) {
  sim::MachineOptions options;
  options.os = sim::kWindowsXp;
  options.bitness = sim::Bitness::x86;
  CurrentSimMachine current(options);
  const TProtectedLocations locations;
  EXPECT_TRUE(locations.IsProtected(L"C:\\Documents and Settings"));
  EXPECT_TRUE(locations.IsProtected(L"C:\\Documents and Settings\\Ann\\Application Data"));
  EXPECT_FALSE(locations.IsProtected(L"C:\\Documents and Settings\\Ann\\Application Data\\Foo"));
}

}  // namespace
}  // namespace orvix::testing
