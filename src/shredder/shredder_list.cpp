#include "shredder/shredder_list.h"

#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace orvix {
namespace {

// One path a line: far more paths than anyone queues fit.
constexpr std::uint64_t kMaxListSize = 16 << 20;

}  // namespace

std::wstring ShredderListPath() {
  const std::wstring folder = TAppFrame().CommonAppData();
  if (folder.empty()) return L"";
  return folder + L"\\Orvix\\Orvix Uninstaller\\ShredderList.dat";
}

std::vector<std::wstring> ReadShredderList() {
  std::vector<std::wstring> paths;
  const std::wstring listPath = ShredderListPath();
  Bytes bytes;
  if (listPath.empty() || !ReadFileBytes(listPath, bytes, kMaxListSize)) return paths;
  const std::wstring text = DecodeTextFile(bytes);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    if (!Trim(line).empty()) paths.push_back(line);
    start = end + 1;
  }
  return paths;
}

}  // namespace orvix
