#include "app/review_console.h"

#include "app/console_pump.h"
#include "app/scan_command.h"
#include "platform/platform.h"
#include "platform/texts.h"

namespace orvix {

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
  out.Line(result.Outcome == uoToolbarMarker ? name + L": nothing to run." : L"Uninstalled " + name + L".");
  return true;
}

bool ReviewFindings(TLeftoverTree& tree, bool warning, const TReviewOptions& options, ConsoleOutput& out,
                    const TReadLine& readLine) {
  for (const auto& program : tree.Programs()) PrintLeftovers(out, program->Text, program.get());
  if (warning) {
    out.Line(Text(L"lbl_Warning", L"Warning:") + L" " +
             Text(L"lbl_WarningText",
                  L"Multiple programs detected in the current directory.Please be careful when selecting items to "
                  L"delete."));
  }
  if (!options.deleteAll) return true;
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

TUninstallingEvents ConsoleSessionEvents(const TReviewOptions& options, ConsoleOutput& out, const TReadLine& readLine,
                                         bool& allRan) {
  TUninstallingEvents events;
  events.showMessage = [&out](const std::wstring& text) { out.Line(text); };
  events.showReview = [options, &out, &readLine, &allRan](TLeftoverTree& tree, bool warning) {
    if (!ReviewFindings(tree, warning, options, out, readLine)) allRan = false;
  };
  return events;
}

}  // namespace orvix
