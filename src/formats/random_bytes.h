// Unpredictable bytes from libgcrypt's nonce generator: the archive cipher's
// salts and vectors, and names nobody can guess (private temporary folders).
#pragma once

#include <cstddef>

namespace orvix {

void RandomBytes(void* buffer, std::size_t size);

}  // namespace orvix
