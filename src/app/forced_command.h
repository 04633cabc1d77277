// orvix forced PATH [--delete all] [--quiet] [--yes]: forced uninstall from a file,
// folder or shortcut, as the forced-uninstall window runs it.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// `args` holds the command name first. Runs as the uninstall window does
// after forced uninstall's Next, writing the day's uninstall log; --delete
// all deletes every finding as the review window would. Exit codes: 0 every
// step ran, 1 the path was refused, an uninstaller could not start, an
// answer was no or something could not be removed, 2 the command line is
// wrong.
int RunForcedCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                     const TReadLine& readLine);

}  // namespace orvix
