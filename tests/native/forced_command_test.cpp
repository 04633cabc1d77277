// orvix forced over the simulated machine: the command line, refused paths,
// the listing, the entry's and the bare-path run through the uninstall
// session with their confirmations, the deletion of the findings, the log
// and the exit codes.
#include "app/forced_command.h"

#include <gtest/gtest.h>

#include "app/orvix_commands.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "named_case.h"
#include "scripted_answers.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/uninstall_log.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kUninstall = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* kFooKey = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
constexpr const wchar_t* kFooExe = L"C:\\Program Files\\Foo\\foo.exe";

class ForcedCommandTest : public SimMachineTest {
 protected:
  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"forced");
    return RunForcedCommand(args, out, err, answers.Reader());
  }

  // Today's uninstall log, one line each.
  static std::string Log() {
    TLogLines lines;
    ReadLogLines(UninstallLogPath(NowLocal()), lines);
    std::string text;
    for (const std::wstring& line : lines) text += Narrow(line) + "\n";
    return text;
  }

  // Foo with an uninstaller that removes its program and entry and forgets
  // its settings file.
  void InstallFoo() {
    Machine().files.PutFile(kFooExe, "MZ");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\unins.exe", "MZ");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.ini", "[x]");
    Registry().PutString(kFooKey, L"DisplayName", L"Foo");
    Registry().PutString(kFooKey, L"UninstallString", L"C:\\Program Files\\Foo\\unins.exe");
    Registry().PutString(kFooKey, L"InstallLocation", ShortPathOf(L"C:\\Program Files\\Foo"));
    Machine().processes.RegisterExecutable(L"C:\\Program Files\\Foo\\unins.exe", [](sim::SimProcessContext&) {
      CurrentPlatform().Files().DeleteFile(kFooExe);
      CurrentPlatform().Files().DeleteFile(L"C:\\Program Files\\Foo\\unins.exe");
      RegDeleteKeyAt(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", false);
    });
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

TEST_F(ForcedCommandTest, BarePathWithDeleteAllRemovesTheFileAndItsFindingsAndLogsThem) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  Machine().files.PutFile(L"C:\\Tools\\lone.ini", "[x]");
  EXPECT_EQ(Run({L"C:\\Tools\\lone.exe", L"--delete", L"all", L"--yes"}), ecOk) << Narrow(err.Text());
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Tools\\lone.ini"));
  EXPECT_FALSE(DirectoryExists(L"C:\\Tools"));
  EXPECT_NE(Narrow(out.Text()).find("could not remove 0."), std::string::npos) << Narrow(out.Text());
  EXPECT_NE(Log().find("Delete File c:\\tools\\lone.ini"), std::string::npos) << Log();
}

TEST_F(ForcedCommandTest, DecliningTheReviewKeepsTheFindingsAndFails) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  Machine().files.PutFile(L"C:\\Tools\\lone.ini", "[x]");
  answers.lines = {L"y", L"n"};  // delete the file, keep what the scan found
  EXPECT_EQ(Run({L"C:\\Tools\\lone.exe", L"--delete", L"all"}), ecFailed);
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Tools\\lone.ini"));
  EXPECT_NE(Narrow(out.Text()).find("Nothing was deleted."), std::string::npos) << Narrow(out.Text());
  EXPECT_EQ(Log().find("Delete"), std::string::npos) << Log();
}

TEST_F(ForcedCommandTest, AnEntryInTheFolderIsUninstalledThenItsLeftoversGoAndTheLogSaysSo) {
  InstallFoo();
  EXPECT_EQ(Run({kFooExe, L"--delete", L"all", L"--yes"}), ecOk) << Narrow(err.Text());
  const std::string text = Narrow(out.Text());
  EXPECT_NE(text.find("Installed in this folder:\n  Foo"), std::string::npos) << text;
  EXPECT_NE(text.find("Uninstalled Foo."), std::string::npos) << text;
  EXPECT_FALSE(Registry().HasKey(kFooKey));
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Program Files\\Foo\\foo.ini")) << text;
  const std::string log = Log();
  EXPECT_NE(log.find("[Foo]\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Delete File c:\\program files\\foo\\foo.ini"), std::string::npos) << log;
}

TEST_F(ForcedCommandTest, ListsTheProgramsInstalledInTheFolderAndAsksBeforeUninstalling) {
  Machine().files.PutFile(kFooExe, "MZ");
  Registry().PutString(kFooKey, L"DisplayName", L"Foo");
  Registry().PutString(kFooKey, L"UninstallString", L"C:\\Program Files\\Foo\\unins.exe");
  Registry().PutString(kFooKey, L"InstallLocation", ShortPathOf(L"C:\\Program Files\\Foo"));
  answers.lines = {L"n"};
  EXPECT_EQ(Run({kFooExe}), ecFailed);
  EXPECT_NE(Narrow(out.Text()).find("Installed in this folder:\n  Foo  2 Byte\n"
                                    "Uninstall Foo with its own uninstaller? [y/N] Nothing was uninstalled."),
            std::string::npos)
      << Narrow(out.Text());
  EXPECT_TRUE(Machine().files.Exists(kFooExe)) << "a listed program's file stays";
  EXPECT_EQ(Log(), "") << "nothing was run";

  // The uninstaller is no program this machine can start: an error, logged,
  // and the program, still installed, is not scanned.
  out = StringOutput();
  EXPECT_EQ(Run({kFooExe, L"--delete", L"all", L"--yes"}), ecFailed);
  EXPECT_NE(Narrow(err.Text()).find("the uninstaller of Foo could not be started"), std::string::npos)
      << Narrow(err.Text());
  EXPECT_EQ(Narrow(out.Text()).find("Removed"), std::string::npos) << Narrow(out.Text());
  EXPECT_TRUE(Machine().files.Exists(kFooExe));
  EXPECT_NE(Log().find("The uninstaller could not be started"), std::string::npos) << Log();
}

}  // namespace
}  // namespace orvix::testing
