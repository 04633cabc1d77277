// The file area of the leftover scan over a simulated machine: what it
// reports and in which order, what it never reports, and the scan of a bare
// folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "native/named_case.h"
#include "native/shell_link_writer.h"
#include "platform/text.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/file_area.h"
#include "uninstall/generic_folder_names.h"
#include "uninstall/leftover_scan.h"
#include "uninstall/regedit_scan.h"

namespace orvix::testing {
namespace {

constexpr wchar_t kProductCode[] = L"{12345678-ABCD-EF01-2345-6789ABCDEF01}";

// Stands in for the installer area: hands the file area its folders.
class TInstallerFoldersArea : public TScanArea {
 public:
  explicit TInstallerFoldersArea(std::vector<std::wstring> folders) : folders_(std::move(folders)) {}
  int Number() const override { return 2; }
  bool NeedsKeyword() const override { return false; }
  void Run(TRegeditScanClasses& scan) override { scan.InstallerFolders() = folders_; }

 private:
  std::vector<std::wstring> folders_;
};

class ScanFilesTest : public SimMachineTest {
 protected:
  sim::SimFileSystem& Files() { return Machine().files; }
  static std::wstring Folder(int csidl) { return CurrentPlatform().Shell().GetSpecialFolder(csidl); }

  static TSoftInfo Entry(const std::wstring& location, const std::wstring& name = L"Foo",
                         const std::wstring& publisher = L"FooSoft") {
    TSoftInfo entry;
    entry.DisplayName = name;
    entry.Publisher = publisher;
    entry.InstallLocation = location;
    entry.RootName = L"HKEY_LOCAL_MACHINE";
    entry.KeyPath = std::wstring(L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kProductCode;
    return entry;
  }

  void PutShortcut(const std::wstring& path, const std::string& target) {
    LinkSpec spec;
    spec.localBasePath = target;
    Files().PutFile(path, BuildShellLink(spec));
  }

  // The file findings of a full scan made of the file area (after the
  // installer folders), as paths.
  TFileFindings Scan(const TSoftInfo& entry, std::vector<std::wstring> installerFolders = {}) {
    std::vector<TScanAreaPtr> areas;
    areas.push_back(std::make_unique<TInstallerFoldersArea>(std::move(installerFolders)));
    areas.push_back(MakeFileArea());
    TFileFindings files;
    TRegeditScanClasses scan;
    scan.Setup(nullptr, &files, entry, &images_);
    scan.FullScan(areas);
    EXPECT_TRUE(scan.InstallerFolders().empty()) << "the file scan consumes the installer folders";
    return files;
  }
  static std::vector<std::wstring> Paths(const TFileFindings& files) {
    std::vector<std::wstring> paths;
    for (const TScanFileInfo& file : files) paths.push_back(file.Path);
    return paths;
  }

  TTreeImageList images_ = TTreeImageList::WithDefaultPictures();
};

TEST_F(ScanFilesTest, InstallFolderFirstThenEachEntryOnceBeforeItsContents) {
  Files().PutFile(L"C:\\Program Files\\Foo\\bin\\foo.exe", "MZ12");
  Files().PutFile(L"C:\\Program Files\\Foo\\readme.txt", "read me");
  Files().PutFile(L"C:\\Program Files\\Foo\\.settings", "x");
  Files().PutFile(L"C:\\Program Files\\Foo\\.cache\\data.bin", "x");
  Files().PutFile(L"C:\\Program Files\\Foo2\\foo2.exe", "MZ");
  // The installer named the install folder and one inside it again.
  const TFileFindings files =
      Scan(Entry(L"C:\\Program Files\\Foo"), {L"c:\\program files\\foo\\", L"c:\\program files\\foo\\bin\\"});
  EXPECT_EQ(Paths(files), (std::vector<std::wstring>{L"c:\\program files\\foo\\", L"c:\\program files\\foo\\bin",
                                                     L"c:\\program files\\foo\\bin\\foo.exe",
                                                     L"c:\\program files\\foo\\readme.txt"}));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].Kind, sfkFolder);
  EXPECT_EQ(files[1].Kind, sfkFolder);
  EXPECT_EQ(files[2].Kind, sfkFile);
  EXPECT_EQ(files[2].Size, 4);
  EXPECT_EQ(files[3].Size, 7);
  // Each finding has its own icon, taken by name.
  const TTreeImage* icon = images_.At(files[2].ImageIndex);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Kind, tikFileIcon);
  EXPECT_EQ(icon->Source, files[2].Path);
  EXPECT_TRUE(images_.At(files[1].ImageIndex)->IsFolder);
}

