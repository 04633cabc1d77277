// orvix shred over the simulated machine: confirmation, messages and exit codes.
#include <gtest/gtest.h>

#include <deque>

#include "app/orvix_commands.h"
#include "app/shred_command.h"
#include "scripted_answers.h"
#include "shred_fixture.h"

namespace orvix {
namespace {

const std::wstring kQuestion1 =
    L"Are you sure to permanently remove the 1 files? It's absolutely IRRECOVERABLE. [y/N] ";

class ShredCommandTest : public testing::ShredTest {
 protected:
  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"shred");
    return RunShredCommand(args, out, err, answers.Reader());
  }

  testing::ScriptedAnswers answers;
  StringOutput out;
  StringOutput err;
};

TEST_F(ShredCommandTest, YesShredsEveryFileBelowAFolderWithoutAsking) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  Files().PutFile(L"C:\\Data\\Sub\\b.txt", "b");
  Files().PutFile(L"C:\\Data\\.config", "c");

  EXPECT_EQ(Run({L"C:\\Data", L"--yes"}), ecOk) << testing::Narrow(err.Text());

  EXPECT_EQ(out.Text(), L"This file has been shredded successfully.\nShredded 2 of 2 files.\n");
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\a.txt"));
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\Sub\\b.txt"));
  EXPECT_TRUE(Files().Exists(L"C:\\Data\\.config"));
}

TEST_F(ShredCommandTest, TheAnswerOnTheInputDecides) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  const struct {
    const char* name;
    std::deque<std::wstring> answers;
    int code;
    bool shredded;
  } cases[] = {
      {"yes", {L" Y "}, ecOk, true},
      {"no", {L"n"}, ecFailed, false},
      {"anything else", {L"sure"}, ecFailed, false},
      {"end of input", {}, ecFailed, false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    Files().PutFile(L"C:\\Data\\a.txt", "a");
    out = StringOutput();
    answers.lines = row.answers;
    EXPECT_EQ(Run({L"C:\\Data\\a.txt"}), row.code);
    EXPECT_TRUE(out.Text().starts_with(kQuestion1)) << testing::Narrow(out.Text());
    EXPECT_EQ(Files().Exists(L"C:\\Data\\a.txt"), !row.shredded);
  }
}

TEST_F(ShredCommandTest, FilesLeftBehindPrintTheirMessagesAndFail) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  Files().PutFile(L"C:\\Data\\held.txt", "h");
  Files().LockFile(L"C:\\Data\\held.txt");
  Files().PutFile(L"C:\\Windows\\win.ini", "w");

  EXPECT_EQ(Run({L"C:\\Data", L"C:\\Windows\\win.ini", L"--yes"}), ecFailed);

  EXPECT_EQ(out.Text(),
            L"Unable to add file \"C:\\Windows\\win.ini\" to shred as this operation may cause system instability\n"
            L"Unable to write to file \"c:\\data\\held.txt\", please check if it's still in-use,  this file was not "
            L"shredded.\n"
            L"Shredded 1 of 2 files.\n");
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\a.txt"));
  EXPECT_TRUE(Files().Exists(L"C:\\Data\\held.txt"));
}

TEST_F(ShredCommandTest, NothingToShredFails) {
  Files().PutFolder(L"C:\\Data\\Empty\\Sub");
  EXPECT_EQ(Run({L"C:\\Data\\Empty", L"--yes"}), ecFailed);
  EXPECT_EQ(out.Text(), L"It is empty. You can not shred it.\nNothing to shred.\n");
}

TEST_F(ShredCommandTest, BadCommandLinesAreUsageErrors) {
  EXPECT_EQ(Run({}), ecUsage);
  EXPECT_NE(err.Text().find(L"shred needs at least one file or folder"), std::wstring::npos);
  EXPECT_EQ(Run({L"C:\\Data", L"--force"}), ecUsage);
  EXPECT_NE(err.Text().find(L"unknown option for shred: --force"), std::wstring::npos);
}

TEST_F(ShredCommandTest, TheProgramRunsItAndItsHelpTellsOfIt) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  EXPECT_EQ(RunOrvixCommand({L"shred", L"C:\\Data\\a.txt", L"--yes"}, out, err), ecOk);
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\a.txt"));
  out = StringOutput();
  EXPECT_EQ(RunOrvixCommand({L"--help"}, out, err), ecOk);
  EXPECT_NE(out.Text().find(L"shred PATH... [--yes]"), std::wstring::npos);
}

}  // namespace
}  // namespace orvix
