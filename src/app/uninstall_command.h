// orvix uninstall: the uninstall window's run from the console. Each named
// program's uninstaller runs and is waited for; then, on request, the
// leftover scan and the deletion of everything it found, as the review
// window deletes with every finding checked.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// uninstall NAME... [--scan] [--delete all|none] [--shred] [--restore-point]
// [--quiet] [--yes], the command name first. Asks before uninstalling and
// before deleting unless --yes. Exit code 0 when every step ran, 1 when a
// program is not found, an uninstaller could not be started, an answer was
// no, or a finding could not be removed; 2 when the command line is wrong.
int RunUninstallCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                        const TReadLine& readLine);

}  // namespace orvix
