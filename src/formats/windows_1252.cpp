#include "formats/windows_1252.h"

#include <array>
#include <cstdint>

namespace orvix {
namespace {

// 0x80..0x9F; the other bytes equal their code points. Unassigned bytes map
// to the C1 controls of the same number, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ByteOf(wchar_t c) {
  const auto code = static_cast<std::uint32_t>(c);
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ToWindows1252(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(ByteOf(c));
  return out;
}

std::wstring FromWindows1252(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    out.push_back(byte >= 0x80 && byte < 0xA0 ? static_cast<wchar_t>(kHighControls[byte - 0x80])
                                              : static_cast<wchar_t>(byte));
  }
  return out;
}

}  // namespace orvix
