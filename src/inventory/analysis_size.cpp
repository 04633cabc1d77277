#include "inventory/analysis_size.h"

#include <deque>

#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"

namespace orvix {
namespace {

std::wstring WithBackslash(const std::wstring& path) {
  return (!path.empty() && path.back() == L'\\') ? path : path + L'\\';
}

std::wstring WithoutQuotes(std::wstring text) {
  std::erase(text, L'"');
  return text;
}

}  // namespace

std::int64_t FolderSize(const std::wstring& folder, std::stop_token stop) {
  IFileSystem& files = CurrentPlatform().Files();
  std::deque<std::wstring> pending{WithBackslash(folder)};
  std::int64_t total = 0;
  while (!pending.empty() && !stop.stop_requested()) {
    const std::wstring current = std::move(pending.front());
    pending.pop_front();
    FindData data;
    FindHandle find = 0;
    if (files.FindFirst(current + L"*.*", &data, &find) != ERROR_SUCCESS) continue;
    do {
      if (data.name == L"." || data.name == L"..") continue;
      if ((data.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        total += static_cast<std::int64_t>(data.size);
      } else if ((data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        pending.push_back(current + data.name + L"\\");
      }
    } while (files.FindNext(find, &data) == ERROR_SUCCESS);
    files.FindClose(find);
  }
  return total;
}

std::wstring SizeFolderOf(const TSoftInfo& entry, const std::wstring& foundFolder) {
  if (!entry.InstallLocation.empty()) return entry.InstallLocation;
  if (!foundFolder.empty()) return foundFolder;
  if (entry.Readme.empty()) return {};
  const std::wstring readme = WithoutQuotes(entry.Readme);
  const std::size_t slash = readme.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  const std::wstring folder = readme.substr(0, slash + 1);
  return DirectoryExists(folder) ? folder : L"";
}

std::int64_t MeasureEntrySize(const TSoftInfo& entry, const std::wstring& foundFolder, std::stop_token stop) {
  const std::wstring folder = SizeFolderOf(entry, foundFolder);
  if (folder.empty() || !IsOrdinaryFolder(folder)) return 0;
  const std::int64_t size = FolderSize(folder, stop);
  return entry.IsToolbar ? std::min(size, kToolbarSizeCap) : size;
}

}  // namespace orvix
