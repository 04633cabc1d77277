// A byte stream (formats/byte_stream) over a file of the current platform,
// and a read-only window on part of another stream. The archive reader reads
// entries through them and deciphers into a temporary file stream.
#pragma once

#include <string>

#include "formats/byte_stream.h"
#include "platform/file_system_api.h"

namespace orvix {

class TFileStream : public TStream {
 public:
  // CreateFileW's access, sharing and disposition; Error() tells whether the
  // file opened (ERROR_SUCCESS) and why not.
  TFileStream(const std::wstring& path, DWORD access, DWORD share, DWORD disposition);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  DWORD Error() const { return error_; }
  bool IsOpen() const { return handle_ != 0; }

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::uint64_t Position() const override { return position_; }
  bool Seek(std::uint64_t position) override;
  std::uint64_t Size() const override;

 private:
  IFileSystem& files_;
  FileHandle handle_ = 0;
  DWORD error_ = ERROR_SUCCESS;
  std::uint64_t position_ = 0;
};

// Reads of `inner` limited to [start, end): what lies outside (another
// entry, the table, the footer) is never handed out. Positions are the
// inner stream's. Writing is refused.
class TStreamWindow : public TStream {
 public:
  TStreamWindow(TStream& inner, std::uint64_t start, std::uint64_t end) : inner_(inner), start_(start), end_(end) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void*, std::size_t) override { return 0; }
  std::uint64_t Position() const override { return inner_.Position(); }
  bool Seek(std::uint64_t position) override;
  std::uint64_t Size() const override { return end_; }

 private:
  TStream& inner_;
  std::uint64_t start_;
  std::uint64_t end_;
};

}  // namespace orvix
