#include "formats/byte_stream.h"

#include <algorithm>
#include <cstring>

namespace orvix {

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  const std::size_t n = std::min(count, available);
  if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

bool TMemoryStream::Seek(std::uint64_t position) {
  // Like a file, a memory stream may be positioned past its end; a write
  // there fills the gap with zeros.
  if (position > SIZE_MAX / 2) return false;
  position_ = static_cast<std::size_t>(position);
  return true;
}

}  // namespace orvix
