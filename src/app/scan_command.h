// orvix scan: the leftover scan from the console, of one installed program
// (every area, registry and files) or of a bare folder (files only, as a
// forced uninstall scans).
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"
#include "uninstall/result_tree.h"

namespace orvix {

// One program's branch as the review window shows it, one node a line; a
// line saying nothing was found when there is no branch.
void PrintLeftovers(ConsoleOutput& out, const std::wstring& programName, const TLeftoverNode* program);

// scan NAME [--json] | scan --folder PATH [--json], the command name first.
// Prints the findings in the order of the review tree; exit code 0 whatever
// was found, 1 when NAME names no single program or PATH does not exist,
// 2 when the command line is wrong.
int RunScanCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err);

}  // namespace orvix
