// orvix logs [list | show DATE | delete DATE | delete-all] [--yes]: the
// uninstall logs from the console, as the log manager lists and deletes
// them. DATE names a day's log as yyyy-mm-dd.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// `args` holds the command name first. Exit codes: 0 done, 1 no such log,
// a file that stays or the answer No, 2 the command line is wrong.
int RunLogsCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                   const TReadLine& readLine);

}  // namespace orvix
