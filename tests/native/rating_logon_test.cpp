// Folders of the programs started at logon, from the Run keys of both roots
// and both registry views.
#include <gtest/gtest.h>

#include "inventory/rating_logon.h"
#include "native/named_case.h"
#include "native/sim_fixture.h"
#include "native/test_text.h"

namespace orvix {
namespace {

using testing::Narrow;

struct CommandCase : testing::NamedCase {
  std::wstring command;
  std::wstring folder;
};

class LogonFolderOfCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(LogonFolderOfCommand, IsTheProgramsFolder) {
  EXPECT_EQ(Narrow(LogonFolderOf(GetParam().command)), Narrow(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogonFolderOfCommand,
    ::testing::Values(
        CommandCase{{"Plain"}, L"C:\\Program Files\\Foo\\foo.exe", L"C:\\Program Files\\Foo\\"},
        CommandCase{{"Blanks"}, L"  C:\\Foo\\foo.exe \t", L"C:\\Foo\\"},
        CommandCase{{"QuotedWithArguments"}, L"\"C:\\Program Files\\Foo\\foo.exe\" -minimized",
                    L"C:\\Program Files\\Foo\\"},
        // Arguments with paths of their own must not move the folder.
        CommandCase{{"QuotedWithPathArguments"},
                    L"\"C:\\Program Files\\Foo\\foo.exe\" --config \"C:\\Users\\Ann\\f.cfg\"",
                    L"C:\\Program Files\\Foo\\"},
        CommandCase{{"SwitchCutsTheCommand"}, L"C:\\Foo\\foo.exe /background C:\\Other\\x", L"C:\\Foo\\"},
        CommandCase{{"DoubledBackslashes"}, L"C:\\\\Tools\\\\t.exe", L"C:\\Tools\\"},
        CommandCase{{"NoFolder"}, L"ctfmon.exe", L""},
        CommandCase{{"Empty"}, L"", L""}),
    testing::CaseName());

const std::wstring kRun = L"\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kMachineRun = L"HKLM\\SOFTWARE" + kRun;
const std::wstring kMachineRun32 = L"HKLM\\SOFTWARE\\Wow6432Node" + kRun;
const std::wstring kUserRun = L"HKCU\\Software" + kRun;

class LogonFoldersTest : public testing::SimMachineTest {};

TEST_F(LogonFoldersTest, ReadsBothRootsInBothViewsOnceEach) {
  Registry().PutString(kMachineRun, L"Native", L"C:\\Program Files\\A\\a.exe");
  Registry().PutString(kMachineRun32, L"Wow", L"\"C:\\B\\b.exe\" /s");
  Registry().PutString(kUserRun, L"User", L"C:\\Users\\Ann\\AppData\\Local\\C\\c.exe");
  Registry().PutString(kUserRun, L"Again", L"c:\\b\\other.exe");  // a folder already listed
  Registry().PutString(kUserRun, L"", L"C:\\Default\\d.exe");  // no name: not a program
  Registry().PutDword(kUserRun, L"Number", 1);
  Registry().PutString(kUserRun, L"Bare", L"rundll32 shell32.dll");

  const std::vector<std::wstring> folders = ReadLogonFolders();
  std::vector<std::string> names;
  for (const std::wstring& folder : folders) names.push_back(Narrow(folder));
  // The default view (32-bit) first, then the 64-bit view.
  EXPECT_EQ(names, (std::vector<std::string>{"C:\\B\\", "C:\\Users\\Ann\\AppData\\Local\\C\\",
                                             "C:\\Program Files\\A\\"}));
}

TEST_F(LogonFoldersTest, MissingKeysGiveNone) { EXPECT_TRUE(ReadLogonFolders().empty()); }

}  // namespace
}  // namespace orvix
