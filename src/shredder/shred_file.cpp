#include "shredder/shred_file.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/file_helpers.h"
#include "platform/platform.h"

namespace orvix {
namespace {

std::atomic<bool> shredStopRequest{false};

bool StopNow(IPump& pump) { return pump.StopRequested() || ShredStopRequested(); }

// Closes a handle on every path out of a pass.
class OpenedFile {
 public:
  OpenedFile(IFileSystem& files, FileHandle handle) : files_(files), handle_(handle) {}
  ~OpenedFile() { files_.CloseFile(handle_); }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

 private:
  IFileSystem& files_;
  FileHandle handle_;
};

// Opens for reading and writing with no sharing: nobody else may have the
// file open while it is tested or overwritten.
DWORD OpenExclusive(IFileSystem& files, const std::wstring& path, FileHandle* handle) {
  return files.OpenFile(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, handle);
}

enum class PassEnd { Done, Stopped, Failed };

// Sets the buffer to `fill` one block at a time; false when a stop came.
bool FillInBlocks(std::vector<std::uint8_t>& buffer, std::uint8_t fill, IPump& pump) {
  for (std::size_t block = 0; block < buffer.size(); block += kShredBlockSize) {
    const std::size_t length = std::min<std::size_t>(kShredBlockSize, buffer.size() - block);
    std::memset(buffer.data() + block, fill, length);
    pump.ProcessMessages();
    if (StopNow(pump)) return false;
  }
  return true;
}

PassEnd OverwritePass(IFileSystem& files, const std::wstring& path, IPump& pump) {
  files.SetAttributes(path, FILE_ATTRIBUTE_ARCHIVE);
  FileHandle handle = 0;
  if (OpenExclusive(files, path, &handle) != ERROR_SUCCESS) return PassEnd::Failed;
  OpenedFile closer(files, handle);
  std::uint64_t size = 0;
  if (files.GetFileSize(handle, &size) != ERROR_SUCCESS) return PassEnd::Failed;
  const std::uint8_t fill = ShredFillGenerator().Next();

  std::vector<std::uint8_t> buffer;  // at most one chunk, whatever the file's size
  PassEnd end = PassEnd::Done;
  bool wrote = false;
  for (std::uint64_t offset = 0; offset < size; offset += kShredChunkSize) {
    pump.ProcessMessages();
    if (StopNow(pump)) {
      end = PassEnd::Stopped;
      break;
    }
    const auto length = static_cast<DWORD>(std::min<std::uint64_t>(size - offset, kShredChunkSize));
    buffer.resize(length);
    DWORD read = 0;
    if (files.SeekFile(handle, offset) != ERROR_SUCCESS ||
        files.ReadFile(handle, buffer.data(), length, &read) != ERROR_SUCCESS || read != length) {
      end = PassEnd::Failed;
      break;
    }
    if (!FillInBlocks(buffer, fill, pump)) {
      end = PassEnd::Stopped;
      break;
    }
    DWORD written = 0;
    if (files.SeekFile(handle, offset) != ERROR_SUCCESS ||
        files.WriteFile(handle, buffer.data(), length, &written) != ERROR_SUCCESS || written != length) {
      end = PassEnd::Failed;
      break;
    }
    wrote = true;
  }
  // What was overwritten must be on the disk before the next step: an
  // overwrite left in the cache could be dropped once the file is deleted.
  if (wrote && files.FlushFile(handle) != ERROR_SUCCESS && end == PassEnd::Done) end = PassEnd::Failed;
  return end;
}

}  // namespace

TShredFill& ShredFillGenerator() {
  static TShredFill generator;
  return generator;
}

void SetShredStopRequest(bool stop) { shredStopRequest = stop; }
bool ShredStopRequested() { return shredStopRequest; }

bool CanOpenForWriting(const std::wstring& path) {
  IFileSystem& files = CurrentPlatform().Files();
  FileHandle handle = 0;
  if (OpenExclusive(files, path, &handle) != ERROR_SUCCESS) return false;
  files.CloseFile(handle);
  return true;
}

namespace {

// Whether overwriting the file through this name would overwrite what
// another name holds: a symbolic link's target, a hard link's other names.
bool SharesItsData(IFileSystem& files, const std::wstring& path) {
  DWORD links = 1;
  return IsReparsePoint(path) || (files.GetLinkCount(path, &links) == ERROR_SUCCESS && links > 1);
}

}  // namespace

TShredResult ShredFile(const std::wstring& path, IPump& pump) {
  IFileSystem& files = CurrentPlatform().Files();
  if (SharesItsData(files, path))
    return files.DeleteFile(path) == ERROR_SUCCESS ? TShredResult::Unlinked : TShredResult::Failed;
  bool failed = false;
  for (int pass = 0; pass < 2; ++pass) {
    if (StopNow(pump)) return TShredResult::Stopped;
    switch (OverwritePass(files, path, pump)) {
      case PassEnd::Done: break;
      case PassEnd::Stopped: return TShredResult::Stopped;
      case PassEnd::Failed: failed = true; break;  // the next steps still run
    }
  }
  if (StopNow(pump)) return TShredResult::Stopped;
  if (files.DeleteFile(path) != ERROR_SUCCESS) failed = true;
  return failed ? TShredResult::Failed : TShredResult::Shredded;
}

}  // namespace orvix
