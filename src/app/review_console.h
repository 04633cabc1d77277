// The uninstall and review windows from the console: how an uninstaller's
// run went, the findings of the leftover scan, and on request their deletion
// as the review window deletes with every finding checked. Shared by orvix
// uninstall and orvix forced.
#pragma once

#include <string>
#include <vector>

#include "app/console_output.h"
#include "inventory/software_info.h"
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

// An installed program that stays, and its folder as its entry records it.
struct TOtherProgram {
  std::wstring name;
  std::wstring folder;
};

// The installed programs other than `removed` that record an install folder.
std::vector<TOtherProgram> OtherPrograms(const TSoftwareInfo& inventory, const std::vector<const TSoftInfo*>& removed);

// The option that lets a review delete although another program uses the folder.
inline constexpr const wchar_t* kSharedFolderOk = L"--shared-folder-ok";

struct TReviewOptions {
  bool deleteAll = false;
  bool shred = false;
  bool assumeYes = false;
  // Delete even when more than one program uses the scanned install folder.
  bool sharedFolderOk = false;
  // The programs that stay, to name the findings they share.
  std::vector<TOtherProgram> otherPrograms;
};

// What the review window would show, and with deleteAll what it would
// delete with every finding checked, written to the day's uninstall log.
// `warning`: more than one program keeps a folder inside the scanned one;
// then nothing is deleted without sharedFolderOk, and stderr names the
// findings that hold or lie in another program's folder. False when the
// deletion was refused or declined, or something could not be removed.
bool ReviewFindings(TLeftoverTree& tree, bool warning, const TReviewOptions& options, ConsoleOutput& out,
                    ConsoleOutput& err, const TReadLine& readLine);

// The uninstall session's events at the console: its messages printed, its
// review run by ReviewFindings; `allRan` turns false when a review did not
// complete.
TUninstallingEvents ConsoleSessionEvents(const TReviewOptions& options, ConsoleOutput& out, ConsoleOutput& err,
                                         const TReadLine& readLine, bool& allRan);

}  // namespace orvix
