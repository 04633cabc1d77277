// orvix logs over the simulated machine: listing, printing a day's log,
// deleting one or all with confirmation, and the errors of a bad date or a
// missing log.
#include <gtest/gtest.h>

#include <deque>

#include "app/logs_command.h"
#include "app/orvix_commands.h"
#include "log_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

class LogsCommandTest : public testing::LogTest {
 protected:
  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"logs");
    out = {};
    err = {};
    return RunLogsCommand(args, out, err, [this]() -> std::optional<std::wstring> {
      if (answers.empty()) return std::nullopt;
      std::wstring line = answers.front();
      answers.pop_front();
      return line;
    });
  }
  std::wstring Folder() { return UninstallLogFolder(); }

  std::deque<std::wstring> answers;
  StringOutput out;
  StringOutput err;
};

TEST_F(LogsCommandTest, ListsAndShowsTheDaysLogDecoded) {
  EXPECT_EQ(Run({}), ecOk);
  EXPECT_EQ(out.Text(), L"No uninstall logs in " + Folder() + L"\n");

  AppendUninstallLog({L"[Caf\u00e9]", L"Date:31/05/2013 14:03:07"}, UninstallWindowLogHeader);
  EXPECT_EQ(Run({L"list"}), ecOk);
  EXPECT_EQ(out.Text(), Folder() + L"2013-05-31.log\n");

  EXPECT_EQ(Run({L"show", L"2013-05-31"}), ecOk) << testing::Narrow(err.Text());
  const std::wstring rule(36, L'=');
  EXPECT_EQ(out.Text(), rule + L"\nOrvix Uninstaller Log\nApplicaption Version: 3.1.0.7\n"
                               L"Operation System Verison: Windows 10\nDate:2013-05-31 14:03:07\n" +
                            rule + L"\n\n[Caf\u00e9]\nDate:31/05/2013 14:03:07\n");
}

TEST_F(LogsCommandTest, ReportsCommandLineMistakesAndMissingLogs) {
  Machine().files.PutFile(Folder() + L"2013-05-31.log", std::string_view("x"));
  const struct {
    std::vector<std::wstring> args;
    int code;
    std::wstring message;
  } cases[] = {
      {{L"show"}, ecUsage, L"orvix: logs show needs a date, e.g. 2013-05-31\n"},
      {{L"show", L"31.05.2013"}, ecUsage, L"orvix: not a date in the form yyyy-mm-dd: 31.05.2013\n"},
      {{L"delete", L"2013-02-30"}, ecUsage, L"orvix: not a date in the form yyyy-mm-dd: 2013-02-30\n"},
      {{L"show", L"2013-05-30"}, ecFailed, L"orvix: no uninstall log for 2013-05-30\n"},
      {{L"delete", L"2013-05-30", L"--yes"}, ecFailed, L"orvix: no uninstall log for 2013-05-30\n"},
      {{L"list", L"extra"}, ecUsage, L"orvix: too many words for logs list: extra\n"},
      {{L"purge"}, ecUsage, L"orvix: unknown logs action: purge (list, show, delete, delete-all)\n"},
      {{L"list", L"--force"}, ecUsage, L"orvix: unknown option for logs: --force\n"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(testing::Narrow(row.message));
    EXPECT_EQ(Run(row.args), row.code);
    EXPECT_TRUE(err.Text().starts_with(row.message)) << testing::Narrow(err.Text());
  }
  EXPECT_TRUE(Machine().files.Exists(Folder() + L"2013-05-31.log"));
}

TEST_F(LogsCommandTest, DeleteAsksUnlessYesAndALockedLogGoesAtTheRestart) {
  const std::wstring day = Folder() + L"2013-05-31.log";
  Machine().files.PutFile(day, std::string_view("x"));
  answers = {L"n"};
  EXPECT_EQ(Run({L"delete", L"2013-05-31"}), ecFailed);
  EXPECT_EQ(out.Text(), L"Are you sure you want to delete the selected file? The deletion CANNOT be restored. "
                        L"[y/N] Nothing was deleted.\n");
  EXPECT_TRUE(Machine().files.Exists(day));

  Machine().files.LockFile(day);
  EXPECT_EQ(Run({L"delete", L"2013-05-31", L"--yes"}), ecOk);
  EXPECT_EQ(out.Text(), L"In use, deleted at the next restart: " + day + L"\n");
  Machine().files.Restart();
  EXPECT_FALSE(Machine().files.Exists(day));
}

TEST_F(LogsCommandTest, DeleteAllRemovesEveryListedLog) {
  Machine().files.PutFile(Folder() + L"2013-05-30.log", std::string_view("x"));
  Machine().files.PutFile(Folder() + L"notes.logbook", std::string_view("x"));
  Machine().files.PutFile(Folder() + L"keep.txt", std::string_view("x"));
  answers = {L"yes"};
  EXPECT_EQ(Run({L"delete-all"}), ecOk);
  EXPECT_TRUE(out.Text().starts_with(L"Are you sure you want to delete all files?")) << testing::Narrow(out.Text());
  EXPECT_EQ(Machine().files.ListNames(Folder()), std::vector<std::wstring>{L"keep.txt"});
}

TEST_F(LogsCommandTest, TheProgramRoutesLogsAndDescribesIt) {
  EXPECT_EQ(RunOrvixCommand({L"logs", L"list"}, out, err, [] { return std::optional<std::wstring>(); }), ecOk);
  StringOutput help;
  RunOrvixCommand({L"--help"}, help, err);
  EXPECT_NE(help.Text().find(L"logs [list | show DATE | delete DATE | delete-all] [--yes]"), std::wstring::npos);
}

}  // namespace
}  // namespace orvix
