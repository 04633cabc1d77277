// The shredder window's logic without its window: the list of files to
// shred, adding files and folders, the hand-over of paths from outside, the
// shred run and Cancel. The window draws the model and forwards events; the
// console drives it the same way.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "platform/pump_api.h"

namespace orvix {

// How the shredder speaks to the user: the window shows message boxes with
// its caption as title, the console prints and reads an answer.
class IShredderPrompts {
 public:
  virtual ~IShredderPrompts() = default;
  // A Yes/No question; true for Yes.
  virtual bool Confirm(const std::wstring& question) = 0;
  virtual void Message(const std::wstring& text) = 0;
};

// What one shred run did.
struct TShredRun {
  bool confirmed = false;     // the user answered Yes
  std::size_t shredded = 0;   // files overwritten and deleted
  std::size_t failed = 0;     // files refused or not fully shredded
  std::size_t unlinked = 0;   // links and hard-linked names deleted without overwriting
  bool stopped = false;       // a stop or Cancel ended the run early
};

class TFileShredderModel {
 public:
  // Refuses the Windows folder and everything in it.
  explicit TFileShredderModel(IShredderPrompts& prompts);

  // The list's rows, column "File Path": each path as it was given, trimmed.
  const std::vector<std::wstring>& Rows() const { return rows_; }
  // Paths are being added or files shredded.
  bool Busy() const { return adding_ || shredding_; }
  bool Closing() const { return closing_; }
  bool Loading() const { return adding_; }        // the "Loading..." panel
  bool Shredding() const { return progressShown_; }  // the shredding panel and the progress bar
  std::size_t ProgressMax() const { return progressMax_; }
  std::size_t ProgressPosition() const { return progressPosition_; }
  // The Shred button and the pop-up menu's "Shredder".
  bool ShredEnabled() const { return !rows_.empty() && !Busy(); }

  // Adds files, and every file below folders, as rows (each once). Drive
  // roots and paths in the Windows folder are refused with a message;
  // missing paths are passed over. Does nothing while Busy.
  void AddPaths(const std::vector<std::wstring>& paths, IPump& pump);

  // Paths handed over from outside wait here until the window's 20 ms timer
  // takes them in with TakeInPending.
  void HandOver(const std::vector<std::wstring>& paths);
  bool HasPending() const { return !pending_.empty(); }
  // The timer's tick: adds the pending paths. While Busy they stay pending
  // and the answer is false, so the window ticks again.
  bool TakeInPending(IPump& pump);

  // The pop-up menu's "Remove" (rows by position) and "Clear"; both do
  // nothing while Busy.
  void RemoveRows(const std::vector<std::size_t>& positions);
  void Clear();

  // Asks, then shreds the rows from the last to the first; rows whose files
  // are gone leave the list, the others stay and are named in a message.
  TShredRun Shred(IPump& pump);

  // Cancel: stops whatever runs; true when the window should close now
  // (otherwise it closes when the run ends, see Closing).
  bool Cancel();
  // The window closes: the shred stop request is cleared.
  void Closed();

 private:
  bool IsRefused(const std::wstring& lowerPath) const;
  void AppendFilesBelow(const std::wstring& folder, std::vector<std::wstring>& list, IPump& pump);
  void AddRow(const std::wstring& path);
  void RemoveRow(std::size_t position);
  bool ShredRow(std::size_t position, IPump& pump, TShredRun& run);

  IShredderPrompts& prompts_;
  std::vector<std::wstring> rows_;
  std::set<std::wstring> added_;           // the rows' paths in lower case
  std::vector<std::wstring> refused_;      // lower-case locations never shredded
  std::vector<std::wstring> pending_;
  bool adding_ = false;
  bool shredding_ = false;
  bool progressShown_ = false;
  bool closing_ = false;
  std::size_t progressMax_ = 0;
  std::size_t progressPosition_ = 0;
};

}  // namespace orvix
