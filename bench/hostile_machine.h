// Random simulated machines for the safety property: a few installed
// programs whose Uninstall entries (both views, HKLM and HKCU), install
// locations, icons, uninstall commands and registrations point at random
// places, hostile ones included (a drive root, the Windows folder, Program
// Files, the user's folders, another program's folder, a folder two
// programs share, links and short names into any of these, keys several
// programs use, an entry written into the Uninstall key itself, a
// program's name for a user's hard-linked file). The machine knows what
// each program owns; everything else is the system's, the user's or
// shared. The same seed gives the same machine.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace orvix::bench {

// The owner of what no single program owns: the system, the user, or
// several programs together.
constexpr int kNobody = -1;

struct THostileProgram {
  std::wstring name;      // its DisplayName, unique on the machine
  std::wstring location;  // its InstallLocation as written
};

// Owners by lower-case stored path. A tree mark gives a folder or key and
// all below it to an owner; an exact mark gives one file, folder, key or
// value (a value as "KEY\\*NAME") and outranks the tree marks above it.
// Marks of two programs on one path leave it kNobody's.
struct TOwnerMarks {
  std::map<std::wstring, int> trees;
  std::map<std::wstring, int> exact;

  void Tree(const std::wstring& path, int owner);
  void Exact(const std::wstring& path, int owner);
  int OwnerOf(const std::wstring& path) const;
};

struct THostileMachine {
  std::vector<THostileProgram> programs;
  TOwnerMarks owners;
  bool shredInReview = false;  // the review shreds the files it deletes
};

// The path under which the owner marks and the snapshots name a value.
std::wstring ValuePath(const std::wstring& key, const std::wstring& name);

// Fills a fresh 64-bit Windows 10 machine from the seed.
THostileMachine BuildHostileMachine(sim::SimMachine& machine, std::uint32_t seed);

}  // namespace orvix::bench
