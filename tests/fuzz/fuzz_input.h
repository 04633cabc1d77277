// Reads one fuzz input as the fields an entry point needs. Whatever the
// bytes, every read succeeds: a used-up input gives zeros and empty fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/text_codec.h"

namespace orvix::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte();
  std::uint32_t Number();  // four bytes, little-endian
  double Double();         // eight raw bytes: NaNs and infinities included
  // A length byte, then up to that many bytes.
  Bytes Chunk();
  // UTF-16LE units up to the next U+001E, which ends the field, or the end.
  std::wstring Field();
  Bytes Rest();
  std::wstring RestText() { return FromUtf16Le(Rest()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Stops the process with a message when an invariant of a reader fails:
// libFuzzer keeps the input, the corpus replay fails the test.
void FuzzCheck(bool condition, const char* what);

}  // namespace orvix::fuzz
