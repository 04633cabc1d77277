// The safety property over one random machine (hostile_machine.h): for
// every Uninstall entry, on the machine built afresh from its seed, the
// whole leftover scan and then the review's deletion with every finding
// checked. Nothing offered may be protected, a hive's top key, or hold
// what is not the program's; after the deletion everything that was not
// the program's must still be there, byte for byte and value for value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvix::bench {

struct TPropertyFigures {
  long machines = 0;
  long entries = 0;
  long findings = 0;
  std::vector<std::wstring> violations;  // each names its seed, program and finding
};

void CheckHostileMachine(std::uint32_t seed, TPropertyFigures& figures);

}  // namespace orvix::bench
