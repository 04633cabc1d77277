// The log manager's logic without its window: the list of uninstall logs in
// the log folder, opening one in Notepad, deleting one or all of them (a file
// held open goes at the next restart). The console's "orvix logs" uses the
// same functions.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvix {

struct TLogFileItem {
  std::wstring Caption;  // the file name
  std::wstring Path;     // the full path
};

// The files of the log folder whose names contain ".log" in any case, in
// the file system's order; sub-folders never. A listing error ends the list
// with what was found.
std::vector<TLogFileItem> ListUninstallLogs();

enum class TLogDeletion { Deleted, AtRestart, Failed };
// Deletes the file, or schedules it for the next restart when that fails.
TLogDeletion DeleteLogFile(const std::wstring& path);

// The questions asked before deleting one log and all of them.
std::wstring DeleteLogQuestion();
std::wstring DeleteAllLogsQuestion();

// A Yes/No question box with the application's title; true for Yes.
using TAskQuestion = std::function<bool(const std::wstring& question)>;

class TLogManagerModel {
 public:
  explicit TLogManagerModel(TAskQuestion ask) : ask_(std::move(ask)) {}

  // FormShow: fills the list.
  void Shown();
  const std::vector<TLogFileItem>& Items() const { return items_; }
  // The selected item's position, -1 for none.
  void Select(int position);
  int Selected() const { return selected_; }

  bool OpenEnabled() const { return selected_ >= 0; }
  bool DeleteEnabled() const { return selected_ >= 0; }
  bool DeleteAllEnabled() const { return !items_.empty(); }

  // Opens the selected log in Notepad; false when none is selected or the
  // shell refused.
  bool OpenSelected();
  // Asks, then deletes the selected file (or schedules it for the restart)
  // and drops it from the list; true when the answer was Yes.
  bool DeleteSelected();
  // Asks, then deletes every listed file the same way.
  bool DeleteAll();

 private:
  TAskQuestion ask_;
  std::vector<TLogFileItem> items_;
  int selected_ = -1;
};

}  // namespace orvix
