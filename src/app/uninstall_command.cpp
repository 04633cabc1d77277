#include "app/uninstall_command.h"

#include <algorithm>
#include <optional>

#include "app/console_pump.h"
#include "app/entry_lookup.h"
#include "app/orvix_commands.h"
#include "app/review_console.h"
#include "inventory/software_info.h"
#include "language/messages.h"
#include "platform/text.h"
#include "uninstall/quiet_command.h"
#include "uninstall/uninstalling_model.h"

namespace orvix {
namespace {

struct TUninstallOptions {
  std::vector<std::wstring> names;
  bool scan = false;
  bool deleteAll = false;
  bool shred = false;
  bool restorePoint = false;
  bool quiet = false;
  bool assumeYes = false;
  bool sharedFolderOk = false;
};

std::optional<std::wstring> ParseUninstallOptions(const std::vector<std::wstring>& args, TUninstallOptions& options) {
  bool deleteGiven = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--scan") {
      options.scan = true;
    } else if (arg == L"--shred") {
      options.shred = true;
    } else if (arg == L"--restore-point") {
      options.restorePoint = true;
    } else if (arg == L"--quiet") {
      options.quiet = true;
    } else if (arg == L"--yes") {
      options.assumeYes = true;
    } else if (arg == kSharedFolderOk) {
      options.sharedFolderOk = true;
    } else if (arg == L"--delete") {
      if (i + 1 == args.size()) return L"uninstall --delete needs all or none";
      const std::wstring& value = args[++i];
      if (value != L"all" && value != L"none") return L"uninstall --delete takes all or none, got: " + value;
      options.deleteAll = value == L"all";
      deleteGiven = true;
    } else if (StartsWithText(arg, L"-")) {
      return L"unknown option for uninstall: " + arg;
    } else if (Trim(arg).empty()) {
      return L"uninstall takes program names, got an empty one";
    } else {
      options.names.push_back(arg);
    }
  }
  if (options.names.empty()) return L"uninstall needs the name of an installed program";
  if (deleteGiven && !options.scan) return L"uninstall --delete needs --scan";
  if (options.shred && !options.deleteAll) return L"uninstall --shred needs --delete all";
  if (options.sharedFolderOk && !options.deleteAll) return L"uninstall " + std::wstring(kSharedFolderOk) + L" needs --delete all";
  return std::nullopt;
}

// The programs the names stand for, in the order of the software list;
// empty after printing why when a name stands for none.
std::vector<const TSoftInfo*> FindEntries(const TSoftwareInfo& inventory, const std::vector<std::wstring>& names,
                                          ConsoleOutput& err) {
  std::vector<const TSoftInfo*> found;
  bool missing = false;
  for (const std::wstring& name : names) {
    const TSoftInfo* entry = FindEntryByName(inventory, name, nmWholeName, err);
    if (entry == nullptr) {
      missing = true;
    } else if (std::find(found.begin(), found.end(), entry) == found.end()) {
      found.push_back(entry);
    }
  }
  if (missing) return {};
  const TSoftList& items = inventory.Items();
  auto position = [&](const TSoftInfo* entry) {
    return std::find_if(items.begin(), items.end(), [&](const auto& item) { return item.get() == entry; });
  };
  std::sort(found.begin(), found.end(), [&](const TSoftInfo* a, const TSoftInfo* b) { return position(a) < position(b); });
  return found;
}

}  // namespace

int RunUninstallCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                        const TReadLine& readLine) {
  TUninstallOptions options;
  if (const auto error = ParseUninstallOptions(args, options)) return CommandLineError(err, *error);

  TSoftwareInfo inventory;
  std::vector<const TSoftInfo*> entries = FindEntries(inventory, options.names, err);
  if (entries.empty()) return ecFailed;
  // Run without its windows, an uninstaller that takes no known silent
  // switch would wait for clicks nobody gives, or do nothing at all.
  if (options.quiet) {
    for (const TSoftInfo* entry : entries) {
      if (!QuietUninstallCommand(*entry).empty()) continue;
      err.Line(L"orvix: " + NameWithView(*entry) +
               L" records no quiet uninstall command and its uninstaller takes no silent switch orvix knows;"
               L" uninstall it without --quiet");
      return ecFailed;
    }
  }
  for (const TSoftInfo* entry : entries) out.Line(NameWithView(*entry) + L": " + entry->UninstallString);
  if (!options.assumeYes &&
      !AskYesNo(out, Text(msg::lbl_Question), readLine)) {
    out.Line(L"Nothing was uninstalled.");
    return ecFailed;
  }

  bool allRan = true;
  ConsolePump pump;
  const TReviewOptions review{options.deleteAll, options.shred, options.assumeYes, options.sharedFolderOk,
                              OtherPrograms(inventory, entries)};
  TUninstallingModel session(inventory, pump, ConsoleSessionEvents(review, out, err, readLine, allRan),
                             {options.restorePoint, false, false});
  session.Operations().Quiet = options.quiet;
  session.SetEntries(entries, entries.size() > 1);
  session.UninstallClick();
  session.UninstallTimer();

  std::vector<const TSoftInfo*> uninstalled;
  for (std::size_t i = 0; i < session.Results().size(); ++i) {
    if (!ReportUninstallRun(session.Results()[i], NameWithView(*entries[i]), out, err)) {
      allRan = false;
      continue;
    }
    uninstalled.push_back(entries[i]);
  }

  if (options.scan) {
    // A program whose uninstaller did not run is still installed: it is
    // scanned only when asked for by itself (orvix scan).
    if (uninstalled.size() < entries.size()) out.Line(L"Programs whose uninstaller did not run are not scanned.");
    if (!uninstalled.empty()) {
      session.SetEntries(uninstalled, uninstalled.size() > 1);
      session.PowerfulScanClick();
    }
  }
  return allRan ? ecOk : ecFailed;
}

}  // namespace orvix