TEST_F(ScanFilesTest, InstallerFoldersOutsideTheInstallFolderButNeverAboveItOrProtected) {
  Files().PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  Files().PutFile(L"C:\\Program Files\\Common Files\\FooShared\\shared.dll", "MZ");
  Files().PutFile(L"C:\\Program Files\\Bar\\bar.exe", "MZ");
  Files().PutFile(L"C:\\Windows\\System32\\foo.sys", "MZ");
  const TFileFindings files = Scan(Entry(L"C:\\Program Files\\Foo\\"),
                                   {L"c:\\program files\\common files\\fooshared\\", L"c:\\windows\\system32\\",
                                    L"c:\\program files\\", L"c:\\", L"c:\\windows\\system32\\drivers\\"});
  EXPECT_EQ(Paths(files), (std::vector<std::wstring>{L"c:\\program files\\foo\\", L"c:\\program files\\foo\\foo.exe",
                                                     L"c:\\program files\\common files\\fooshared\\",
                                                     L"c:\\program files\\common files\\fooshared\\shared.dll"}));
}

TEST_F(ScanFilesTest, FoldersNamedAfterPublisherAndProgramGiveTheirContents) {
  const std::wstring appData = Folder(CSIDL_APPDATA);
  const std::wstring commonPrograms = Folder(CSIDL_COMMON_PROGRAMS);
  Files().PutFile(appData + L"\\FooSoft\\Foo\\settings.ini", "a=1");
  Files().PutFile(appData + L"\\FooSoft\\Foo\\Logs\\today.log", "");
  Files().PutFile(appData + L"\\FooSoft\\Other\\keep.ini", "");
  Files().PutFile(commonPrograms + L"\\Foo\\Foo.lnk", "");
  Files().PutFile(Folder(CSIDL_COMMON_APPDATA) + L"\\Foo2\\keep.dat", "");
  const TFileFindings files = Scan(Entry(L"C:\\Program Files\\Foo"));  // the install folder is gone
  const std::wstring foo = appData + L"\\FooSoft\\Foo\\";
  EXPECT_EQ(Paths(files), (std::vector<std::wstring>{foo + L"Logs", foo + L"Logs\\today.log", foo + L"settings.ini",
                                                     commonPrograms + L"\\Foo\\Foo.lnk"}));
}

// A folder of the program's name further down belongs to whatever holds it
// (another maker's product, the Start menu below the common application
// data): only the base folder and the publisher's folder in it are searched.
TEST_F(ScanFilesTest, NamedFoldersAreSoughtDirectlyInTheBaseFolderOnly) {
  const std::wstring appData = Folder(CSIDL_APPDATA);
  const std::wstring common = Folder(CSIDL_COMMON_APPDATA);
  Files().PutFile(appData + L"\\Other\\Foo\\keep.ini", "other");
  Files().PutFile(common + L"\\Vendor\\FooSoft\\Foo\\keep.dat", "other");
  Files().PutFile(appData + L"\\Foo\\foo.ini", "own");
  EXPECT_EQ(Paths(Scan(Entry(L"C:\\Program Files\\Foo"))), (std::vector<std::wstring>{appData + L"\\Foo\\foo.ini"}));
}

