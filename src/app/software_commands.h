// The installed-software commands of orvix.exe: list, export and
// remove-entry, over the inventory of the current platform.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

class TSoftwareInfo;

// Brings a fresh inventory to what the software page shows: the entries
// take what the software cache knows of them, then, with `runAnalysis`, one
// whole analysis pass completes them (install folders, sizes, dates).
void PrepareInventory(TSoftwareInfo& inventory, bool runAnalysis);

// Each takes the command line with the command name first and answers the
// exit code (TExitCode).

// list [--category all|recent|large|rarely|updates] [--filter TEXT] [--json] [--no-analysis]
int RunListCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err);
// export FILE
int RunExportCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err);
// remove-entry NAME [--yes]: asks through `readLine` unless --yes.
int RunRemoveEntryCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                          const TReadLine& readLine);

}  // namespace orvix
