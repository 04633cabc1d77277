// The leftover scan of one program (or of a bare folder in forced
// uninstall): runs a fresh scanner and turns its findings into one branch
// of the result tree.
#pragma once

#include <string>

#include "inventory/soft_info.h"
#include "platform/pump_api.h"
#include "uninstall/result_tree.h"

namespace orvix {

class TRegeditScanClasses;

// The record the scan of a bare path works on: the folder of a file, or the
// folder itself (never its parent), named by the last name in the path.
TSoftInfo FolderScanRecord(const std::wstring& folderText);

class TLeftoverScan {
 public:
  // The pump, when given, processes window messages throughout the scan so
  // that Cancel can call Stop.
  explicit TLeftoverScan(IPump* pump = nullptr) : pump_(pump) {}

  // Scans for the entry's leftovers; with no entry, for the bare folder of
  // `folderText` (a file or folder path; a file's folder is not searched for
  // by its name, a folder's is). A non-empty folder text runs the file areas
  // alone. Answers the number of findings, 0 when the scan was
  // cancelled; only a positive answer adds a branch to the tree. The maker's
  // toolbar entries are never scanned. A program still installed has its
  // Uninstall key, folder and files marked as such (MarkStillInstalled).
  int ScanLeftovers(const TSoftInfo* entry, TLeftoverTree& tree, const std::wstring& folderText,
                    const TTreeImageList* programIcons = nullptr);

  // Asks the running scan to stop; its findings are then dropped.
  void Stop();
  bool Cancelled() const { return cancelled_; }

 private:
  IPump* pump_;
  TRegeditScanClasses* running_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace orvix
