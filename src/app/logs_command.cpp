#include "app/logs_command.h"

#include "app/orvix_commands.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/text.h"
#include "uninstall/log_manager_model.h"
#include "uninstall/uninstall_log.h"

namespace orvix {
namespace {

struct TLogsCommandLine {
  std::wstring action = L"list";
  std::wstring date;
  bool assumeYes = false;
};

bool TakesDate(const std::wstring& action) { return action == L"show" || action == L"delete"; }

// Reads the words after "logs"; answers false after reporting a mistake.
bool ParseLogsCommandLine(const std::vector<std::wstring>& args, TLogsCommandLine& line, ConsoleOutput& err,
                          int& exitCode) {
  std::vector<std::wstring> words;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--yes") {
      line.assumeYes = true;
    } else if (StartsWithText(args[i], L"--")) {
      exitCode = CommandLineError(err, L"unknown option for logs: " + args[i]);
      return false;
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.empty()) words.push_back(line.action);
  line.action = words[0];
  if (line.action != L"list" && line.action != L"delete-all" && !TakesDate(line.action)) {
    exitCode = CommandLineError(err, L"unknown logs action: " + line.action + L" (list, show, delete, delete-all)");
    return false;
  }
  const std::size_t expected = TakesDate(line.action) ? 2 : 1;
  if (words.size() < expected) {
    exitCode = CommandLineError(err, L"logs " + line.action + L" needs a date, e.g. 2013-05-31");
    return false;
  }
  if (words.size() > expected) {
    exitCode = CommandLineError(err, L"too many words for logs " + line.action + L": " + words[expected]);
    return false;
  }
  if (expected == 2) line.date = words[1];
  return true;
}

// The path of a day's log from a date given as yyyy-mm-dd.
bool DayLogPath(const std::wstring& dateText, std::wstring& path, ConsoleOutput& err, int& exitCode) {
  const std::optional<TDateTime> day = ParseDate(dateText, TDateOrder::YearMonthDay, L'-');
  if (!day || dateText.size() != 10) {
    exitCode = CommandLineError(err, L"not a date in the form yyyy-mm-dd: " + dateText);
    return false;
  }
  path = UninstallLogPath(*day);
  if (!path.empty() && FileExists(path)) return true;
  err.Line(L"orvix: no uninstall log for " + dateText);
  exitCode = ecFailed;
  return false;
}

int ListLogs(ConsoleOutput& out) {
  const std::vector<TLogFileItem> items = ListUninstallLogs();
  if (items.empty()) out.Line(L"No uninstall logs in " + UninstallLogFolder());
  for (const TLogFileItem& item : items) out.Line(item.Path);
  return ecOk;
}

int ShowLog(const std::wstring& path, ConsoleOutput& out, ConsoleOutput& err) {
  TLogLines lines;
  if (!ReadLogLines(path, lines)) {
    err.Line(L"orvix: cannot read " + path);
    return ecFailed;
  }
  for (const std::wstring& line : lines) out.Line(line);
  return ecOk;
}

// Deletes one log and says what became of it; false when it stays.
bool DeleteAndReport(const std::wstring& path, ConsoleOutput& out, ConsoleOutput& err) {
  switch (DeleteLogFile(path)) {
    case TLogDeletion::Deleted: out.Line(L"Deleted " + path); return true;
    case TLogDeletion::AtRestart: out.Line(L"In use, deleted at the next restart: " + path); return true;
    case TLogDeletion::Failed: break;
  }
  err.Line(L"orvix: could not delete " + path);
  return false;
}

bool Confirmed(const std::wstring& question, bool assumeYes, ConsoleOutput& out, const TReadLine& readLine) {
  if (assumeYes || AskYesNo(out, question, readLine)) return true;
  out.Line(L"Nothing was deleted.");
  return false;
}

}  // namespace

int RunLogsCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                   const TReadLine& readLine) {
  TLogsCommandLine line;
  int exitCode = ecOk;
  if (!ParseLogsCommandLine(args, line, err, exitCode)) return exitCode;
  if (line.action == L"list") return ListLogs(out);

  if (line.action == L"delete-all") {
    const std::vector<TLogFileItem> items = ListUninstallLogs();
    if (items.empty()) return ListLogs(out);
    if (!Confirmed(DeleteAllLogsQuestion(), line.assumeYes, out, readLine)) return ecFailed;
    bool all = true;
    for (const TLogFileItem& item : items) all = DeleteAndReport(item.Path, out, err) && all;
    return all ? ecOk : ecFailed;
  }

  std::wstring path;
  if (!DayLogPath(line.date, path, err, exitCode)) return exitCode;
  if (line.action == L"show") return ShowLog(path, out, err);
  if (!Confirmed(DeleteLogQuestion(), line.assumeYes, out, readLine)) return ecFailed;
  return DeleteAndReport(path, out, err) ? ecOk : ecFailed;
}

}  // namespace orvix
