#include "app/orvix_commands.h"

#include "app/addons_command.h"
#include "app/logs_command.h"
#include "app/forced_command.h"
#include "app/scan_command.h"
#include "app/shred_command.h"
#include "app/software_commands.h"
#include "app/uninstall_command.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/settings.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr const wchar_t* kUsage =
    L"Usage: orvix COMMAND [OPTIONS]\n"
    L"\n"
    L"Commands:\n"
    L"  about             Show the program's version, the Windows version, the data\n"
    L"                    folder (created when missing) and the settings file.\n"
    L"  keys KEY [--64]   List KEY and every key below it, parents first, with the\n"
    L"                    DisplayName of each key that has one. KEY is a root name\n"
    L"                    and a path, e.g. HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft.\n"
    L"                    --64 reads the 64-bit registry view (64-bit Windows only).\n"
    L"  list [--category all|recent|large|rarely|updates] [--filter TEXT] [--json]\n"
    L"       [--no-analysis]\n"
    L"                    List the installed programs of one category (all but\n"
    L"                    Windows updates by default) in the order found. --filter\n"
    L"                    keeps names that contain TEXT, ignoring case; --json prints\n"
    L"                    one JSON array; --no-analysis skips measuring sizes, dates\n"
    L"                    and usage (what the software cache knows is still shown).\n"
    L"  export FILE       Write the list of every installed program to FILE as\n"
    L"                    UTF-16 text, as \"Export Application List\" does.\n"
    L"  remove-entry NAME [--yes]\n"
    L"                    Delete the Uninstall registry key of one program without\n"
    L"                    running its uninstaller. NAME is its whole name, or a part\n"
    L"                    of it that no other program's name contains. Asks first\n"
    L"                    unless --yes.\n"
    L"  scan NAME [--json]\n"
    L"  scan --folder PATH [--json]\n"
    L"                    Search the registry and the disk for what still belongs\n"
    L"                    to a program: the one whose name is NAME (ignoring case),\n"
    L"                    as after its uninstaller has run, or with --folder the\n"
    L"                    files of a program that has no entry (the folder PATH, or\n"
    L"                    the folder of the file PATH). Lists what was found, as\n"
    L"                    the review tree shows it; deletes nothing. --json prints\n"
    L"                    {\"program\", \"registry\": [{\"root\", \"key\", \"value\",\n"
    L"                    \"data\", \"text\", \"view\"}], \"files\": [{\"path\", \"kind\",\n"
    L"                    \"size\"}]}; \"value\" and \"data\" are null for a key,\n"
    L"                    \"view\" is \"64\" or \"32\", \"kind\" \"folder\" or \"file\".\n"
    L"  addons list [--browser ie|chrome|firefox|opera] [--json]\n"
    L"  addons disable ID...\n"
    L"  addons enable ID...\n"
    L"  addons export FILE\n"
    L"                    The browsers' add-ons: list them (switched-off ones too),\n"
    L"                    switch them off or on again by the browser's own id (as\n"
    L"                    listed; BROWSER:ID where two browsers have one id), or\n"
    L"                    write the add-on list to FILE as UTF-16 text. A running\n"
    L"                    browser is left alone. --json prints one array of\n"
    L"                    {\"browser\", \"group\", \"id\", \"caption\", \"publisher\",\n"
    L"                    \"version\", \"paths\", \"active\", \"trust\", \"is64Bit\"}.\n"
    L"  shred PATH... [--yes]\n"
    L"                    Overwrite each file twice, then delete it; a folder stands\n"
    L"                    for every file below it (names beginning with \".\" left\n"
    L"                    out). Asks first unless --yes; exit code 1 when a file\n"
    L"                    was not shredded. A PATH that does not exist stops it\n"
    L"                    before anything is shredded.\n"
    L"  logs [list | show DATE | delete DATE | delete-all] [--yes]\n"
    L"                    The uninstall logs, one file a day in the Log folder of\n"
    L"                    the data folder: list their paths (the default), print\n"
    L"                    the log of DATE (yyyy-mm-dd), delete it, or delete every\n"
    L"                    log. Deleting asks first unless --yes; a log in use is\n"
    L"                    deleted at the next restart.\n"
    L"  uninstall NAME... [--scan] [--delete all|none] [--shred] [--restore-point]\n"
    L"            [--quiet] [--yes] [--shared-folder-ok]\n"
    L"                    Run the uninstaller of each program (its whole name,\n"
    L"                    ignoring case; several run one after another in the\n"
    L"                    order of the list) and wait until it and everything it\n"
    L"                    started have ended. --quiet runs the program's silent\n"
    L"                    uninstall where it has one (QuietUninstallString, or\n"
    L"                    msiexec with /qn). --restore-point makes a system\n"
    L"                    restore point first. --scan then lists what the\n"
    L"                    uninstallers left; --delete all deletes all of it (a file\n"
    L"                    in use goes at the next restart), --shred overwrites\n"
    L"                    files before. A program whose uninstaller could not be\n"
    L"                    started is not scanned. The day's uninstall log records\n"
    L"                    each program and each deletion. Asks first unless --yes;\n"
    L"                    exit code 1 when a step did not run or something could\n"
    L"                    not be removed. When another installed program uses the\n"
    L"                    program's folder, --delete all deletes nothing and names\n"
    L"                    the findings shared with it, unless --shared-folder-ok.\n"
    L"  forced PATH [--delete all] [--quiet] [--yes] [--shared-folder-ok]\n"
    L"                    Forced uninstall from a program file, a folder or a\n"
    L"                    shortcut (PATH a full path). Lists the programs installed\n"
    L"                    in that folder, runs the uninstaller of each (--quiet as\n"
    L"                    for uninstall) and scans for its leftovers; a program\n"
    L"                    whose uninstaller could not be started is not scanned.\n"
    L"                    When none is installed there, deletes the file (and a\n"
    L"                    shortcut's target), then scans its folder. --delete all\n"
    L"                    deletes every finding (a file in use goes at the next\n"
    L"                    restart). The day's uninstall log records each program\n"
    L"                    and each deletion. Asks first unless --yes. Drive roots\n"
    L"                    and the Windows, system, desktop and start menu folders\n"
    L"                    are refused; --shared-folder-ok as for uninstall.\n"
    L"  --help            Show this text.\n"
    L"\n"
    L"Exit codes: 0 success, 1 the command failed, 2 the command line is wrong.\n";