// A bare path searches the application data and the Start menu only by
// the name of a folder chosen as such, and never by a generic one; the
// folder of a chosen file (bin, x64) gives no name at all.
TEST_F(ScanFilesTest, BarePathsSearchOnlyByTheNameOfAChosenFolder) {
  const std::wstring appData = Folder(CSIDL_APPDATA);
  for (const wchar_t* name : {L"FooTool", L"bin", L"x64", L"1.2.0"}) {
    Files().PutFile(std::wstring(L"C:\\Tools\\") + name + L"\\tool.exe", "MZ");
    Files().PutFile(appData + L"\\" + name + L"\\settings.ini", "a=1");
  }
  const struct {
    const wchar_t* chosen;
    bool searched;
  } cases[] = {
      {L"C:\\Tools\\FooTool", true},
      {L"C:\\Tools\\FooTool\\tool.exe", false},
      {L"C:\\Tools\\bin", false},
      {L"C:\\Tools\\bin\\tool.exe", false},
      {L"C:\\Tools\\x64", false},
      {L"C:\\Tools\\1.2.0", false},
  };
  for (const auto& c : cases) {
    TLeftoverTree tree;
    ASSERT_GT(TLeftoverScan().ScanLeftovers(nullptr, tree, c.chosen), 0) << Narrow(c.chosen);
    std::vector<std::wstring> inAppData;
    for (const auto& node : tree.Programs()[0]->Children[0]->Children) {
      if (StartsWithText(node->Data.FilePath, appData)) inAppData.push_back(node->Data.FilePath);
    }
    EXPECT_EQ(inAppData.size(), c.searched ? 1u : 0u) << Narrow(c.chosen);
  }
}

TEST(GenericFolderNamesTest, SubFoldersVersionsAndSharedFoldersNameNoProgram) {
  for (const wchar_t* name : {L"bin", L"BIN", L" app ", L"x64", L"x86", L"Common Files", L"Programs", L"Microsoft",
                              L"12", L"1.2.3", L"v2", L"app-1.4.0", L"2024-01", L"", L"ab"}) {
    EXPECT_TRUE(IsGenericFolderName(name)) << Narrow(name);
  }
  for (const wchar_t* name : {L"FooTool", L"Notepad2", L"7-Zip", L"Vim", L"binutils", L"Application Verifier"}) {
    EXPECT_FALSE(IsGenericFolderName(name)) << Narrow(name);
  }
}

