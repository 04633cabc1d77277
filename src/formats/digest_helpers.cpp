#include "formats/digest_helpers.h"

#include <gcrypt.h>

#include <mutex>

namespace orvix {

// The program keeps no secrets in its memory, so secure memory stays off.
void EnsureGcrypt() {
  static std::once_flag once;
  std::call_once(once, [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
}

std::string HexDigits(const unsigned char* bytes, std::size_t size, bool upperCase) {
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  text.reserve(2 * size);
  for (std::size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0xF];
  }
  return text;
}

}  // namespace orvix
