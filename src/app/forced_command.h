// orvix forced PATH [--delete all] [--yes]: forced uninstall from a file,
// folder or shortcut, as the forced-uninstall window runs it.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// `args` holds the command name first. Exit codes: 0 every step ran, 1 the
// path was refused or a step failed or was declined, 2 the command line is
// wrong.
int RunForcedCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                     const TReadLine& readLine);

}  // namespace orvix
