#include "uninstall/log_manager_model.h"

#include "language/messages.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "platform/text.h"
#include "uninstall/uninstall_log.h"

namespace orvix {

std::vector<TLogFileItem> ListUninstallLogs() {
  std::vector<TLogFileItem> items;
  const std::wstring folder = UninstallLogFolder();
  if (folder.empty()) return items;
  IFileSystem& files = CurrentPlatform().Files();
  FindData data;
  FindHandle handle = 0;
  if (files.FindFirst(folder + L"*.*", &data, &handle) != ERROR_SUCCESS) return items;
  const TFindListing listing(files, handle);
  do {
    if (data.name == L"." || data.name == L"..") continue;
    if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (FindText(data.name, L".log") != std::wstring::npos) items.push_back({data.name, folder + data.name});
  } while (files.FindNext(handle, &data) == ERROR_SUCCESS);
  return items;
}

TLogDeletion DeleteLogFile(const std::wstring& path) {
  if (CurrentPlatform().Files().DeleteFile(path) == ERROR_SUCCESS) return TLogDeletion::Deleted;
  return DeleteAtReboot(path, L"", rmDelete) ? TLogDeletion::AtRestart : TLogDeletion::Failed;
}

std::wstring DeleteLogQuestion() {
  return Text(msg::Log_Delete_ASK);
}

std::wstring DeleteAllLogsQuestion() {
  return Text(msg::Log_DeleteAll_ASK);
}

void TLogManagerModel::Shown() {
  items_ = ListUninstallLogs();
  selected_ = -1;
}

void TLogManagerModel::Select(int position) {
  selected_ = position >= 0 && position < static_cast<int>(items_.size()) ? position : -1;
}

bool TLogManagerModel::OpenSelected() {
  if (selected_ < 0) return false;
  // Quoted, so that a data folder with blanks reaches Notepad as one path.
  return CurrentPlatform().Shell().ShellExecute(L"open", L"notepad.exe", L"\"" + items_[selected_].Path + L"\"", L"",
                                                SW_SHOWNORMAL);
}

bool TLogManagerModel::DeleteSelected() {
  if (selected_ < 0) return false;
  if (!ask_(DeleteLogQuestion())) return false;
  // A file that could neither go now nor at the restart stays listed.
  if (DeleteLogFile(items_[selected_].Path) != TLogDeletion::Failed) items_.erase(items_.begin() + selected_);
  selected_ = -1;
  return true;
}

bool TLogManagerModel::DeleteAll() {
  if (items_.empty()) return false;
  if (!ask_(DeleteAllLogsQuestion())) return false;
  std::erase_if(items_, [](const TLogFileItem& item) { return DeleteLogFile(item.Path) != TLogDeletion::Failed; });
  selected_ = -1;
  return true;
}

}  // namespace orvix
