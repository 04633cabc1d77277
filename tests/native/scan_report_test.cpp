// The scanner's reporting: value texts, the keyword of an install folder,
// keys reported with everything below them in order and never twice.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "named_case.h"
#include "platform/registry_helpers.h"
#include "scan_lines.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/regedit_scan.h"

namespace orvix::testing {
namespace {

// An area that runs a given action, to drive the scanner's reporting in the
// views a real area would.
class TActionArea : public TScanArea {
 public:
  TActionArea(TScanViews views, std::function<void(TRegeditScanClasses&)> action)
      : views_(views), action_(std::move(action)) {}
  int Number() const override { return 1; }
  bool NeedsKeyword() const override { return false; }
  TScanViews Views() const override { return views_; }
  void Run(TRegeditScanClasses& scan) override { action_(scan); }

 private:
  TScanViews views_;
  std::function<void(TRegeditScanClasses&)> action_;
};

std::vector<TScanAreaPtr> OneArea(TScanViews views, std::function<void(TRegeditScanClasses&)> action) {
  std::vector<TScanAreaPtr> areas;
  areas.push_back(std::make_unique<TActionArea>(views, std::move(action)));
  return areas;
}

// --- Value texts -------------------------------------------------------------

struct ValueTextCase : NamedCase {
  DWORD type;
  Bytes data;
  const wchar_t* text;
};

class ScanValueTextTest : public SimMachineX86Test, public ::testing::WithParamInterface<ValueTextCase> {};

TEST_P(ScanValueTextTest, ReadsEveryTypeAsText) {
  Registry().PutValue(L"HKLM\\SOFTWARE\\Foo", L"v", GetParam().type, GetParam().data);
  TScanKey key(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Foo", false);
  EXPECT_EQ(key.ValueText(L"v"), GetParam().text);
}

Bytes Utf16z(std::wstring_view text) {
  Bytes bytes = ToUtf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Types, ScanValueTextTest,
    ::testing::Values(ValueTextCase{{"String"}, REG_SZ, Utf16z(L"C:\\Foo\\a.dll"), L"C:\\Foo\\a.dll"},
                      ValueTextCase{{"ExpandStringUnexpanded"}, REG_EXPAND_SZ, Utf16z(L"%WINDIR%\\a"), L"%WINDIR%\\a"},
                      ValueTextCase{{"Dword"}, REG_DWORD, {42, 0, 0, 0}, L"42"},
                      ValueTextCase{{"DwordSigned"}, REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, L"-1"},
                      ValueTextCase{{"BinaryAsAnsiTextToFirstZero"}, REG_BINARY, {'A', 0xE9, 0, 'C'}, L"A\u00E9"},
                      ValueTextCase{{"BinaryControlCharacterStaysText"}, REG_BINARY, {1, 0}, L"\u0001"},
                      ValueTextCase{{"BinaryStartingWithZeroAsHex"}, REG_BINARY, {0, 0x0A}, L"0A"},
                      ValueTextCase{{"BinaryBlankAsHexWithoutLeadingZeros"}, REG_BINARY, {0x20, 0, 0xFF}, L"200FF"},
                      ValueTextCase{{"MultiStringUpToFirstZeroByte"}, REG_MULTI_SZ, {'a', 0, 'b', 0, 0, 0}, L"a"},
                      ValueTextCase{{"QwordAsBytes"}, REG_QWORD, {0x31, 0x32, 0, 0, 0, 0, 0, 0}, L"12"},
                      ValueTextCase{{"EmptyBinary"}, REG_BINARY, {}, L""}),
    CaseName());

TEST_F(SimMachineX86Test, ScanValueTextOfAbsentValueOrKeyIsEmpty) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Foo");
  TScanKey key(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Foo", false);
  EXPECT_EQ(key.ValueText(L"missing"), L"");
  TScanKey missing(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Missing", false);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.ValueText(L""), L"");
  EXPECT_TRUE(missing.SubKeyNames().empty());
}

// --- The keyword ---------------------------------------------------------------

struct KeywordCase : NamedCase {
  const wchar_t* location;
  const wchar_t* keyword;
};

class ScanKeywordTest : public SimMachineTest, public ::testing::WithParamInterface<KeywordCase> {
 protected:
  void SetUp() override {
    Machine().files.PutFile(L"C:\\Program Files (x86)\\Foo\\foo.exe", "MZ");
    Machine().files.PutFolder(L"C:\\Program Files (x86)\\Foo2");
    Machine().files.PutFile(L"C:\\Program Files (x86)\\Common Files\\InstallShield\\Driver\\Ctor.dll", "MZ");
    Machine().files.PutFolder(L"C:\\Program Files (x86)\\Common Files\\Foo Shared");
  }
};

TEST_P(ScanKeywordTest, IsTheInstallFolderOrNothing) {
  const TProtectedLocations locations;
  EXPECT_EQ(ScanKeyword(GetParam().location, locations), GetParam().keyword);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, ScanKeywordTest,
    ::testing::Values(
        KeywordCase{{"Folder"}, L"C:\\Program Files (x86)\\Foo", L"c:\\program files (x86)\\foo\\"},
        KeywordCase{{"FolderWithBackslash"}, L" C:\\Program Files (x86)\\Foo\\ ", L"c:\\program files (x86)\\foo\\"},
        KeywordCase{
            {"FileGivesItsFolder"}, L"C:\\Program Files (x86)\\Foo\\foo.exe", L"c:\\program files (x86)\\foo\\"},
        KeywordCase{{"Quoted"}, L"\"C:\\Program Files (x86)\\Foo\"", L"c:\\program files (x86)\\foo\\"},
        KeywordCase{{"MissingFolderStillCounts"}, L"D:\\Apps\\Gone", L"d:\\apps\\gone\\"},
        KeywordCase{{"SlashesAndDots"}, L"c:/program files (x86)/foo/bin/..", L"c:\\program files (x86)\\foo\\"},
        KeywordCase{{"Empty"}, L"  ", L""}, KeywordCase{{"RelativeText"}, L"Foo", L""},
        KeywordCase{{"ProgramFiles"}, L"C:\\Program Files (x86)", L""},
        KeywordCase{{"NativeProgramFiles"}, L"C:\\Program Files\\", L""},
        KeywordCase{{"ParentOfFolderThroughDots"}, L"C:\\Program Files (x86)\\Foo\\..", L""},
        KeywordCase{{"DriveRoot"}, L"C:", L""}, KeywordCase{{"UsersAppData"}, L"C:\\Users\\Ann\\AppData", L""},
        KeywordCase{{"InsideWindows"}, L"C:\\Windows\\System32\\drivers", L""},
        // An installer engine's file names the engine's folder, shared by every
        // program it installed; a folder recorded as such is the program's.
        KeywordCase{{"FileInCommonFiles"}, L"C:\\Program Files (x86)\\Common Files\\InstallShield\\Driver\\Ctor.dll",
                    L""},
        KeywordCase{{"FolderInCommonFiles"}, L"C:\\Program Files (x86)\\Common Files\\Foo Shared",
                    L"c:\\program files (x86)\\common files\\foo shared\\"}),
    CaseName());

TEST_F(SimMachineTest, ScanKeywordResolvesShortNames) {
  Machine().files.PutFolder(L"C:\\Program Files (x86)\\Foo Suite");
  std::wstring shortPath;
  ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files (x86)\\Foo Suite", &shortPath), ERROR_SUCCESS);
  ASSERT_NE(shortPath.find(L'~'), std::wstring::npos);
  const TProtectedLocations locations;
  EXPECT_EQ(ScanKeyword(shortPath, locations), L"c:\\program files (x86)\\foo suite\\");
  std::wstring shortProgramFiles;
  ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files (x86)", &shortProgramFiles), ERROR_SUCCESS);
  EXPECT_EQ(ScanKeyword(shortProgramFiles, locations), L"");
}

TEST_F(SimMachineX86Test, ScanMatchesTheKeywordWithItsTrailingBackslash) {
  TRegeditScanClasses scan;
  TSoftInfo record;
  record.InstallLocation = L"C:\\Program Files\\Foo";
  scan.Setup(nullptr, nullptr, record, nullptr);
  EXPECT_TRUE(scan.MatchesKeyword(L"\"C:\\PROGRAM FILES\\FOO\\foo.exe\" /x"));
  EXPECT_FALSE(scan.MatchesKeyword(L"C:\\Program Files\\Foo2\\bar.dll"));
  EXPECT_FALSE(scan.MatchesKeyword(L"C:\\Program Files\\Foo"));
}

// --- Reporting keys and values -------------------------------------------------

class ScanReportTest : public SimMachineX86Test {
 protected:
  void SetUp() override {
    Machine().ImportReg(
        LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Foo]
@="root"
"b"=dword:00000002
"c"=hex:00,0c

[HKEY_LOCAL_MACHINE\SOFTWARE\Foo\One]
"x"="1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Foo\Two]
)");
    TSoftInfo record;
    record.InstallLocation = L"C:\\Program Files\\Foo";
    scan_.Setup(&findings_, nullptr, record, nullptr);
  }

  TRegFindings findings_;
  TRegeditScanClasses scan_;
};

TEST_F(ScanReportTest, KeyComesWithItsSubKeysBeforeItsValues) {
  TFoundNames list;
  scan_.ReportKey(list, HKEY_LOCAL_MACHINE, L"Foo", L"\\SOFTWARE\\Foo");
  EXPECT_EQ(Lines(findings_), (std::vector<std::wstring>{
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\One",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\One | x - 1",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\Two",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo | Default - root",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo | b - 2",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo | c - 0C",
                              }));
  ASSERT_TRUE(list.Contains(L"foo"));
  const TRegeditItemGroup* group = list.Find(L"FOO", false);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->KeyPath, L"SOFTWARE\\Foo");
  EXPECT_EQ(group->SubGroups.size(), 2u);
  EXPECT_EQ(group->Values.size(), 3u);
  EXPECT_EQ(group->SubGroups.at(L"one")->Values.at(L"x").ValueData, L"1");
}

TEST_F(ScanReportTest, NothingIsReportedTwice) {
  TFoundNames list;
  TFoundNames other;
  scan_.ReportKey(list, HKEY_LOCAL_MACHINE, L"Foo", L"\\SOFTWARE\\Foo");
  scan_.ReportKey(list, HKEY_LOCAL_MACHINE, L"FOO", L"\\SOFTWARE\\Foo\\One");  // same name: skipped
  const std::size_t once = findings_.size();
  scan_.ReportKey(other, HKEY_LOCAL_MACHINE, L"One", L"\\software\\foo\\one");  // same key, other area
  scan_.ReportValue(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Foo", L"B");
  EXPECT_EQ(findings_.size(), once);
  EXPECT_TRUE(other.Contains(L"One"));  // still found for later areas
}

TEST_F(ScanReportTest, MissingKeysAndEmptyValuesReportNothing) {
  TFoundNames list;
  scan_.ReportKey(list, HKEY_LOCAL_MACHINE, L"Gone", L"\\SOFTWARE\\Gone");
  scan_.ReportValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Foo\\Two", L"");
  EXPECT_TRUE(findings_.empty());
  EXPECT_FALSE(list.Contains(L"Gone"));
}

// Whatever data leads an area there, a key that lists many programs, or a
// key above one, is never offered, nor anything below it through it; a
// program's own key below such a key still is.
TEST_F(ScanReportTest, KeysThatListManyProgramsAreNeverReported) {
  const std::wstring uninstall = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  Registry().PutString(L"HKLM" + uninstall, L"DisplayName", L"Broken");
  Registry().PutString(L"HKLM" + uninstall + L"\\Foo", L"DisplayName", L"Foo");
  Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\CLSID\\{F00}", L"", L"Foo");
  const struct {
    HKEY root;
    std::wstring path;
  } shared[] = {
      {HKEY_LOCAL_MACHINE, uninstall},
      {HKEY_LOCAL_MACHINE, uninstall + L"\\"},
      {HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion"},
      {HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\CLSID"},
      {HKEY_CLASSES_ROOT, L"\\CLSID"},
      {HKEY_LOCAL_MACHINE, L"\\SOFTWARE"},
  };
  for (const auto& c : shared) {
    TFoundNames list;
    scan_.ReportKey(list, c.root, L"Shared", c.path);
    scan_.AddKeyFinding(c.root, c.path);
    EXPECT_TRUE(findings_.empty()) << Narrow(c.path) << ": " << Narrow(Lines(findings_).front());
  }
  TFoundNames list;
  scan_.ReportKey(list, HKEY_LOCAL_MACHINE, L"Foo", uninstall + L"\\Foo");
  scan_.ReportClassesKey(list, L"{F00}", L"CLSID\\{F00}");
  EXPECT_EQ(Keys(findings_), (std::vector<std::wstring>{
                                 L"HKEY_LOCAL_MACHINE" + uninstall + L"\\Foo",
                                 L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{F00}",
                                 L"HKEY_CLASSES_ROOT\\CLSID\\{F00}",
                             }));
}

TEST_F(ScanReportTest, ClassesKeyIsMirroredUnderClassesRoot) {
  Machine().ImportReg(
      LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Doc]
@="Foo Document"
)");
  TFoundNames list;
  scan_.ReportClassesKey(list, L"Foo.Doc", L"Foo.Doc");
  scan_.ReportClassesKey(list, L"Foo.Doc", L"Foo.Doc");
  EXPECT_EQ(Lines(findings_), (std::vector<std::wstring>{
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Foo.Doc",
                                  L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Foo.Doc | Default - Foo Document",
                                  L"HKEY_CLASSES_ROOT\\Foo.Doc",
                                  L"HKEY_CLASSES_ROOT\\Foo.Doc | Default - Foo Document",
                              }));
  EXPECT_TRUE(list.Mirror().Contains(L"Foo.Doc"));
}

TEST_F(ScanReportTest, ClearResultsEmptiesOutputsAndFoundNames) {
  TFileFindings files{TScanFileInfo{L"c:\\program files\\foo\\", 0, sfkFolder, 0}};
  TSoftInfo record;
  scan_.Setup(&findings_, &files, record, nullptr);
  scan_.ReportKey(scan_.Found().Clsids, HKEY_LOCAL_MACHINE, L"Foo", L"\\SOFTWARE\\Foo");
  scan_.InstallerFolders().push_back(L"c:\\program files\\foo\\");
  ASSERT_FALSE(findings_.empty());
  scan_.ClearResults();
  EXPECT_TRUE(findings_.empty());
  EXPECT_TRUE(files.empty());
  EXPECT_TRUE(scan_.Found().Clsids.Empty());
  EXPECT_TRUE(scan_.InstallerFolders().empty());
  // What was cleared may be reported again.
  scan_.ReportKey(scan_.Found().Clsids, HKEY_LOCAL_MACHINE, L"Foo", L"\\SOFTWARE\\Foo");
  EXPECT_EQ(findings_.size(), 7u);
}

// --- Views of a 64-bit machine -------------------------------------------------------

TEST_F(SimMachineTest, ScanReportsRedirectedKeysPerViewAndSharedKeysOnce) {
  Machine().ImportReg(
      LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{F00-C}]
@="64"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\CLSID\{F00-C}]
@="32"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{F00-T}]
@="shared"
)");
  TRegFindings findings;
  TRegeditScanClasses scan;
  TSoftInfo record;
  record.InstallLocation = L"C:\\Program Files (x86)\\Foo";
  scan.Setup(&findings, nullptr, record, nullptr);
  TFoundNames clsids;
  TFoundNames typeLibs;
  scan.FullScan(OneArea(svBoth, [&](TRegeditScanClasses& s) {
    s.ReportKey(clsids, HKEY_LOCAL_MACHINE, L"c", L"\\SOFTWARE\\Classes\\CLSID\\{F00-C}");
    s.ReportKey(typeLibs, HKEY_LOCAL_MACHINE, L"t", L"\\SOFTWARE\\Classes\\TypeLib\\{F00-T}");
  }));
  // The entry's (32-bit) view first; the type library, shared by both
  // views, once, in the view it was first found in.
  EXPECT_EQ(ViewLines(findings), (std::vector<std::wstring>{
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{F00-C} (32)",
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{F00-C} | Default - 32 (32)",
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\{F00-T} (32)",
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\{F00-T} | Default - shared (32)",
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{F00-C} (64)",
                       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{F00-C} | Default - 64 (64)",
                   }));
  EXPECT_TRUE(clsids.Contains(L"c", false));
  EXPECT_TRUE(clsids.Contains(L"c", true));
}

TEST(RegistryKeyIdentityTest, FollowsTheRedirectorOfA64BitMachine) {
  const auto id = [](HKEY root, const wchar_t* path, bool view64, bool wow64 = true) {
    return RegistryKeyIdentity(root, path, view64, wow64);
  };
  // Redirected: the views reach two keys.
  EXPECT_NE(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\CLSID\\{x}", false),
            id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\CLSID\\{x}", true));
  EXPECT_NE(id(HKEY_CLASSES_ROOT, L"Interface\\{x}", false), id(HKEY_CLASSES_ROOT, L"Interface\\{x}", true));
  EXPECT_NE(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", false),
            id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", true));
  EXPECT_EQ(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Foo", false),
            id(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Wow6432Node\\Foo", true));
  // Shared: one key, whatever the view and the letter case.
  EXPECT_EQ(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Foo.Doc", false),
            id(HKEY_LOCAL_MACHINE, L"\\software\\classes\\foo.doc\\", true));
  EXPECT_EQ(id(HKEY_CURRENT_USER, L"Software\\Microsoft\\Foo", false),
            id(HKEY_CURRENT_USER, L"Software\\Microsoft\\Foo", true));
  EXPECT_NE(id(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID\\{x}", false),
            id(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID\\{x}", true));
  // One view only on a 32-bit machine; roots always differ.
  EXPECT_EQ(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\CLSID\\{x}", false, false),
            id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\CLSID\\{x}", true, false));
  EXPECT_NE(id(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Foo", false), id(HKEY_CLASSES_ROOT, L"Foo", false));
}

}  // namespace
}  // namespace orvix::testing
