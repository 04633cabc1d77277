// HMAC-SHA256 (RFC 2104 over FIPS 180-4), for the message authentication
// codes with which Chromium-based browsers guard their preference files.
#pragma once

#include <string>
#include <string_view>

namespace orvix {

// The code of `message` under `key` as 64 upper-case hexadecimal digits.
std::string HmacSha256Hex(std::string_view key, std::string_view message);

}  // namespace orvix
