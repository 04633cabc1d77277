#include "uninstall/leftover_scan.h"

#include "platform/text.h"
#include "uninstall/regedit_scan.h"

namespace orvix {
namespace {

bool IsToolbarEntry(const TSoftInfo& entry) {
  return entry.UninstallString == L"_SPECIAL_ORVIXTOOLBAR_" ||
         entry.UninstallString.find(L"_SPECIAL_TOOLBAR_") != std::wstring::npos;
}

// The record forced uninstall scans: the path's folder and its last name.
TSoftInfo FolderRecord(const std::wstring& folderText) {
  const std::size_t slash = folderText.rfind(L'\\');
  TSoftInfo record;
  record.DisplayName = slash == std::wstring::npos ? folderText : folderText.substr(slash + 1);
  record.InstallLocation = slash == std::wstring::npos ? L"" : folderText.substr(0, slash + 1);
  record.IsX64 = false;
  return record;
}

}  // namespace

int TLeftoverScan::ScanLeftovers(const TSoftInfo* entry, TLeftoverTree& tree, const std::wstring& folderText,
                                 const TTreeImageList* programIcons) {
  if (entry != nullptr && IsToolbarEntry(*entry)) return 0;
  const TSoftInfo record = entry != nullptr ? *entry : FolderRecord(folderText);

  TRegFindings registry;
  TFileFindings files;
  TRegeditScanClasses scanner(pump_);
  scanner.Setup(&registry, &files, record, &tree.Images());
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
  if (found > 0) AddProgramBranch(tree, record, registry, files, programIcons);
  scanner.ClearResults();
  return found;
}

void TLeftoverScan::Stop() {
  cancelled_ = true;
  if (running_ != nullptr) running_->Stop();
}

}  // namespace orvix
