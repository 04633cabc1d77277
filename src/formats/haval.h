// HAVAL with a 256-bit digest and 5 passes, the key derivation of the archive
// cipher (formats/archive_cipher). Written from the algorithm's published
// definition and checked against its published test vectors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvix {

using Haval256Digest = std::array<std::uint8_t, 32>;

Haval256Digest Haval256Pass5(const std::uint8_t* data, std::size_t size);

}  // namespace orvix
