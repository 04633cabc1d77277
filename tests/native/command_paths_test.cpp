// Files and folders read out of the texts installers leave in the registry.
#include <gtest/gtest.h>

#include "platform/app_frame.h"
#include "platform/command_paths.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::Narrow;

class CommandPathsTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\uninst.exe", "MZ");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\helper.dll", "MZ");
    // Where a 32-bit program finds system DLLs on a 64-bit machine.
    Machine().files.PutFile(TAppFrame().GetFolder(CSIDL_SYSTEMX86) + L"\\setupapi.dll", "MZ");
    Machine().files.PutFolder(L"C:\\Program Files (x86)\\Bar");
  }
};

TEST_F(CommandPathsTest, CommandToFilePathFindsTheFile) {
  const std::wstring windows = TAppFrame().GetFolder(fkWindows);
  const std::wstring system = TAppFrame().GetFolder(fkSystem);
  const struct {
    const wchar_t* command;
    std::wstring expected;
  } cases[] = {
      {L"\"C:\\Program Files\\Foo\\uninst.exe\" /S", L"C:\\Program Files\\Foo\\uninst.exe"},
      {L"C:\\WINDOWS\\system32\\shell32.dll,-154", L"C:\\WINDOWS\\system32\\shell32.dll"},
      {L"\"C:\\Program Files\\Foo\\uninst.exe\" \"%1\"", L"C:\\Program Files\\Foo\\uninst.exe"},
      {L";\\??\\C:\\Program Files\\Foo\\drv.sys", L"C:\\Program Files\\Foo\\drv.sys"},
      {L"%windir%\\system32\\msiexec.exe", windows + L"\\system32\\msiexec.exe"},
      {L"\"%SystemRoot%\\System32\\foo.exe\"", windows + L"\\System32\\foo.exe"},
      {L"\\SystemRoot\\System32\\drivers\\foo.sys", windows + L"\\System32\\drivers\\foo.sys"},
      {L"Uninstall=C:\\Program Files\\Foo\\uninst.exe", L"C:\\Program Files\\Foo\\uninst.exe"},
      {L"MsiExec.exe /X{11111111-2222-3333-4444-555555555555}", L"MsiExec.exe"},
      // A hyphen inside a folder name is no switch.
      {L"C:\\Program Files\\my-app\\app.exe -uninstall", L"C:\\Program Files\\my-app\\app.exe"},
      {L"rundll32.exe C:\\Program Files\\Foo\\helper.dll,Uninstall", L"C:\\Program Files\\Foo\\helper.dll"},
      {L"RunDll32.exe setupapi.dll,InstallHinfSection", system + L"\\setupapi.dll"},
      {L"rundll32.exe missing.dll,Entry", L"rundll32.exe missing.dll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.command));
    EXPECT_EQ(CommandToFilePath(c.command), c.expected);
  }
}

TEST_F(CommandPathsTest, CleanInstallLocationKeepsOnlyExistingFolders) {
  const struct {
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {L"\"C:\\Program Files (x86)\\Bar\"", L"C:\\Program Files (x86)\\Bar"},
      {L"C:\\\\Program Files (x86)\\\\Bar\\\\", L"C:\\Program Files (x86)\\Bar\\"},
      {L"  \\??\\C:\\Program Files (x86)\\Bar  ", L"C:\\Program Files (x86)\\Bar"},
      {L"RUNDLL32.EXE C:\\Program Files (x86)\\Bar", L"C:\\Program Files (x86)\\Bar"},
      {L"C:\\Program Files (x86)\\Gone", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    EXPECT_EQ(CleanInstallLocation(c.text), c.expected);
  }
  const std::wstring programFiles = TAppFrame().GetFolder(CSIDL_PROGRAM_FILES);
  Machine().files.PutFolder(programFiles + L"\\Baz");
  EXPECT_EQ(CleanInstallLocation(L"%PROGRAMFILES%\\Baz"), programFiles + L"\\Baz");
}

TEST_F(CommandPathsTest, FolderFromUninstallCommandNamesAnOrdinaryFolder) {
  const struct {
    const wchar_t* uninstall;
    const wchar_t* icon;
    const wchar_t* readme;
    const wchar_t* expected;
  } cases[] = {
      {L"\"C:\\Program Files\\Foo\\uninst.exe\" /S", L"", L"", L"C:\\Program Files\\Foo\\"},
      {L"C:\\Program Files\\Foo\\uninst.exe _?=C:\\Program Files\\Foo", L"", L"", L"C:\\Program Files\\Foo\\"},
      {L"", L"C:\\Program Files (x86)\\Bar\\bar.exe,0", L"", L"C:\\Program Files (x86)\\Bar\\"},
      {L"MsiExec.exe /X{11111111-2222-3333-4444-555555555555}", L"", L"C:\\Program Files\\Foo\\readme.txt",
       L"C:\\Program Files\\Foo\\"},
      {L"RunDll32.exe C:\\Program Files\\Foo\\helper.dll,Uninstall", L"", L"", L"C:\\Program Files\\Foo\\"},
      // The system folder is never one program's own.
      {L"rundll32.exe setupapi.dll,InstallHinfSection", L"", L"", L""},
      {L"C:\\Program Files\\Gone\\uninst.exe", L"", L"", L""},
      {L"C:\\uninst.exe", L"", L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.uninstall) + " | " + Narrow(c.icon));
    EXPECT_EQ(FolderFromUninstallCommand(c.uninstall, c.icon, c.readme), c.expected);
  }
}

// An installer engine run from Common Files (RunDll32 of its Ctor.dll)
// names the engine's folder, which every program it installed shares: never
// the program's folder, however the path is written. Folders a command names
// elsewhere still are.
TEST_F(CommandPathsTest, CommandsIntoCommonFilesNameNoProgramFolder) {
  const TAppFrame frame;
  const std::wstring common = frame.GetFolder(CSIDL_PROGRAM_FILES_COMMONX86);
  const std::wstring engine = common + L"\\InstallShield\\Professional\\RunTime\\11\\50\\Intel32";
  Machine().files.PutFile(engine + L"\\Ctor.dll", "MZ");
  Machine().files.PutFile(L"C:\\Program Files (x86)\\Foo\\helper.dll", "MZ");
  std::wstring shortEngine;
  ASSERT_EQ(Machine().files.GetShortPathName(engine, &shortEngine), ERROR_SUCCESS);
  const std::wstring tail = L"\\Ctor.dll,LaunchSetup \"C:\\Program Files (x86)\\InstallShield Installation "
                            L"Information\\{11111111-2222-3333-4444-555555555555}\\setup.exe\" -l0x9";
  const std::wstring dotted =
      L"C:\\Program Files (x86)\\Foo\\..\\Common Files\\InstallShield\\Professional\\RunTime\\11\\50\\Intel32";
  for (const std::wstring& folder : {engine, shortEngine, dotted}) {
    SCOPED_TRACE(Narrow(folder));
    EXPECT_EQ(FolderFromUninstallCommand(L"RunDll32 " + folder + tail, L"", L""), L"");
    EXPECT_TRUE(IsInSharedFolder(folder));
    EXPECT_FALSE(IsProgramFolderFromCommand(folder));
  }
  EXPECT_EQ(FolderFromUninstallCommand(L"RunDll32 C:\\Program Files (x86)\\Foo\\helper.dll,Uninstall", L"", L""),
            L"C:\\Program Files (x86)\\Foo\\");
  EXPECT_FALSE(IsInSharedFolder(L"C:\\Program Files (x86)\\Foo"));
  EXPECT_TRUE(IsProgramFolderFromCommand(L"C:\\Program Files (x86)\\Foo"));
}

TEST(CutAtExecutableExtensionTest, CutsAfterTheEarliestExtension) {
  EXPECT_EQ(CutAtExecutableExtension(L"C:\\FOO\\SETUP.EXE /X C:\\FOO\\A.DLL"), L"C:\\FOO\\SETUP.EXE");
  EXPECT_EQ(CutAtExecutableExtension(L"C:\\Foo\\run.cmd.bak"), L"C:\\Foo\\run.cmd");
  EXPECT_EQ(CutAtExecutableExtension(L"C:\\Foo\\readme.txt"), L"C:\\Foo\\readme.txt");
}

TEST_F(CommandPathsTest, OrdinaryFoldersExcludeRootsPlaceholdersAndProtectedFolders) {
  const TAppFrame frame;
  const struct {
    std::wstring path;
    bool ordinary;
  } cases[] = {
      {L"C:\\Program Files\\Foo", true},
      {L"C:\\Program Files\\Foo\\", true},
      {L"C:\\", false},
      {L"C:", false},
      {L"D:\\", false},
      {L"%ProgramFiles%\\Foo", false},
      {LowerCase(frame.GetFolder(fkWindows)), false},
      {UpperCase(frame.GetFolder(fkSystem)) + L"\\", false},
      {frame.GetFolder(CSIDL_DESKTOPDIRECTORY), false},
      {frame.GetFolder(CSIDL_STARTMENU), false},
      {frame.GetFolder(CSIDL_RECENT), false},
      // Every protected location and user folder, and what holds one.
      {L"C:\\Windows\\SysWOW64", false},
      {L"C:\\Program Files", false},
      {L"C:\\Program Files (x86)\\", false},
      {L"C:\\Program Files\\Common Files", false},
      {L"C:\\Program Files (x86)\\Common Files", false},
      {L"C:\\ProgramData", false},
      {L"C:\\Users", false},
      {L"C:\\Users\\Ann\\Downloads", false},
      {L"C:\\Users\\Ann\\Documents", false},
      {L"C:\\Users\\Ann\\AppData", false},
      {L"C:\\Users\\Ann\\AppData\\Local\\Programs", false},
      {L"C:\\Users\\Ann\\AppData\\Local\\Programs\\Foo", true},
      {L"C:\\ProgramData\\FooSoft", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    EXPECT_EQ(IsOrdinaryFolder(c.path), c.ordinary);
  }
}

TEST_F(CommandPathsTest, UrlEncodeWritesAnsiBytes) {
  EXPECT_EQ(UrlEncode(L"Foo Bar & Co"), L"Foo+Bar+%26+Co");
  EXPECT_EQ(UrlEncode(L"caf\u00e9 \u20ac5"), L"caf%E9+%805");
  EXPECT_EQ(UrlEncode(L"a@b!$'()*-._~/"), L"a@b!$'()*-._%7E%2F");
  EXPECT_EQ(UrlEncode(L"\u4e2d"), L"%3F") << "a character outside the code page becomes '?'";
}

}  // namespace
}  // namespace orvix
