// orvix shred PATH... [--yes]: the file shredder from the console. Paths are
// added as the shredder window adds them (folders stand for every file below
// them), the user confirms unless --yes, and every message is printed.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// `args` holds the command name first. Exit codes: 0 every file was
// shredded, 1 some path or file was not, 2 the command line is wrong.
int RunShredCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                    const TReadLine& readLine);

}  // namespace orvix
