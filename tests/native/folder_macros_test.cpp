// Folder placeholders installers write into uninstall data.
#include <gtest/gtest.h>

#include "platform/app_frame.h"
#include "platform/platform.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::CurrentSimMachine;
using testing::SimMachineTest;

class FolderMacrosTest : public SimMachineTest {
 protected:
  std::wstring Windows() { return TAppFrame().GetFolder(fkWindows); }
  std::wstring System() { return TAppFrame().GetFolder(fkSystem); }
};

TEST_F(FolderMacrosTest, TheFirstMacroInTableOrderIsTheOnlyOneExpanded) {
  const TAppFrame frame;
  const struct {
    const wchar_t* text;
    std::wstring expected;
  } cases[] = {
      {L"%SYSDIR%\\foo.dll", System() + L"\\foo.dll"},
      {L"%windir%\\Foo\\uninst.exe", Windows() + L"\\Foo\\uninst.exe"},  // the search ignores case
      {L"%WINDIR%\\a.exe %SYSDIR%\\b.dll", L"%WINDIR%\\a.exe " + System() + L"\\b.dll"},
      {L"%WinDir%\\x;%windir%\\y", Windows() + L"\\x;" + Windows() + L"\\y"},  // every occurrence
      {L"%ROOTDRIVE%\\Foo", L"C:\\Foo"},
      {L"%SYSTEMDISKROOT%\\Foo", L"C:\\Foo"},
      {L"%TEMP%\\setup.log", Windows() + L"\\temp\\setup.log"},
      {L"%DAS%\\Ann\\x", L"C:\\Users\\Ann\\x"},
      {L"%%LOCALAPPDATA%%\\x", L"C:\\Users\\x"},
      {L"PROGRAMFILESDIR\\Foo", frame.GetFolder(CSIDL_PROGRAM_FILES) + L"\\Foo"},
      {L"%QUICKLAUNCH%\\Foo.lnk",
       frame.GetFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\Foo.lnk"},
      {L"%USERPROFILE%\\Foo", L"C:\\Users\\Ann\\Foo"},
      // An environment variable that only contains a bare macro's name is no macro.
      {L"%SystemRoot%\\system32\\foo.exe", L"%SystemRoot%\\system32\\foo.exe"},
      {L"C:\\Program Files\\Foo\\foo.exe", L"C:\\Program Files\\Foo\\foo.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.text));
    const TExpandedMacros result = ExpandFolderMacros(c.text);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.allUsers, L"");
  }
}

TEST_F(FolderMacrosTest, UserFoldersAlsoGiveTheirAllUsersCounterpart) {
  const TAppFrame frame;
  const TExpandedMacros desktop = ExpandFolderMacros(L"%Desktop%\\Foo.lnk");
  EXPECT_EQ(desktop.text, frame.GetFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Foo.lnk");
  EXPECT_EQ(desktop.allUsers, frame.GetCommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Foo.lnk");
  EXPECT_NE(desktop.text, desktop.allUsers);

  const TExpandedMacros programs = ExpandFolderMacros(L"%PROGRAMS%\\Foo");
  EXPECT_EQ(programs.allUsers, frame.GetCommonFolder(CSIDL_COMMON_STARTMENU) + L"\\Foo");
}

TEST_F(FolderMacrosTest, RecycleNamesTheBinThatExists) {
  EXPECT_EQ(ExpandFolderMacros(L"%RECYCLE%").text, L"C:\\Recycler");
  Machine().files.PutFolder(L"C:\\Recycled", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(ExpandFolderMacros(L"%RECYCLE%").text, L"C:\\Recycled");
}

TEST(ProfilesRootTest, IsTheFirstFolderOfTheApplicationDataPath) {
  const struct {
    OsVersionInfo os;
    const wchar_t* expected;
  } cases[] = {{sim::kWindowsXp, L"C:\\Documents and Settings"}, {sim::kWindows10, L"C:\\Users"}};
  for (const auto& c : cases) {
    sim::MachineOptions options;
    options.os = c.os;
    CurrentSimMachine current(options);
    EXPECT_EQ(TAppFrame().ProfilesRoot(), c.expected);
    EXPECT_EQ(ExpandFolderMacros(L"%USERDOCUMENTS%").text, c.expected);
  }
}

TEST_F(FolderMacrosTest, FoldersComeWithoutTrailingBackslashAndOnlyForTheirFamily) {
  const TAppFrame frame;
  for (int kind : {int{fkWindows}, int{fkSystem}, int{fkTemp}, int{CSIDL_APPDATA}, int{CSIDL_PROGRAM_FILES}}) {
    const std::wstring folder = frame.GetFolder(kind);
    ASSERT_FALSE(folder.empty()) << kind;
    EXPECT_NE(folder.back(), L'\\') << kind;
  }
  EXPECT_EQ(frame.GetCommonFolder(CSIDL_APPDATA), L"") << "a per-user folder is no all-users folder";
  EXPECT_EQ(frame.ProgramFolder().back(), L'\\');
}

}  // namespace
}  // namespace orvix
