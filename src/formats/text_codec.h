// Byte encodings of text. Inside the system text is std::wstring; bytes on
// disk and in the registry are UTF-16LE, UTF-8 or the ANSI code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvix {

using Bytes = std::vector<std::uint8_t>;

// UTF-16LE without BOM or terminator. Characters outside the BMP become
// surrogate pairs where wchar_t is 32 bits wide.
Bytes ToUtf16Le(std::wstring_view text);
// Decodes whole 16-bit units; an odd trailing byte is ignored and unpaired
// surrogates are kept as they are.
std::wstring FromUtf16Le(const std::uint8_t* data, std::size_t size);
inline std::wstring FromUtf16Le(const Bytes& bytes) { return FromUtf16Le(bytes.data(), bytes.size()); }

std::string ToUtf8(std::wstring_view text);
// Invalid sequences decode to U+FFFD.
std::wstring FromUtf8(std::string_view text);

}  // namespace orvix
