// Everything a command could change on the simulated machine, as text, so
// that a test can show that a command changed nothing: every key and value
// of the registry, every folder, file and link of every drive with its
// attributes, write time and bytes, and the deletions left for the restart.
// Reading leaves no trace in it (access times are left out).
#pragma once

#include <string>

#include "platform/sim/sim_machine.h"

namespace orvix::testing {

std::string MachineSnapshot(sim::SimMachine& machine);

// The lines of one snapshot missing from the other ("- " before, "+ "
// after); empty when they are the same.
std::string SnapshotChanges(const std::string& before, const std::string& after);

}  // namespace orvix::testing
