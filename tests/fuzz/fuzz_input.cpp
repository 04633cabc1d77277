#include "fuzz/fuzz_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvix::fuzz {

std::uint8_t FuzzInput::Byte() { return at_ < size_ ? data_[at_++] : 0; }

std::uint32_t FuzzInput::Number() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
  return value;
}

double FuzzInput::Double() {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(Byte()) << (8 * i);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

Bytes FuzzInput::Chunk() {
  const std::size_t length = std::min<std::size_t>(Byte(), size_ - at_);
  Bytes bytes(data_ + at_, data_ + at_ + length);
  at_ += length;
  return bytes;
}

std::wstring FuzzInput::Field() {
  constexpr std::uint8_t kSeparator = 0x1E;
  std::size_t end = at_;
  while (end + 1 < size_ && !(data_[end] == kSeparator && data_[end + 1] == 0)) end += 2;
  const bool separated = end + 1 < size_;
  if (!separated) end = size_;
  std::wstring text = FromUtf16Le(data_ + at_, end - at_);
  at_ = separated ? end + 2 : size_;
  return text;
}

Bytes FuzzInput::Rest() {
  Bytes bytes(data_ + at_, data_ + size_);
  at_ = size_;
  return bytes;
}

void FuzzCheck(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz invariant failed: %s\n", what);
  std::abort();
}

}  // namespace orvix::fuzz
