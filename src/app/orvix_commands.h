// The commands of the console program orvix.exe, over the current platform.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"

namespace orvix {

// Exit codes of orvix.exe.
enum TExitCode { ecOk = 0, ecFailed = 1, ecUsage = 2 };

// Runs one command line (without the program name); returns the exit code.
// Commands that ask the user read the answers from standard input, or from
// `readLine`.
int RunOrvixCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err);
int RunOrvixCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                    const TReadLine& readLine);

// Prints "orvix: " + message and the pointer to --help; answers ecUsage.
int CommandLineError(ConsoleOutput& err, const std::wstring& message);

}  // namespace orvix
