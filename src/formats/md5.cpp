#include "formats/md5.h"

#include <gcrypt.h>

#include <mutex>

namespace orvix {
namespace {

// libgcrypt must be initialised once before its first use. The program keeps
// no secrets in its memory, so secure memory stays off.
void EnsureGcrypt() {
  static std::once_flag once;
  std::call_once(once, [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
}

}  // namespace

std::wstring Md5Hex(std::string_view bytes) {
  EnsureGcrypt();
  constexpr std::size_t kDigestSize = 16;
  unsigned char digest[kDigestSize];
  gcry_md_hash_buffer(GCRY_MD_MD5, digest, bytes.data(), bytes.size());
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(2 * kDigestSize);
  for (unsigned char byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

}  // namespace orvix
