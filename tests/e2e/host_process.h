// Runs a program of the host (Linux) machine and collects what it printed,
// for the end-to-end harness that drives Wine from native tests.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace orvix::e2e {

struct RunResult {
  int exitCode = -1;   // the program's exit status; 128 + signal when killed, -1 when not started or timed out
  std::string output;  // standard output and standard error together, in order; only standard output when apart
  std::string errors;  // standard error when the streams are kept apart
};

// Apart keeps what the program writes from what Wine itself reports on
// standard error (a volume it cannot read, a debugger it starts).
enum class OutputStreams { kTogether, kApart };

using EnvironmentOverrides = std::vector<std::pair<std::string, std::string>>;

// Runs argv[0] (looked up in PATH) with the caller's environment plus the
// overrides, standard input empty. The output goes through a temporary file
// rather than a pipe, so a helper that the program leaves running (a
// wineserver) does not hold the caller up. A program still running after the
// timeout is killed.
RunResult RunHostProgram(const std::vector<std::string>& argv, const EnvironmentOverrides& environment,
                         std::chrono::seconds timeout, OutputStreams streams = OutputStreams::kTogether);

}  // namespace orvix::e2e
