// Sizes as the software list shows them.
#pragma once

#include <cstdint>
#include <string>

namespace orvix {

// Below 1024 bytes "<n> Byte"; otherwise divided by 1024 while the quotient
// stays at or above 1024, at most three times, and written with two decimals
// and the user's decimal separator: "1.00 KB", "1.50 MB", "5120.00 GB".
std::wstring SizeToText(std::int64_t size);

}  // namespace orvix