TEST_F(ScanFilesTest, DesktopShortcutsIntoTheInstallFolderOnly) {
  const std::wstring desktop = Folder(CSIDL_DESKTOPDIRECTORY);
  const std::wstring common = Folder(CSIDL_COMMON_DESKTOPDIRECTORY);
  PutShortcut(desktop + L"\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(desktop + L"\\Foo2.lnk", "C:\\Program Files\\Foo2\\foo2.exe");
  PutShortcut(desktop + L"\\.Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(common + L"\\Foo folder.lnk", "C:\\PROGRAM FILES\\FOO");
  Files().PutFile(desktop + L"\\C--Program Files-Foo-.txt", "C:\\Program Files\\Foo\\ is not a shortcut");
  const TFileFindings files = Scan(Entry(L"C:\\Program Files\\Foo"));
  EXPECT_EQ(Paths(files), (std::vector<std::wstring>{desktop + L"\\Foo.lnk", common + L"\\Foo folder.lnk"}));
  EXPECT_EQ(files[0].Kind, sfkFile);
  EXPECT_GT(files[0].Size, 0);
}

// Shortcuts at any level of either Start menu that start something in the
// install folder; a menu folder holding nothing else goes whole. Neighbours
// (Foo2), another program's folder inside Foo, broken shortcuts and anything
// else stay, and so does a folder holding them.
TEST_F(ScanFilesTest, StartMenuShortcutsIntoTheInstallFolderAtAnyLevel) {
  Machine().registry.PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Plugin",
                               L"DisplayName", L"Foo Plugin");
  Machine().registry.PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Plugin",
                               L"InstallLocation", L"C:\\Program Files\\Foo\\Plugin");
  Machine().registry.PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Plugin",
                               L"UninstallString", L"C:\\Program Files\\Foo\\Plugin\\uninst.exe");
  Files().PutFile(L"C:\\Program Files\\Foo\\Plugin\\plugin.exe", "MZ");
  const std::wstring common = Folder(CSIDL_COMMON_PROGRAMS);
  const std::wstring user = Folder(CSIDL_PROGRAMS);
  PutShortcut(common + L"\\Foo Suite\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(common + L"\\Foo Suite\\Help\\Manual.lnk", "C:\\Program Files\\Foo\\doc\\manual.chm");
  PutShortcut(common + L"\\Tools\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(common + L"\\Tools\\Foo2.lnk", "C:\\Program Files\\Foo2\\foo2.exe");
  PutShortcut(common + L"\\Tools\\Plugin.lnk", "C:\\Program Files\\Foo\\Plugin\\plugin.exe");
  Files().PutFile(common + L"\\Tools\\Broken.lnk", "not a shortcut");
  PutShortcut(user + L"\\Kept\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  Files().PutFile(user + L"\\Kept\\notes.txt", "mine");
  PutShortcut(user + L"\\Dotted\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  Files().PutFile(user + L"\\Dotted\\.hidden", "mine");
  PutShortcut(user + L"\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");

  std::vector<std::wstring> paths = Paths(Scan(Entry(L"C:\\Program Files\\Foo")));
  std::vector<std::wstring> menu;
  for (const std::wstring& path : paths) {
    if (!StartsWithText(path, L"C:\\Program Files\\Foo")) menu.push_back(path);
  }
  std::sort(menu.begin(), menu.end());
  std::vector<std::wstring> expected = {common + L"\\Foo Suite",         common + L"\\Foo Suite\\Foo.lnk",
                                        common + L"\\Foo Suite\\Help",   common + L"\\Foo Suite\\Help\\Manual.lnk",
                                        common + L"\\Tools\\Foo.lnk",    user + L"\\Dotted\\Foo.lnk",
                                        user + L"\\Foo.lnk",             user + L"\\Kept\\Foo.lnk"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(menu, expected);
}

// Pinned shortcuts at any level of the user's Quick Launch folder; the
// folders the shell keeps for every program stay, even holding nothing else.
TEST_F(ScanFilesTest, PinnedShortcutsIntoTheInstallFolderButNeverTheirFolders) {
  const std::wstring pinned = Folder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned";
  PutShortcut(pinned + L"\\TaskBar\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(pinned + L"\\StartMenu\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  PutShortcut(pinned + L"\\StartMenu\\Foo2.lnk", "C:\\Program Files\\Foo2\\foo2.exe");
  PutShortcut(pinned + L"\\ImplicitAppShortcuts\\69639df789022856\\Foo.lnk", "C:\\Program Files\\Foo\\foo.exe");
  const std::vector<std::wstring> paths = Paths(Scan(Entry(L"C:\\Program Files\\Foo")));
  std::vector<std::wstring> quickLaunch;
  for (const std::wstring& path : paths) {
    if (StartsWithText(path, pinned)) quickLaunch.push_back(path);
  }
  std::sort(quickLaunch.begin(), quickLaunch.end());
  EXPECT_EQ(quickLaunch, (std::vector<std::wstring>{pinned + L"\\ImplicitAppShortcuts\\69639df789022856\\Foo.lnk",
                                                    pinned + L"\\StartMenu\\Foo.lnk", pinned + L"\\TaskBar\\Foo.lnk"}));
}

TEST_F(ScanFilesTest, InstallerIconFolderOfAProductCode) {
  const std::wstring icons = Folder(CSIDL_APPDATA) + L"\\Microsoft\\Installer\\" + kProductCode;
  Files().PutFile(icons + L"\\foo.ico", "icon");
  const TFileFindings files = Scan(Entry(L"C:\\Program Files\\Foo"));
  EXPECT_EQ(Paths(files), (std::vector<std::wstring>{icons, icons + L"\\foo.ico"}));
}

struct NothingCase : NamedCase {
  const wchar_t* location;  // used when csidl is 0
  int csidl;
  const wchar_t* displayName;
  const wchar_t* publisher;
};

class ScanFilesNothingTest : public ScanFilesTest, public ::testing::WithParamInterface<NothingCase> {};

// Whatever sits there, a protected install location gives no file findings
// at all, and names that lead to system folders give nothing from them.
TEST_P(ScanFilesNothingTest, NoFindingsBeyondTheInstallFolder) {
  const NothingCase& c = GetParam();
  const std::wstring location = c.csidl == 0 ? std::wstring(c.location) : Folder(c.csidl);
  Files().PutFile(L"C:\\Windows\\notepad.exe", "MZ");
  Files().PutFile(Folder(CSIDL_APPDATA) + L"\\Microsoft\\Windows\\Start Menu\\Programs\\Tool.lnk", "");
  Files().PutFile(Folder(CSIDL_COMMON_PROGRAMS) + L"\\Tool.lnk", "");
  PutShortcut(Folder(CSIDL_DESKTOPDIRECTORY) + L"\\Notepad.lnk", "C:\\Windows\\notepad.exe");
  // The user's own files where a protected location leads.
  if (Files().IsFolder(location)) Files().PutFile(location + L"\\users-own.txt", "mine");
  const std::vector<std::wstring> paths = Paths(Scan(Entry(location, c.displayName, c.publisher)));
  EXPECT_TRUE(paths.empty()) << paths.front();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanFilesNothingTest,
    ::testing::Values(NothingCase{{"WindowsFolder"}, L"C:\\Windows\\", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"System32"}, L"C:\\Windows\\System32", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"DriveRoot"}, L"C:\\", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"ProgramFiles"}, L"C:\\Program Files", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"Desktop"}, L"", CSIDL_DESKTOPDIRECTORY, L"Foo", L"FooSoft"},
                      NothingCase{{"AppData"}, L"", CSIDL_APPDATA, L"Foo", L"FooSoft"},
                      NothingCase{{"Downloads"}, L"C:\\Users\\Ann\\Downloads\\", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"DownloadsThroughJunction"}, L"C:\\Documents and Settings\\Ann\\Downloads", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"PublicDownloads"}, L"C:\\Users\\Public\\Downloads", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"Documents"}, L"", CSIDL_PERSONAL, L"Foo", L"FooSoft"},
                      NothingCase{{"Profile"}, L"", CSIDL_PROFILE, L"Foo", L"FooSoft"},
                      NothingCase{{"Relative"}, L"Foo", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"Empty"}, L"", 0, L"Foo", L"FooSoft"},
                      NothingCase{{"NamedWindows"}, L"C:\\Tools\\Win", 0, L"Windows", L"Microsoft"},
                      NothingCase{{"NamedPrograms"}, L"C:\\Tools\\Progs", 0, L"Programs", L""},
                      NothingCase{{"NamedStartMenu"}, L"C:\\Tools\\Menu", 0, L"Start Menu", L""}),
    CaseName());

