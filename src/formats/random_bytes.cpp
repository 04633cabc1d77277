#include "formats/random_bytes.h"

#include <gcrypt.h>

#include "formats/digest_helpers.h"

namespace orvix {

void RandomBytes(void* buffer, std::size_t size) {
  EnsureGcrypt();
  gcry_create_nonce(buffer, size);
}

}  // namespace orvix
