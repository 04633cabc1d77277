// Sweeps of injected faults: the work runs once per call it makes, with one
// fault at that call alone, until a run makes fewer calls than the fault's
// number. Each run builds its own machine, so every failure point of the work
// is met once, for every kind of fault.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/sim/sim_faults.h"

namespace orvix::testing {

struct FaultKind {
  const char* name;
  DWORD error;
  sim::FaultEffect effect;
};

// What a file or registry call can answer, and a power cut.
inline const std::vector<FaultKind> kFaultKinds = {
    {"access denied", ERROR_ACCESS_DENIED, sim::FaultEffect::Fail},
    {"sharing violation", ERROR_SHARING_VIOLATION, sim::FaultEffect::Fail},
    {"disk full", ERROR_DISK_FULL, sim::FaultEffect::Fail},
    {"path too long", ERROR_FILENAME_EXCED_RANGE, sim::FaultEffect::Fail},
    {"vanished", ERROR_FILE_NOT_FOUND, sim::FaultEffect::Vanish},
    {"crash", ERROR_SUCCESS, sim::FaultEffect::Crash},
};

// Calls `runWith(fault)` with the kind's fault at call 1, 2, ... and stops
// after the first run in which it did not fire (runWith answers whether it
// did). Returns the number of failure points met.
inline unsigned SweepEveryCall(const FaultKind& kind, const std::function<bool(const sim::Fault&)>& runWith) {
  constexpr unsigned kLimit = 20000;  // a run that never ends its calls is a fault of its own
  unsigned n = 1;
  while (n < kLimit && runWith(sim::Fault::AtCall(n, kind.error, kind.effect))) ++n;
  EXPECT_LT(n, kLimit) << kind.name << ": the work never stopped calling";
  EXPECT_GT(n, 1u) << kind.name << ": the work made no call";
  return n - 1;
}

}  // namespace orvix::testing