TEST_F(ScanFilesTest, LinksAreReportedButNeverFollowed) {
  Files().PutFile(L"C:\\Windows\\System32\\kernel32.dll", "MZ");
  Files().PutFile(L"C:\\Data\\mine.txt", "mine");
  Files().PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  Files().MakeJunction(L"C:\\Program Files\\Foo\\win", L"C:\\Windows");
  Files().MakeJunction(L"C:\\Program Files\\Foo\\data", L"C:\\Data", IO_REPARSE_TAG_SYMLINK);
  // Links where the search for FooSoft\Foo looks: one named like the
  // program, one leading to a folder that holds FooSoft\Foo.
  Files().PutFile(L"C:\\Data\\FooSoft\\Foo\\theirs.txt", "");
  Files().MakeJunction(Folder(CSIDL_APPDATA) + L"\\Foo", L"C:\\Data");
  Files().MakeJunction(Folder(CSIDL_COMMON_APPDATA) + L"\\Elsewhere", L"C:\\Data");
  // A link into a protected folder is that folder: never offered.
  EXPECT_EQ(Paths(Scan(Entry(L"C:\\Program Files\\Foo"))),
            (std::vector<std::wstring>{L"c:\\program files\\foo\\", L"c:\\program files\\foo\\data",
                                       L"c:\\program files\\foo\\foo.exe"}));

  // An install folder that is itself a link stands alone, and is nothing
  // when it leads to a protected folder.
  Files().MakeJunction(L"C:\\Program Files\\Linked", L"C:\\Data");
  EXPECT_EQ(Paths(Scan(Entry(L"C:\\Program Files\\Linked"))),
            std::vector<std::wstring>{L"c:\\program files\\linked\\"});
  Files().MakeJunction(L"C:\\Program Files\\LinkedWindows", L"C:\\Windows");
  EXPECT_EQ(Paths(Scan(Entry(L"C:\\Program Files\\LinkedWindows"))), std::vector<std::wstring>{});
}

