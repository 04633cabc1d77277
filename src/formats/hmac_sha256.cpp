#include "formats/hmac_sha256.h"

#include <gcrypt.h>

#include "formats/digest_helpers.h"

namespace orvix {

std::string HmacSha256Hex(std::string_view key, std::string_view message) {
  EnsureGcrypt();
  constexpr std::size_t kDigestSize = 32;
  unsigned char digest[kDigestSize] = {};
  // libgcrypt refuses an empty key; HMAC pads any key to the block size with
  // zeros, so one zero byte is the same key.
  const unsigned char zero = 0;
  const void* keyData = key.empty() ? static_cast<const void*>(&zero) : key.data();
  const std::size_t keySize = key.empty() ? 1 : key.size();
  gcry_mac_hd_t mac = nullptr;
  if (gcry_mac_open(&mac, GCRY_MAC_HMAC_SHA256, 0, nullptr) != 0) return {};
  std::size_t size = kDigestSize;
  const bool ok = gcry_mac_setkey(mac, keyData, keySize) == 0 && gcry_mac_write(mac, message.data(), message.size()) == 0 &&
                  gcry_mac_read(mac, digest, &size) == 0 && size == kDigestSize;
  gcry_mac_close(mac);
  if (!ok) return {};
  return HexDigits(digest, kDigestSize, true);
}

}  // namespace orvix
