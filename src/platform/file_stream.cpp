#include "platform/file_stream.h"

#include <algorithm>
#include <limits>

#include "platform/platform.h"

namespace orvix {
namespace {

// ReadFile and WriteFile take at most a DWORD of bytes at a time.
constexpr std::size_t kMaxCall = 1u << 30;

}  // namespace

TFileStream::TFileStream(const std::wstring& path, DWORD access, DWORD share, DWORD disposition)
    : files_(CurrentPlatform().Files()) {
  error_ = files_.OpenFile(path, access, share, disposition, &handle_);
  if (error_ != ERROR_SUCCESS) handle_ = 0;
}

TFileStream::~TFileStream() {
  if (handle_ != 0) files_.CloseFile(handle_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  if (handle_ == 0) return 0;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD read = 0;
    const auto n = static_cast<DWORD>(std::min(count - done, kMaxCall));
    if (files_.ReadFile(handle_, bytes + done, n, &read) != ERROR_SUCCESS || read == 0) break;
    done += read;
  }
  position_ += done;
  return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  if (handle_ == 0) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD written = 0;
    const auto n = static_cast<DWORD>(std::min(count - done, kMaxCall));
    const DWORD error = files_.WriteFile(handle_, bytes + done, n, &written);
    done += written;
    if (error != ERROR_SUCCESS || written < n) break;
  }
  position_ += done;
  return done;
}

bool TFileStream::Seek(std::uint64_t position) {
  if (handle_ == 0 || files_.SeekFile(handle_, position) != ERROR_SUCCESS) return false;
  position_ = position;
  return true;
}

std::uint64_t TFileStream::Size() const {
  std::uint64_t size = 0;
  if (handle_ == 0 || files_.GetFileSize(handle_, &size) != ERROR_SUCCESS) return 0;
  return size;
}

std::size_t TStreamWindow::Read(void* buffer, std::size_t count) {
  const std::uint64_t position = inner_.Position();
  if (position < start_ || position >= end_) return 0;
  return inner_.Read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - position)));
}

bool TStreamWindow::Seek(std::uint64_t position) {
  return position >= start_ && position <= end_ && inner_.Seek(position);
}

}  // namespace orvix
