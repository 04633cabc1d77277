#include "inventory/size_text.h"

#include <array>

#include "platform/platform.h"

namespace orvix {

std::wstring SizeToText(std::int64_t size) {
  if (size < 1024) return std::to_wstring(size) + L" Byte";
  static constexpr std::array<const wchar_t*, 3> kUnits = {L" KB", L" MB", L" GB"};
  std::size_t unit = 0;
  std::int64_t divisor = 1024;
  while (unit + 1 < kUnits.size() && size / divisor >= 1024) {
    divisor *= 1024;
    ++unit;
  }
  // Hundredths in whole numbers, halves rounded up, so that no binary
  // fraction decides the last digit.
  const std::int64_t hundredths = size / divisor * 100 + (size % divisor * 100 + divisor / 2) / divisor;
  std::wstring fraction = std::to_wstring(hundredths % 100);
  if (fraction.size() < 2) fraction.insert(0, 1, L'0');
  return std::to_wstring(hundredths / 100) + CurrentPlatform().Locale().DecimalSeparator() + fraction + kUnits[unit];
}

}  // namespace orvix
