// The default-programs lists (RegisteredApplications of the machine and of
// the user): each value names an application's capabilities key. Run after
// the vendor keys, whose findings it reads.
#pragma once

#include "uninstall/scan_findings.h"

namespace orvix {

class TRegeditScanClasses;

class TRegisteredApplications {
 public:
  void Run(TRegeditScanClasses& scan);

 private:
  TFoundNames capabilities_;
};

}  // namespace orvix
