// Seekable byte streams: what the archive reader reads entries from and
// extracts them into, and what the archive cipher deciphers between. The
// memory stream lives here; the file stream over the platform's files is
// platform/file_stream.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/text_codec.h"

namespace orvix {

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to `count` bytes at the position; fewer at the end or on a
  // failure. Returns how many were read.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes at the position; returns how many bytes were written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  virtual std::uint64_t Position() const = 0;
  virtual bool Seek(std::uint64_t position) = 0;
  virtual std::uint64_t Size() const = 0;

  bool ReadExactly(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
  bool WriteAll(const void* buffer, std::size_t count) { return Write(buffer, count) == count; }
};

// A stream over bytes in memory that grows as it is written.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(Bytes bytes) : bytes_(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::uint64_t Position() const override { return position_; }
  bool Seek(std::uint64_t position) override;
  std::uint64_t Size() const override { return bytes_.size(); }

  const Bytes& Data() const { return bytes_; }

 private:
  Bytes bytes_;
  std::size_t position_ = 0;
};

}  // namespace orvix
