#include "app/forced_command.h"

#include <memory>
#include <optional>

#include "app/console_pump.h"
#include "app/orvix_commands.h"
#include "app/review_console.h"
#include "app/software_commands.h"
#include "inventory/software_info.h"
#include "language/messages.h"
#include "platform/file_helpers.h"
#include "platform/text.h"
#include "uninstall/forced_path.h"
#include "uninstall/forced_hand_over.h"
#include "uninstall/forced_uninstall_model.h"
#include "uninstall/uninstalling_model.h"

namespace orvix {
namespace {

struct TForcedOptions {
  std::wstring path;
  bool deleteAll = false;
  bool quiet = false;
  bool assumeYes = false;
  bool sharedFolderOk = false;
};

std::optional<std::wstring> ParseForcedOptions(const std::vector<std::wstring>& args, TForcedOptions& options) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--yes") {
      options.assumeYes = true;
    } else if (arg == L"--quiet") {
      options.quiet = true;
    } else if (arg == kSharedFolderOk) {
      options.sharedFolderOk = true;
    } else if (arg == L"--delete") {
      if (i + 1 >= args.size() || args[i + 1] != L"all") return L"--delete takes the word all";
      options.deleteAll = true;
      ++i;
    } else if (StartsWithText(arg, L"-")) {
      return L"unknown option for forced: " + arg;
    } else if (!options.path.empty()) {
      return L"forced takes one path, got another: " + arg + L" (quote a path with spaces)";
    } else {
      options.path = arg;
    }
  }
  if (Trim(options.path).empty()) return L"forced needs a file, folder or shortcut";
  if (!IsFullPath(options.path)) return L"forced needs a full path (C:\\...), got: " + options.path;
  if (options.sharedFolderOk && !options.deleteAll) return L"forced " + std::wstring(kSharedFolderOk) + L" needs --delete all";
  return std::nullopt;
}

class ConsoleForcedPrompts : public IForcedUninstallPrompts {
 public:
  explicit ConsoleForcedPrompts(ConsoleOutput& err) : err_(err) {}
  void Message(const std::wstring& text) override { err_.Line(L"orvix: " + text); }

 private:
  ConsoleOutput& err_;
};

void PrintRows(const TForcedUninstallModel& model, ConsoleOutput& out) {
  out.Line(L"Installed in this folder:");
  for (const TForcedRow& row : model.Rows()) {
    std::wstring line = L"  " + row.caption;
    if (!row.sizeText.empty()) line += L"  " + row.sizeText;
    if (!row.installDateText.empty()) line += L"  " + row.installDateText;
    out.Line(line);
  }
}

// The uninstall window as forced uninstall starts it, driven from the
// console: an entry's uninstaller runs and its leftovers are scanned; the
// bare-path run (state 3) deletes the chosen file (and a shortcut's target),
// then scans their folder. The findings go to the console's review.
class ConsoleForcedLauncher : public IForcedUninstallLauncher {
 public:
  ConsoleForcedLauncher(TSoftwareInfo& inventory, const TForcedOptions& options, ConsoleOutput& out,
                        ConsoleOutput& err, const TReadLine& readLine)
      : inventory_(inventory), options_(options), out_(out), err_(err), readLine_(readLine) {}

  void RunForced(const TForcedUninstallRequest& request) override {
    if (request.ByPath()) {
      RunBarePath(request);
    } else {
      RunEntry(request);
    }
  }

  int Result() const { return allRan_ ? ecOk : ecFailed; }

 private:
  // One uninstall window per run, as each Next opens one; no restore point
  // and no automatic steps. `removed`: the program that goes, if any.
  std::unique_ptr<TUninstallingModel> OpenSession(const TSoftInfo* removed) {
    const TReviewOptions review{options_.deleteAll, false, options_.assumeYes, options_.sharedFolderOk,
                                OtherPrograms(inventory_, {removed})};
    auto session = std::make_unique<TUninstallingModel>(
        inventory_, pump_, ConsoleSessionEvents(review, out_, err_, readLine_, allRan_), TUninstallingOptions{});
    session->Operations().Quiet = options_.quiet;
    return session;
  }

