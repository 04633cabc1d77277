// orvix forced over the simulated machine: the command line, refused paths,
// the listing, and the bare-path run with its confirmation and exit codes.
#include "app/forced_command.h"

#include <gtest/gtest.h>

#include "app/orvix_commands.h"
#include "named_case.h"
#include "scripted_answers.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kUninstall = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class ForcedCommandTest : public SimMachineTest {
 protected:

  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"forced");
    return RunForcedCommand(args, out, err, answers.Reader());
  }

  ScriptedAnswers answers;
  StringOutput out;
  StringOutput err;
};

struct UsageCase : NamedCase {
  std::vector<std::wstring> args;
  int code;
  std::string message;
};

class ForcedCommandLine : public ForcedCommandTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(ForcedCommandLine, IsCheckedBeforeAnythingHappens) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  EXPECT_EQ(Run(GetParam().args), GetParam().code);
  EXPECT_NE(Narrow(err.Text()).find(GetParam().message), std::string::npos) << Narrow(err.Text());
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForcedCommandLine,
    ::testing::Values(UsageCase{{"NoPath"}, {}, ecUsage, "forced needs a file, folder or shortcut"},
                      UsageCase{{"RelativePath"}, {L"lone.exe"}, ecUsage, "forced needs a full path"},
                      UsageCase{{"DeleteWithoutAll"}, {L"C:\\Tools\\lone.exe", L"--delete"}, ecUsage,
                                "--delete takes the word all"},
                      UsageCase{{"UnknownOption"}, {L"C:\\Tools\\lone.exe", L"--force"}, ecUsage,
                                "unknown option for forced: --force"},
                      UsageCase{{"TwoPaths"}, {L"C:\\Tools\\lone.exe", L"C:\\Tools"}, ecUsage, "one path"},
                      UsageCase{{"DriveRoot"}, {L"C:\\", L"--yes"}, ecFailed, "Invalid path. Please select again!"},
                      UsageCase{{"WindowsFolder"}, {L"C:\\Windows", L"--yes"}, ecFailed, "Invalid path"},
                      UsageCase{{"MissingFile"}, {L"C:\\Tools\\gone.exe", L"--yes"}, ecFailed,
                                "no such file or folder"}),
    CaseName());

TEST_F(ForcedCommandTest, BarePathDeletesTheFileAndScansItsFolder) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  Machine().files.PutFile(L"C:\\Tools\\lone.ini", "[x]");
  EXPECT_EQ(Run({L"C:\\Tools\\lone.exe", L"--yes"}), ecOk) << Narrow(err.Text());
  const std::string text = Narrow(out.Text());
  EXPECT_NE(text.find("Path: C:\\Tools\\lone.exe\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Deleted C:\\Tools\\lone.exe\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Scanning C:\\Tools\\ for leftovers"), std::string::npos) << text;
  EXPECT_NE(text.find("C:\\Tools"), text.rfind("C:\\Tools")) << "the folder is among the findings";
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Tools\\lone.ini")) << "findings stay without --delete all";
}

TEST_F(ForcedCommandTest, DecliningKeepsTheFileAndFails) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  answers.lines = {L"n"};
  EXPECT_EQ(Run({L"C:\\Tools\\lone.exe"}), ecFailed);
  EXPECT_NE(Narrow(out.Text()).find("Delete these files? [y/N] Nothing was deleted."), std::string::npos)
      << Narrow(out.Text());
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
}

TEST_F(ForcedCommandTest, ListsTheProgramsInstalledInTheFolderAndAsksBeforeUninstalling) {
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  Registry().PutString(std::wstring(kUninstall) + L"Foo", L"DisplayName", L"Foo");
  Registry().PutString(std::wstring(kUninstall) + L"Foo", L"UninstallString", L"C:\\Program Files\\Foo\\unins.exe");
  Registry().PutString(std::wstring(kUninstall) + L"Foo", L"InstallLocation", ShortPathOf(L"C:\\Program Files\\Foo"));
  answers.lines = {L"n"};
  EXPECT_EQ(Run({L"C:\\Program Files\\Foo\\foo.exe"}), ecFailed);
  EXPECT_NE(Narrow(out.Text()).find("Installed in this folder:\n  Foo  2 Byte\n"
                                    "Uninstall Foo with its own uninstaller? [y/N] Nothing was uninstalled."),
            std::string::npos)
      << Narrow(out.Text());
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Program Files\\Foo\\foo.exe")) << "a listed program's file stays";

  // The uninstaller is no program this machine can start.
  EXPECT_EQ(Run({L"C:\\Program Files\\Foo\\foo.exe", L"--yes"}), ecFailed);
  EXPECT_NE(Narrow(err.Text()).find("could not start the uninstaller of Foo"), std::string::npos) << Narrow(err.Text());
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Program Files\\Foo\\foo.exe"));
}

}  // namespace
}  // namespace orvix::testing
