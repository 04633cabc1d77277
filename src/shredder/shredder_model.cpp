#include "shredder/shredder_model.h"

#include <algorithm>
#include <functional>

#include "language/messages.h"
#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "shredder/shred_file.h"

namespace orvix {

TFileShredderModel::TFileShredderModel(IShredderPrompts& prompts) : prompts_(prompts) {
  const std::wstring windows = LowerCase(TAppFrame().GetFolder(fkWindows));
  if (!windows.empty()) refused_.push_back(windows);
}

// A drive root (at most three characters) or anything containing a refused
// location.
bool TFileShredderModel::IsRefused(const std::wstring& lowerPath) const {
  if (lowerPath.size() <= 3) return true;
  return std::any_of(refused_.begin(), refused_.end(),
                     [&](const std::wstring& location) { return lowerPath.find(location) != std::wstring::npos; });
}

void TFileShredderModel::AddPaths(const std::vector<std::wstring>& paths, IPump& pump) {
  if (Busy()) return;
  adding_ = true;
  std::vector<std::wstring> list = paths;  // folders append their files to it
  bool anyAccepted = false;
  std::size_t counted = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    pump.ProcessMessages();
    const std::wstring entry = list[i];  // a copy: the list grows below
    const std::wstring trimmed = Trim(entry);
    const std::wstring path = LowerCase(trimmed);
    const bool isFile = FileExists(path);
    if (!isFile && !DirectoryExists(path)) continue;
    if (closing_ || pump.StopRequested()) break;
    if (IsRefused(path)) {
      prompts_.Message(MessageText(msg::Shredder_NotAddFolder_M, {entry}));
      continue;
    }
    anyAccepted = true;
    if (isFile) {
      if (!added_.contains(path)) AddRow(trimmed);
      ++counted;
    } else {
      AppendFilesBelow(path, list, pump);
    }
  }
  adding_ = false;
  if (anyAccepted && counted == 0 && !closing_) prompts_.Message(Text(msg::Shredder_DirIsEmpty_M));
}

// Every file below the folder in listing order, depth first, in lower case.
// Names beginning with "." are passed over at every depth, and junctions and
// symbolic links are never followed.
void TFileShredderModel::AppendFilesBelow(const std::wstring& folder, std::vector<std::wstring>& list, IPump& pump) {
  pump.ProcessMessages();
  if (closing_ || pump.StopRequested() || IsReparsePoint(folder)) return;
  IFileSystem& files = CurrentPlatform().Files();
  const std::wstring prefix = folder.ends_with(L'\\') ? folder : folder + L"\\";
  FindData found;
  FindHandle handle = 0;
  if (files.FindFirst(prefix + L"*", &found, &handle) != ERROR_SUCCESS) return;
  TFindListing listing(files, handle);
  do {
    if (found.name.empty() || found.name.front() == L'.') continue;
    if (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    const std::wstring path = LowerCase(prefix + found.name);
    if (found.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      AppendFilesBelow(path, list, pump);
    } else {
      list.push_back(path);
    }
  } while (files.FindNext(handle, &found) == ERROR_SUCCESS);
}

void TFileShredderModel::HandOver(const std::vector<std::wstring>& paths) {
  pending_.insert(pending_.end(), paths.begin(), paths.end());
}

bool TFileShredderModel::TakeInPending(IPump& pump) {
  if (Busy()) return false;
  const std::vector<std::wstring> paths = std::move(pending_);
  pending_.clear();
  AddPaths(paths, pump);
  return true;
}

void TFileShredderModel::AddRow(const std::wstring& path) {
  rows_.push_back(path);
  added_.insert(LowerCase(path));
}

// The path leaves the added set with its row, so it can be added again.
void TFileShredderModel::RemoveRow(std::size_t position) {
  added_.erase(LowerCase(rows_[position]));
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

void TFileShredderModel::RemoveRows(const std::vector<std::size_t>& positions) {
  if (Busy()) return;
  std::vector<std::size_t> sorted = positions;
  std::sort(sorted.begin(), sorted.end(), std::greater<>());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (std::size_t position : sorted) {
    if (position < rows_.size()) RemoveRow(position);
  }
}

void TFileShredderModel::Clear() {
  if (Busy()) return;
  rows_.clear();
  added_.clear();
}

TShredRun TFileShredderModel::Shred(IPump& pump) {
  TShredRun run;
  if (!ShredEnabled()) return run;
  shredding_ = true;
  run.confirmed = prompts_.Confirm(MessageText(msg::Shredder_Del_M, {static_cast<std::int64_t>(rows_.size())}));
  if (run.confirmed) {
    progressShown_ = true;
    progressMax_ = rows_.size();
    progressPosition_ = 0;
    for (std::size_t i = rows_.size(); i-- > 0;) {
      ++progressPosition_;
      pump.ProcessMessages();
      if (closing_ || pump.StopRequested() || !ShredRow(i, pump, run)) {
        run.stopped = true;
        break;
      }
    }
    progressShown_ = false;
    if (rows_.empty() && run.failed == 0) prompts_.Message(Text(msg::Shredder_Sucess_M));
  }
  shredding_ = false;
  return run;
}

// Shreds one row's file; false when a stop ended the run (the row stays).
bool TFileShredderModel::ShredRow(std::size_t position, IPump& pump, TShredRun& run) {
  const std::wstring path = rows_[position];
  IFileSystem& files = CurrentPlatform().Files();
  // A read-only file is shredded too: the attribute goes before the write
  // test and comes back when the file is refused.
  FileAttributeData data;
  const bool readOnly =
      files.GetAttributes(path, &data) == ERROR_SUCCESS && (data.attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly) {
    const DWORD writable = data.attributes & ~FILE_ATTRIBUTE_READONLY;
    files.SetAttributes(path, writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable);
  }
  if (!CanOpenForWriting(path)) {
    if (readOnly) files.SetAttributes(path, data.attributes);
    ++run.failed;
    prompts_.Message(MessageText(msg::Shredder_NotDel_M, {path}));
    return true;
  }
  switch (ShredFile(path, pump)) {
    case TShredResult::Shredded:
      RemoveRow(position);
      ++run.shredded;
      return true;
    case TShredResult::Unlinked:
      // Only this name is gone; the data stays with the link's target or the
      // file's other names, so it is not counted as shredded.
      RemoveRow(position);
      ++run.unlinked;
      prompts_.Message(MessageText(msg::Shredder_Unlinked_M, {path}));
      return true;
    case TShredResult::Stopped:
      return false;
    case TShredResult::Failed:
      break;
  }
  // Overwritten or not, a file that is gone cannot be shredded again.
  ++run.failed;
  if (!FileExists(path)) RemoveRow(position);
  prompts_.Message(MessageText(msg::Shredder_NotDel_M, {path}));
  return true;
}

bool TFileShredderModel::Cancel() {
  closing_ = true;
  SetShredStopRequest(true);
  return !Busy();
}

void TFileShredderModel::Closed() { SetShredStopRequest(false); }

}  // namespace orvix
