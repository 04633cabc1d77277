#include "platform/private_temp_file.h"

#include "formats/random_bytes.h"
#include "platform/platform.h"

namespace orvix {
namespace {

std::wstring RandomHex(std::size_t bytes) {
  std::uint8_t random[32];
  RandomBytes(random, bytes);
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring text;
  for (std::size_t i = 0; i < bytes; ++i) {
    text += kHex[random[i] >> 4];
    text += kHex[random[i] & 0xF];
  }
  return text;
}

}  // namespace

TPrivateTempFile::TPrivateTempFile(const std::wstring& parent, const std::wstring& prefix) {
  IFileSystem& files = CurrentPlatform().Files();
  std::wstring root = parent.empty() ? CurrentPlatform().Shell().GetTempPath() : parent;
  if (root.empty()) return;
  if (root.back() != L'\\') root += L'\\';
  // A name nobody can guess, made by us: CreateDirectory fails on a folder
  // that is already there, so a prepared folder or link is never used.
  for (int attempt = 0; attempt < 4 && folder_.empty(); ++attempt) {
    const std::wstring folder = root + prefix + RandomHex(16);
    if (files.CreateDirectory(folder) == ERROR_SUCCESS) folder_ = folder;
  }
  if (folder_.empty()) return;
  if (files.GetTempFileName(folder_, prefix, &path_) != ERROR_SUCCESS) {
    path_.clear();
    return;
  }
  stream_ = std::make_unique<TFileStream>(path_, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
  if (!stream_->IsOpen())
    stream_ = std::make_unique<TFileStream>(path_, GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
}

TPrivateTempFile::~TPrivateTempFile() {
  IFileSystem& files = CurrentPlatform().Files();
  stream_.reset();  // closes the file first
  // A scanner may hold a fresh file for a moment: a few tries, and what
  // still refuses goes at the next restart.
  const auto remove = [&](const std::wstring& path, auto&& removeNow) {
    if (path.empty()) return;
    for (int attempt = 0; attempt < 3; ++attempt)
      if (removeNow(path) == ERROR_SUCCESS) return;
    files.MoveFile(path, L"", MOVEFILE_DELAY_UNTIL_REBOOT);
  };
  remove(path_, [&](const std::wstring& path) { return files.DeleteFile(path); });
  remove(folder_, [&](const std::wstring& path) { return files.RemoveDirectory(path); });
}

}  // namespace orvix
