// MD5 (RFC 1321) digests, for the software cache's check that a cached entry
// still belongs to the same installation.
#pragma once

#include <string>
#include <string_view>

namespace orvix {

// The digest of the bytes as 32 lower-case hexadecimal digits.
std::wstring Md5Hex(std::string_view bytes);

}  // namespace orvix
