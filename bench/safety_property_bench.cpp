// The long run of the safety property (safety_property.h): machines from
// seed 1 up, every entry scanned and its findings deleted. Prints machines,
// entries, findings and violations (which must be zero), and the first
// violations found; exits 1 when there is any.
//
//   orvix_bench_safety_property [MACHINES [SHOWN]]   (10000 machines, 40 violations shown)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/safety_property.h"

int main(int argc, char** argv) {
  const long machines = argc > 1 ? std::atol(argv[1]) : 10000;
  const std::size_t shown = argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 40;
  orvix::bench::TPropertyFigures figures;
  for (long seed = 1; seed <= machines; ++seed) {
    orvix::bench::CheckHostileMachine(static_cast<std::uint32_t>(seed), figures);
    if (seed % 1000 == 0) std::fprintf(stderr, "%ld machines\n", seed);
  }
  std::printf("machines %ld, entries %ld, findings %ld, violations %zu\n", figures.machines, figures.entries,
              figures.findings, figures.violations.size());
  for (std::size_t i = 0; i < figures.violations.size() && i < shown; ++i) {
    std::printf("  %ls\n", figures.violations[i].c_str());
  }
  return figures.violations.empty() ? 0 : 1;
}
