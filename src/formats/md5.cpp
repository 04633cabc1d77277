#include "formats/md5.h"

#include <gcrypt.h>

#include "formats/digest_helpers.h"

namespace orvix {

std::wstring Md5Hex(std::string_view bytes) {
  EnsureGcrypt();
  constexpr std::size_t kDigestSize = 16;
  unsigned char digest[kDigestSize];
  gcry_md_hash_buffer(GCRY_MD_MD5, digest, bytes.data(), bytes.size());
  const std::string text = HexDigits(digest, kDigestSize, false);
  return std::wstring(text.begin(), text.end());
}

}  // namespace orvix
