// One area of the leftover scan: a part of the registry or the file system
// that the scanner searches for what still points at the removed program.
//
// Adding an area:
//   1. Derive from TScanArea in a file of its own (or one file per group of
//      related areas); give it its place in the fixed order (Number()), say
//      whether it needs the keyword and in which registry view(s) it runs.
//   2. In Run, walk the registry through TScanKey (scan_registry.h) in
//      scan.View64(), call scan.Tick() once per key or value visited and stop
//      when it answers false, and report through scan.ReportKey /
//      ReportClassesKey / ReportValue / AddKeyFinding, or for files through
//      scan.FileOutput() (regedit_scan.h).
//   3. Add its factory to MakeScanAreas() in scan_area_list.cpp.
#pragma once

#include <memory>

namespace orvix {

class TRegeditScanClasses;

// The registry view(s) an area runs in. On a 32-bit machine every area runs
// once, in its only view.
enum TScanViews {
  svEntry,      // the view the program's uninstall entry was found in
  svBoth,       // on 64-bit Windows: the entry's view, then the other one
                // (registrations kept apart per view: CLSID, Interface, ...)
  svMachine64,  // on 64-bit Windows: the 64-bit view, where Windows keeps
                // machine-wide data whatever the program's bitness
};

enum TScanAreaKind {
  sakRegistry,  // runs in the full scan
  sakFiles,     // runs in the full scan and alone in the scan of a bare folder
};

class TScanArea {
 public:
  virtual ~TScanArea() = default;

  // The area's place in the fixed order of the full scan (1 to 21).
  virtual int Number() const = 0;
  // Areas that need the keyword are skipped when it is empty (no install
  // folder, or a protected one).
  virtual bool NeedsKeyword() const = 0;
  virtual TScanViews Views() const { return svEntry; }
  virtual TScanAreaKind Kind() const { return sakRegistry; }

  // Runs the area once in scan.View64(). An area object lives for one scan,
  // so what it remembers between its views lasts that long.
  virtual void Run(TRegeditScanClasses& scan) = 0;
};

using TScanAreaPtr = std::unique_ptr<TScanArea>;

}  // namespace orvix