  void RunEntry(const TForcedUninstallRequest& request) {
    const TSoftInfo& entry = *request.entry;
    if (!options_.assumeYes &&
        !AskYesNo(out_, L"Uninstall " + entry.DisplayName + L" with its own uninstaller?", readLine_)) {
      out_.Line(L"Nothing was uninstalled.");
      allRan_ = false;
      return;
    }
    const auto session = OpenSession(&entry);
    StartForcedUninstall(*session, request);
    session->UninstallClick();
    session->UninstallTimer();
    // A program whose uninstaller did not start is still installed: no scan.
    if (session->Results().empty() ||
        !ReportUninstallRun(session->Results().front(), entry.DisplayName, out_, err_)) {
      allRan_ = false;
      return;
    }
    session->PowerfulScanClick();
  }

  void RunBarePath(const TForcedUninstallRequest& request) {
    out_.Line(L"No installed program uses this folder.");
    if (!ConfirmDeletion(request)) return;
    const auto session = OpenSession(nullptr);
    StartForcedUninstall(*session, request);
    for (const TForcedDeletion& deletion : session->ForcedDeletions()) {
      if (deletion.deleted) {
        out_.Line(L"Deleted " + deletion.path);
      } else {
        err_.Line(L"orvix: could not delete " + deletion.path +
                  (deletion.refusal.empty() ? L"" : L" (" + deletion.refusal + L")"));
        allRan_ = false;
      }
    }
    const std::wstring folder = BarePathScanFolder(request.pathBoxPath);
    if (folder.empty()) {
      out_.Line(L"A shortcut's folder holds nothing of its program: no leftover scan.");
      return;
    }
    out_.Line(L"Scanning " + folder + L" for leftovers...");
    session->PowerfulScanClick();
  }

  // Lists the files state 3 deletes and asks; false when the user declined.
  bool ConfirmDeletion(const TForcedUninstallRequest& request) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : {request.forcedPath, request.pathBoxPath}) {
      if (FileExists(path) && (files.empty() || !SameText(files.front(), path))) files.push_back(path);
    }
    if (files.empty()) return true;
    for (const std::wstring& file : files) out_.Line(L"To delete: " + file);
    if (options_.assumeYes || AskYesNo(out_, L"Delete these files?", readLine_)) return true;
    out_.Line(L"Nothing was deleted.");
    allRan_ = false;
    return false;
  }

  ConsolePump pump_;
  TSoftwareInfo& inventory_;
  const TForcedOptions& options_;
  ConsoleOutput& out_;
  ConsoleOutput& err_;
  const TReadLine& readLine_;
  bool allRan_ = true;
};

}  // namespace

int RunForcedCommand(const std::vector<std::wstring>& args, ConsoleOutput& out, ConsoleOutput& err,
                     const TReadLine& readLine) {
  TForcedOptions options;
  if (const auto error = ParseForcedOptions(args, options)) return CommandLineError(err, *error);

  TSoftwareInfo inventory;
  ConsoleForcedPrompts prompts(err);
  TForcedUninstallModel model(inventory, prompts);
  auto accept = [&] {
    return DirectoryExists(options.path) && !IsShortcutName(options.path) ? model.AcceptFolder(options.path)
                                                                          : model.AcceptPath(options.path);
  };
  if (!accept()) {
    const bool exists = FileExists(options.path) || DirectoryExists(options.path);
    err.Line(L"orvix: " + Text(msg::ForcedUninstall_Browser_Tip) + L" " +
             options.path + (exists ? L" (a drive, Windows or desktop folder, or a shortcut to a folder)"
                                    : L" (no such file or folder)"));
    return ecFailed;
  }
  // The analysis finds the install folders that Uninstall keys leave out. It
  // writes the software cache, so it waits until the path is accepted; the
  // path is then taken again, over what it found.
  PrepareInventory(inventory, true);
  accept();
  if (!SameText(model.ChosenPath(), model.PathBox())) out.Line(L"Shortcut: " + model.ChosenPath());
  out.Line(L"Path: " + model.PathBox());
  if (!model.Rows().empty()) PrintRows(model, out);

  ConsoleForcedLauncher launcher(inventory, options, out, err, readLine);
  if (model.Rows().empty()) {
    if (!model.Next(launcher)) {
      err.Line(L"orvix: nothing to uninstall for " + options.path);
      return ecFailed;
    }
    return launcher.Result();
  }
  // Every program installed there goes, each through the uninstall window's run.
  for (int row = 0; row < static_cast<int>(model.Rows().size()); ++row) {
    model.SelectRow(row);
    model.Next(launcher);
  }
  return launcher.Result();
}

}  // namespace orvix
