// The uninstall and review windows from the console: how an uninstaller's
// run went, the findings of the leftover scan, and on request their deletion
// as the review window deletes with every finding checked. Shared by orvix
// uninstall and orvix forced.
#pragma once

#include "app/console_output.h"
#include "uninstall/power_scan_model.h"
#include "uninstall/result_tree.h"
#include "uninstall/uninstall_operations.h"
#include "uninstall/uninstalling_model.h"

namespace orvix {

// The review window's questions and messages at the console; --yes answers
// every question.
class ConsoleReviewPrompts : public IPowerScanPrompts {
 public:
  ConsoleReviewPrompts(ConsoleOutput& out, const TReadLine& readLine, bool assumeYes)
      : out_(out), readLine_(readLine), assumeYes_(assumeYes) {}
  bool Confirm(const std::wstring& question) override;
  void Message(const std::wstring& text, const std::wstring& title) override;

 private:
  ConsoleOutput& out_;
  const TReadLine& readLine_;
  bool assumeYes_;
};

// Prints how the uninstaller of `name` ran; false when it could not start,
// and then the program is still installed and is not scanned.
bool ReportUninstallRun(const TUninstallResult& result, const std::wstring& name, ConsoleOutput& out,
                        ConsoleOutput& err);

struct TReviewOptions {
  bool deleteAll = false;
  bool shred = false;
  bool assumeYes = false;
};

// What the review window would show, and with deleteAll what it would
// delete with every finding checked, written to the day's uninstall log.
// `warning`: more than one program keeps a folder inside the scanned one.
// False when the deletion was declined or something could not be removed.
bool ReviewFindings(TLeftoverTree& tree, bool warning, const TReviewOptions& options, ConsoleOutput& out,
                    const TReadLine& readLine);

// The uninstall session's events at the console: its messages printed, its
// review run by ReviewFindings; `allRan` turns false when a review did not
// complete.
TUninstallingEvents ConsoleSessionEvents(const TReviewOptions& options, ConsoleOutput& out, const TReadLine& readLine,
                                         bool& allRan);

}  // namespace orvix
