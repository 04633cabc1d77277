// The safety property over random hostile machines (bench/safety_property.h):
// a few hundred here; bench/ has the long run.
#include <gtest/gtest.h>

#include "bench/safety_property.h"

namespace orvix::testing {
namespace {

// Seeds 1 up; every run of the suite checks the same machines.
constexpr std::uint32_t kMachines = 300;

void ExpectSafe(std::uint32_t first, std::uint32_t last) {
  bench::TPropertyFigures figures;
  for (std::uint32_t seed = first; seed <= last; ++seed) bench::CheckHostileMachine(seed, figures);
  EXPECT_GT(figures.findings, 0);
  for (const std::wstring& violation : figures.violations) ADD_FAILURE() << std::string(violation.begin(), violation.end());
}

TEST(SafetyPropertyTest, NothingButTheProgramsOwnIsOfferedOrDeletedOnRandomMachines) { ExpectSafe(1, kMachines); }

// Machines on which the property once failed, each kept for its fault.
struct TFaultSeed {
  const char* fault;
  std::uint32_t seed;
};

TEST(SafetyPropertyTest, MachinesThatOnceFailedStaySafe) {
  const TFaultSeed seeds[] = {
      // A program installed into another program's folder offered that folder
      // and every registration pointing into it.
      {"install folder of another program", 4},
      // A program installed into the folder of one whose entry was written
      // into the Uninstall key itself took that program's registrations.
      {"folder of an entry in the Uninstall key itself", 7},
      {"folder of an entry in the Uninstall key itself", 13},
  };
  for (const TFaultSeed& kept : seeds) {
    SCOPED_TRACE(kept.fault);
    ExpectSafe(kept.seed, kept.seed);
  }
}

}  // namespace
}  // namespace orvix::testing
