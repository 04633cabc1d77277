// Real files that current browsers wrote (../shared/fixtures beside the
// repository), copied into a simulated machine at run time. Tests that need
// them skip where the folder is not there.
#pragma once

#include <filesystem>
#include <string>

#include "platform/sim/sim_machine.h"

namespace orvix::testing {

// The fixtures folder, or empty when there is none.
std::filesystem::path BrowserFixturesDir();

// Copies a host folder's files and folders (links left out) into the
// simulated machine below `target` (a Windows path without a trailing
// backslash).
void CopyIntoMachine(sim::SimMachine& machine, const std::filesystem::path& from, const std::wstring& target);
// Writes every file below `source` in the machine whose bytes differ from
// the host file at the same place below `to` (or that the host lacks);
// returns how many were written.
int CopyChangesOut(const sim::SimMachine& machine, const std::wstring& source, const std::filesystem::path& to);

// The bytes of a fixture file as text.
std::string FixtureText(const std::filesystem::path& file);

}  // namespace orvix::testing

#define ORVIX_REQUIRE_BROWSER_FIXTURES()                                                        \
  if (::orvix::testing::BrowserFixturesDir().empty()) GTEST_SKIP() << "no ../shared/fixtures"