TEST_F(ScanFilesTest, TheMakersProductKeepsItsFilteredFilesAndOffersItsFolders) {
  const std::wstring folder = L"C:\\Program Files\\Orvix\\Disk Tidy";
  Files().PutFile(folder + L"\\tidy.exe", "MZ");
  Files().PutFile(folder + L"\\license.dat", "key");
  Files().PutFile(folder + L"\\Reports\\2024\\week1.html", "");
  const std::wstring appData = Folder(CSIDL_APPDATA) + L"\\Orvix\\Disk Tidy";
  Files().PutFile(appData + L"\\tidy.ini", "");
  const std::vector<std::wstring> paths = Paths(Scan(Entry(folder, L"Disk Tidy", L"Orvix")));
  // The install folder stays (it holds what the user keeps), its reports
  // and the license with it; the program, its data and its Start-menu folder
  // (listed though missing) are offered.
  const std::wstring programs = Folder(CSIDL_COMMON_PROGRAMS) + L"\\Orvix Disk Tidy";
  EXPECT_EQ(paths, (std::vector<std::wstring>{L"c:\\program files\\orvix\\disk tidy\\tidy.exe", appData + L"\\tidy.ini",
                                              appData, Folder(CSIDL_COMMON_APPDATA) + L"\\Orvix\\Disk Tidy", programs}));
}

TEST_F(ScanFilesTest, ScanOfABareFolderFindsItsFilesAndNoRegistry) {
  Machine().ImportReg(
      LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"Foo"="C:\\Tools\\Foo\\foo.exe"
)");
  Files().PutFile(L"C:\\Tools\\Foo\\foo.exe", "MZ");
  Files().PutFile(L"C:\\Tools\\Foo\\foo.ini", "");
  Files().PutFile(L"C:\\Tools\\Bar\\bar.exe", "MZ");
  TLeftoverTree tree;
  ASSERT_EQ(TLeftoverScan().ScanLeftovers(nullptr, tree, L"C:\\Tools\\Foo\\foo.exe"), 3);
  const TLeftoverNode& program = *tree.Programs()[0];
  EXPECT_EQ(program.Text, L"foo.exe(3 items)");
  ASSERT_EQ(program.Children.size(), 1u);
  const TLeftoverNode& files = *program.Children[0];
  EXPECT_EQ(files.Data.NodeType, ntFileCategory);
  std::vector<std::wstring> paths;
  for (const auto& node : files.Children) paths.push_back(node->Data.FilePath);
  EXPECT_EQ(paths, (std::vector<std::wstring>{L"c:\\tools\\foo\\", L"c:\\tools\\foo\\foo.exe",
                                              L"c:\\tools\\foo\\foo.ini"}));
}

}  // namespace
}  // namespace orvix::testing
