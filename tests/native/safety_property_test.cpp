// The safety property over random hostile machines (bench/safety_property.h):
// a few hundred here; bench/ has the long run.
#include <gtest/gtest.h>

#include "bench/safety_property.h"

namespace orvix::testing {
namespace {

constexpr std::uint32_t kMachines = 200;

void ExpectSafe(std::uint32_t first, std::uint32_t last) {
  bench::TPropertyFigures figures;
  for (std::uint32_t seed = first; seed <= last; ++seed) bench::CheckHostileMachine(seed, figures);
  EXPECT_GT(figures.findings, 0);
  for (const std::wstring& violation : figures.violations) ADD_FAILURE() << std::string(violation.begin(), violation.end());
}

TEST(SafetyPropertyTest, NothingButTheProgramsOwnIsOfferedOrDeletedOnRandomMachines) { ExpectSafe(1, kMachines); }

}  // namespace
}  // namespace orvix::testing
