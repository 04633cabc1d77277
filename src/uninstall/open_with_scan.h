// What the classes of both roots say about opening files with the program:
// Applications\<exe> keys, file types (".ext") and their "Open with" lists.
// Run after the classes themselves, whose found names and file types it reads.
#pragma once

#include <string>

#include "uninstall/scan_findings.h"

namespace orvix {

class TClassesRoot;
class TRegeditScanClasses;
class TScanKey;

class TOpenWithScan {
 public:
  void Run(TRegeditScanClasses& scan);

 private:
  void ReportApplications(TRegeditScanClasses& scan);
  void ReportFileTypes(TRegeditScanClasses& scan);
  void ReportFileType(TRegeditScanClasses& scan, const TClassesRoot& classes, TScanKey& type, const std::wstring& name);

  TFoundNames machineApplications_;
  TFoundNames userApplications_;
  TFoundNames types_;
  TFoundNames listKeys_;
};

}  // namespace orvix
