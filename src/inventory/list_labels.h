// The usage label of an entry (its UseText): how long ago a program was
// last used, or, once that is two months or more, how often it is used.
#pragma once

#include <string>

#include "inventory/soft_info.h"

namespace orvix {

// "today", "within 3 days", ..., "3 months ago"; "<unknown>" for audUnknown.
std::wstring UseRangeLabel(TAppUseRange range);
// "often", "less", "rarely"; "<unknown>" for aurUnknown.
std::wstring UseRateLabel(TAppUseRate rate);

// The UseText of an entry rated with `range` and `rate`: the rate label for
// aud2Month, aud3Month and audMore, the range label otherwise.
std::wstring UsageLabel(TAppUseRange range, TAppUseRate rate);

}  // namespace orvix
