#include "uninstall/leftover_scan.h"

#include "platform/file_helpers.h"
#include "platform/text.h"
#include "uninstall/quiet_command.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

bool IsToolbarEntry(const TSoftInfo& entry) {
  return entry.UninstallString == L"_SPECIAL_ORVIXTOOLBAR_" ||
         entry.UninstallString.find(L"_SPECIAL_TOOLBAR_") != std::wstring::npos;
}

}  // namespace

TSoftInfo FolderScanRecord(const std::wstring& folderText) {
  std::wstring folder = folderText;
  if (!folder.empty() && folder.back() != L'\\' && DirectoryExists(folder)) folder += L'\\';
  std::wstring name = folder;
  while (!name.empty() && name.back() == L'\\') name.pop_back();
  TSoftInfo record;
  record.InstallLocation = folder.substr(0, folder.rfind(L'\\') + 1);  // npos + 1 is 0: no folder
  record.DisplayName = name.substr(name.rfind(L'\\') + 1);
  record.IsX64 = false;
  return record;
}

int TLeftoverScan::ScanLeftovers(const TSoftInfo* entry, TLeftoverTree& tree, const std::wstring& folderText,
                                 const TTreeImageList* programIcons) {
  if (entry != nullptr && IsToolbarEntry(*entry)) return 0;
  const TSoftInfo record = entry != nullptr ? *entry : FolderScanRecord(folderText);
  // The folder of a chosen file is often one of the program's sub-folders
  // (bin, app, x64), whose name other programs' folders bear too: a file
  // gives no name to search for, only a folder chosen as such does.
  TSoftInfo scanned = record;
  if (entry == nullptr && !DirectoryExists(folderText)) scanned.DisplayName.clear();

  TRegFindings registry;
  TFileFindings files;
  TRegeditScanClasses scanner(pump_);
  scanner.Setup(&registry, &files, scanned, &tree.Images());
  cancelled_ = false;
  running_ = &scanner;
  if (!folderText.empty()) {
    scanner.FileScanOnly();
  } else {
    scanner.FullScan();
  }
  running_ = nullptr;
  if (scanner.WasStopped()) cancelled_ = true;

  const int found = cancelled_ ? 0 : static_cast<int>(registry.size() + files.size());
  if (found > 0) {
    AddProgramBranch(tree, record, registry, files, programIcons);
    // Asked to scan a program whose uninstaller has not removed it: its own
    // key and folder are shown for what they are, never checked for deletion.
    if (entry != nullptr && IsStillInstalled(*entry, entry->UninstallString))
      MarkStillInstalled(*tree.Programs().back(), *entry, scanner.Keyword());
  }
  scanner.ClearResults();
  return found;
}

void TLeftoverScan::Stop() {
  cancelled_ = true;
  if (running_ != nullptr) running_->Stop();
}

}  // namespace orvix
