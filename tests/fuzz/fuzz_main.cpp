// One libFuzzer program per entry point: ORVIX_FUZZ_TARGET names the entry.
// The simulated machine is built once for the process and stays current.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_entries.h"
#include "platform/platform.h"
#include "platform/sim/sim_machine.h"

namespace {

orvix::fuzz::FuzzFunction entry = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static orvix::sim::SimMachine machine;
  orvix::SetCurrentPlatform(&machine);
  const orvix::fuzz::FuzzEntry* found = orvix::fuzz::FindFuzzEntry(ORVIX_FUZZ_TARGET);
  if (found == nullptr) {
    std::fprintf(stderr, "no fuzz entry named %s\n", ORVIX_FUZZ_TARGET);
    std::abort();
  }
  entry = found->run;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  entry(data, size);
  return 0;
}
