#include "shell/window_messages.h"

#include <cstring>

#include "platform/text.h"

namespace orvix {

std::vector<std::uint8_t> CopyDataPayload(const std::wstring& text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (const wchar_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

std::wstring DecodeCopyData(const void* data, std::size_t size) {
  if (data == nullptr) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::wstring text;
  for (std::size_t at = 0; at + 1 < size; at += 2) {
    const wchar_t unit = static_cast<wchar_t>(bytes[at] | (bytes[at + 1] << 8));
    if (unit == L'\0') break;
    text.push_back(unit);
  }
  return Trim(text);
}

}  // namespace orvix