int ListKeys(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  std::wstring keyText;
  bool view64 = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--64") {
      view64 = true;
    } else if (StartsWithText(args[i], L"--")) {
      return CommandLineError(err, L"unknown option for keys: " + args[i]);
    } else if (keyText.empty()) {
      keyText = args[i];
    } else {
      return CommandLineError(err, L"keys takes one key, got another: " + args[i]);
    }
  }
  if (keyText.empty()) return CommandLineError(err, L"keys needs a key, e.g. HKEY_LOCAL_MACHINE\\SOFTWARE");
  std::wstring rootName;
  std::wstring keyPath;
  if (!SplitKeyText(keyText, rootName, keyPath))
    return CommandLineError(
        err, L"not a registry key (it must begin with a root name such as HKEY_LOCAL_MACHINE): " + keyText);
  if (view64 && !IsWow64()) {
    err.Line(L"orvix: this Windows has a single registry view; --64 applies only to 64-bit Windows");
    return ecFailed;
  }
  std::vector<std::wstring> keys;
  RegListKeyTree(rootName, keyPath, keys, view64);
  if (!RegKeyExistsAt(rootName, keyPath, view64)) {
    err.Line(L"orvix: no such key: " + rootName + keyPath);
    return ecFailed;
  }
  for (const std::wstring& key : keys) {
    const std::wstring name = RegReadStringAt(rootName, key, L"DisplayName", view64);
    out.Line(rootName + key + (name.empty() ? L"" : L"  = " + name));
  }
  return ecOk;
}

int About(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  if (args.size() > 1) return CommandLineError(err, L"about takes no arguments, got: " + args[1]);
  const std::wstring os = OsName();
  const std::wstring dataFolder = DataFolder();
  out.Line(L"Orvix Uninstaller " + FileVersionText(CurrentPlatform().Shell().GetModuleFileName()));
  out.Line(L"Windows:       " + (os.empty() ? L"(unknown version)" : os));
  out.Line(L"Data folder:   " + (dataFolder.empty() ? L"(none: this user has no application data folder)" : dataFolder));
  out.Line(L"Settings file: " + (dataFolder.empty() ? L"(none)" : SettingsPath()));
  return dataFolder.empty() ? ecFailed : ecOk;
}

}  // namespace

int CommandLineError(ConsoleOutput& err, const std::wstring& message) {
  err.Line(L"orvix: " + message);
  err.Line(L"Run \"orvix --help\" for the commands.");
  return ecUsage;
}

int RunOrvixCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err) {
  return RunOrvixCommand(args, out, err, StandardInputLine);
}

int RunOrvixCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                    const TReadLine& readLine) {
  if (args.empty()) return CommandLineError(err, L"no command given");
  const std::wstring& command = args[0];
  if (command == L"--help" || command == L"-h" || command == L"help") {
    if (args.size() > 1) return CommandLineError(err, command + L" takes nothing after it, got: " + args[1]);
    out.Write(kUsage);
    return ecOk;
  }
  if (command == L"about") return About(args, out, err);
  if (command == L"keys") return ListKeys(args, out, err);
  if (command == L"scan") return RunScanCommand(args, out, err);
  if (command == L"addons") return RunAddonsCommand(args, out, err);
  if (command == L"shred") return RunShredCommand(args, out, err, readLine);
  if (command == L"logs") return RunLogsCommand(args, out, err, readLine);
  if (command == L"forced") return RunForcedCommand(args, out, err, readLine);
  if (command == L"list") return RunListCommand(args, out, err);
  if (command == L"export") return RunExportCommand(args, out, err);
  if (command == L"remove-entry") return RunRemoveEntryCommand(args, out, err, readLine);
  if (command == L"uninstall") return RunUninstallCommand(args, out, err, readLine);
  return CommandLineError(err, L"unknown command: " + command);
}

}  // namespace orvix
