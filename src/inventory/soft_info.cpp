#include "inventory/soft_info.h"

#include <array>

namespace orvix {
namespace {

constexpr std::array<const wchar_t*, 9> kRangeNames = {L"audUnknown", L"audToday", L"aud3Day",
                                                       L"audWeek",    L"aud2Week", L"audMonth",
                                                       L"aud2Month",  L"aud3Month", L"audMore"};
constexpr std::array<const wchar_t*, 4> kRateNames = {L"aurUnknown", L"aurOften", L"aurLess", L"aurRarely"};

template <std::size_t N>
std::size_t IndexOf(const std::array<const wchar_t*, N>& names, const std::wstring& name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (name == names[i]) return i;
  }
  return 0;
}

}  // namespace

std::wstring UseRangeName(TAppUseRange range) { return range < kRangeNames.size() ? kRangeNames[range] : kRangeNames[0]; }
std::wstring UseRateName(TAppUseRate rate) { return rate < kRateNames.size() ? kRateNames[rate] : kRateNames[0]; }
TAppUseRange UseRangeFromName(const std::wstring& name) {
  return static_cast<TAppUseRange>(IndexOf(kRangeNames, name));
}
TAppUseRate UseRateFromName(const std::wstring& name) { return static_cast<TAppUseRate>(IndexOf(kRateNames, name)); }

}  // namespace orvix
