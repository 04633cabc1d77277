#include "inventory/list_labels.h"

#include <array>

namespace orvix {
namespace {

constexpr const wchar_t* kUnknown = L"<unknown>";

// Indexed by the enumeration values.
constexpr std::array<const wchar_t*, 9> kRangeLabels = {kUnknown,           L"today",           L"within 3 days",
                                                        L"within 1 week",   L"within 2 weeks",  L"within 1 month",
                                                        L"within 2 months", L"within 3 months", L"3 months ago"};
constexpr std::array<const wchar_t*, 4> kRateLabels = {kUnknown, L"often", L"less", L"rarely"};

}  // namespace

std::wstring UseRangeLabel(TAppUseRange range) { return range < kRangeLabels.size() ? kRangeLabels[range] : kUnknown; }

std::wstring UseRateLabel(TAppUseRate rate) { return rate < kRateLabels.size() ? kRateLabels[rate] : kUnknown; }

std::wstring UsageLabel(TAppUseRange range, TAppUseRate rate) {
  const bool longAgo = range == aud2Month || range == aud3Month || range == audMore;
  return longAgo ? UseRateLabel(rate) : UseRangeLabel(range);
}

}  // namespace orvix
