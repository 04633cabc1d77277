// orvix addons: the browser add-on cleaner from the console. "list" shows
// every add-on of the four browsers (switched-off ones too), "disable" and
// "enable" switch add-ons off and on by the browser's own identifier, and
// "export" writes the plain-text add-on list.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// `args` holds the command name first. Exit codes: 0 done, 1 an add-on was
// not found or not switched, or a browser is running, 2 the command line
// is wrong.
int RunAddonsCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err);

}  // namespace orvix
