#include "app/review_console.h"

#include <algorithm>

#include "app/console_pump.h"
#include "app/entry_lookup.h"
#include "app/scan_command.h"
#include "language/messages.h"
#include "platform/platform.h"
#include "platform/protected_locations.h"
#include "platform/text.h"

namespace orvix {
namespace {

// The file findings that hold another program's folder or lie in it, each
// named with that program; the refusal that says what to do.
void RefuseSharedFolder(const TLeftoverTree& tree, const std::vector<TOtherProgram>& others, ConsoleOutput& err) {
  err.Line(L"orvix: more than one installed program uses this program's folder; nothing was deleted.");
  bool named = false;
  for (const auto& program : tree.Programs()) {
    for (const auto& category : program->Children) {
      for (const auto& finding : category->Children) {
        if (finding->Data.ItemKind != ikFile) continue;
        const std::wstring path = CanonicalFolder(finding->Data.FilePath);
        for (const TOtherProgram& other : others) {
          const std::wstring folder = CanonicalFolder(other.folder);
          if (path.empty() || folder.empty() || !(StartsWithText(folder, path) || StartsWithText(path, folder)))
            continue;
          if (!named) err.Line(L"orvix: these findings are shared with another program:");
          err.Line(L"  " + finding->Data.FilePath + L"  (" + other.name + L": " + other.folder + L")");
          named = true;
          break;
        }
      }
    }
  }
  err.Line(L"orvix: check the findings (orvix scan), then add --shared-folder-ok to delete them all anyway.");
}

}  // namespace

std::vector<TOtherProgram> OtherPrograms(const TSoftwareInfo& inventory, const std::vector<const TSoftInfo*>& removed) {
  std::vector<TOtherProgram> others;
  for (const auto& entry : inventory.Items()) {
    if (entry->Hidden || Trim(entry->InstallLocation).empty()) continue;
    if (std::find(removed.begin(), removed.end(), entry.get()) != removed.end()) continue;
    others.push_back({NameWithView(*entry), Trim(entry->InstallLocation)});
  }
  return others;
}

bool ConsoleReviewPrompts::Confirm(const std::wstring& question) {
  return assumeYes_ || AskYesNo(out_, question, readLine_);
}

void ConsoleReviewPrompts::Message(const std::wstring& text, const std::wstring&) { out_.Line(text); }

bool ReportUninstallRun(const TUninstallResult& result, const std::wstring& name, ConsoleOutput& out,
                        ConsoleOutput& err) {
  if (result.Outcome == uoNotStarted) {
    err.Line(L"orvix: the uninstaller of " + name + L" could not be started: " + result.Command + L" (" +
             CurrentPlatform().System().SystemErrorText(result.Error) + L")");
    return false;
  }
  if (result.Outcome == uoStillInstalled) {
    err.Line(L"orvix: the uninstaller ended but " + name + L" is still installed");
    return false;
  }
  out.Line(result.Outcome == uoToolbarMarker ? name + L": nothing to run." : L"Uninstalled " + name + L".");
  return true;
}

bool ReviewFindings(TLeftoverTree& tree, bool warning, const TReviewOptions& options, ConsoleOutput& out,
                    ConsoleOutput& err, const TReadLine& readLine) {
  for (const auto& program : tree.Programs()) PrintLeftovers(out, program->Text, program.get());
  if (warning) {
    out.Line(Text(msg::lbl_Warning) + L" " +
             Text(msg::lbl_WarningText));
  }
  if (!options.deleteAll) return true;
  if (warning && !options.sharedFolderOk) {
    RefuseSharedFolder(tree, options.otherPrograms, err);
    return false;
  }
  ConsoleReviewPrompts prompts(out, readLine, options.assumeYes);
  TPowerScanModel review(tree, prompts);
  review.ShowWarning = warning;
  review.Shown();
  review.ClickSelectAll();
  if (options.shred) review.ToggleShredFiles();
  ConsolePump pump;
  const TPowerScanRun run = review.Delete(pump);
  if (!run.confirmed) {
    out.Line(L"Nothing was deleted.");
    return false;
  }
  out.Line(L"Removed " + std::to_wstring(run.removed) + L", left for the restart " + std::to_wstring(run.scheduled) +
           L", could not remove " + std::to_wstring(run.failed) + L".");
  if (run.refused > 0) {
    out.Line(L"Of those, " + std::to_wstring(run.refused) +
             L" are not the program's to delete (protected, shared or reached through a link); the log says why.");
  }
  return run.failed == 0;
}

TUninstallingEvents ConsoleSessionEvents(const TReviewOptions& options, ConsoleOutput& out, ConsoleOutput& err,
                                         const TReadLine& readLine, bool& allRan) {
  TUninstallingEvents events;
  events.showMessage = [&out](const std::wstring& text) { out.Line(text); };
  events.showReview = [options, &out, &err, &readLine, &allRan](TLeftoverTree& tree, bool warning) {
    if (!ReviewFindings(tree, warning, options, out, err, readLine)) allRan = false;
  };
  return events;
}

}  // namespace orvix
