// The process's start before any window exists: the command line's meaning,
// the self-installation hook, and the single instance. A second copy never
// shows a window: it forwards its request to the running one and ends.
// Called by the desktop program's main(); the main window's model reads the
// same arguments again once its list is filled.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvix {

// The first argument's meaning (trimmed, compared ignoring case).
enum TStartCommand {
  stcNone,
  stcInstall,             // "/install" target-folder
  stcMenuRight,           // "MenuRight": Explorer's menu wrote "MenuRight.dat"
  stcControlStatistics,   // "control_statistics" program-name
  stcExplorerStatistics,  // "explorer_statistics": Explorer's shred command
};

struct TStartArguments {
  TStartCommand command = stcNone;
  std::wstring first;   // the first argument as given, trimmed
  std::wstring second;  // the second argument, trimmed
};

// `args` are the arguments without the program's own name.
TStartArguments ParseStartArguments(const std::vector<std::wstring>& args);

// The self-installation, which lives elsewhere: whether the installed copy
// is missing or older than this one, and the installation into the folder
// the argument names. Unset functions install nothing.
struct TSelfInstallHooks {
  std::function<bool()> installWanted;
  std::function<void(const std::wstring& targetArgument)> install;
};

// Runs the start's routing on the current platform: the installation for
// "/install" (ending when no copy runs), then the single-instance mutex;
// when another copy holds it, its window is brought to the front and handed
// the request (a program name by WM_COPYDATA, the shred request by message).
// Answers the exit code when the process should end now, nothing when the
// program starts normally (the mutex is then this process's).
std::optional<int> RouteStart(const TStartArguments& args, const TSelfInstallHooks& install = {});

}  // namespace orvix
