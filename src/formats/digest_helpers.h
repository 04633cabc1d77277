// What every digest of the core shares: libgcrypt's one-time set-up, which
// must run before its first use, and the hexadecimal text of a digest.
#pragma once

#include <cstddef>
#include <string>

namespace orvix {

void EnsureGcrypt();
std::string HexDigits(const unsigned char* bytes, std::size_t size, bool upperCase);

}  // namespace orvix
