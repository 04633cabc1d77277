// A fresh simulated machine made current for one test. Tests that need a
// machine derive from SimMachineTest (64-bit by default); code that needs
// one outside a fixture uses CurrentSimMachine directly.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sim/sim_machine.h"

namespace orvix::testing {

inline sim::MachineOptions MachineOf(sim::Bitness bitness) {
  sim::MachineOptions options;
  options.bitness = bitness;
  return options;
}

// Builds a machine and makes it the current platform until destroyed.
class CurrentSimMachine {
 public:
  explicit CurrentSimMachine(const sim::MachineOptions& options = {}) : machine(options), scope_(machine) {}

  sim::SimMachine machine;

 private:
  ScopedPlatform scope_;
};

// Registry work never keeps a handle past one operation, so every test
// ends with no key left open.
class SimMachineTest : public ::testing::Test {
 protected:
  explicit SimMachineTest(const sim::MachineOptions& options = {}) : current_(options) {}

  sim::SimMachine& Machine() { return current_.machine; }
  sim::SimRegistry& Registry() { return current_.machine.registry; }
  // The 8.3 form of an existing path, as installers sometimes store it.
  std::wstring ShortPathOf(const std::wstring& path) {
    std::wstring shortPath;
    EXPECT_EQ(Machine().files.GetShortPathName(path, &shortPath), ERROR_SUCCESS) << "no such path";
    return shortPath;
  }

  void TearDown() override { EXPECT_EQ(Registry().OpenHandleCount(), 0u) << "registry handles left open"; }

 private:
  CurrentSimMachine current_;
};

// The same, on a 32-bit machine with its single registry view.
class SimMachineX86Test : public SimMachineTest {
 protected:
  SimMachineX86Test() : SimMachineTest(MachineOf(sim::Bitness::x86)) {}
};

}  // namespace orvix::testing
