// The leftover scanner: searches the registry and the file system for what
// still points at a removed program, area by area in a fixed order (the
// areas are TScanArea objects, see scan_area.h), and returns two flat lists
// of findings.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/soft_info.h"
#include "platform/protected_locations.h"
#include "platform/pump_api.h"
#include "uninstall/scan_area.h"
#include "uninstall/scan_findings.h"
#include "uninstall/scan_registry.h"
#include "uninstall/tree_images.h"

namespace orvix {

enum TScanState : int { ssRunning = 0, ssStopRequested = 1, ssIdle = 2 };

// The found-name lists that later areas read.
struct TFoundLists {
  TFoundNames Clsids;    // filled by the CLSID area
  TFoundNames TypeLibs;  // filled by the CLSID area
  TFoundNames AppIds;    // filled by the CLSID area and the AppID area
  TFoundNames Classes;   // ProgIDs of found CLSIDs, and the classes of HKEY_LOCAL_MACHINE
  TFoundNames UserClasses;  // the classes of HKEY_CURRENT_USER
  // Lower-case file names of the program's executables, as the file types'
  // "Open with" lists name them: those its own classes and Applications keys run.
  std::set<std::wstring> Executables;
  // The file types (".ext") of each root's classes, as the class areas
  // listed them, for the "Open with" pass after them.
  std::vector<std::wstring> UserFileTypes;
  std::vector<std::wstring> MachineFileTypes;

  // A class found in either root.
  bool IsFoundClass(std::wstring_view name) const { return Classes.Contains(name) || UserClasses.Contains(name); }
};

// The keyword of an install location: its folder (the folder holding it when
// it names a file) as CanonicalFolder writes it, lower case with a trailing
// backslash, so that C:\Program Files\Foo never matches ...\Foo2. Empty when
// the location is empty, relative, or protected. The scan's keyword is also
// empty when another program is installed there (shared_install_folder.h).
std::wstring ScanKeyword(const std::wstring& installLocation, const TProtectedLocations& locations);
// The install location a scan goes by: the folder the inventory found, or
// else the one the Uninstall key names, which the uninstaller may have
// removed while the registry and other folders still point into it, or else
// the folder of the uninstall command or the icon, even when the uninstaller
// removed it (never a shared or protected one).
std::wstring ScanLocation(const TSoftInfo& record);

class TRegeditScanClasses {
 public:
  // The pump, when given, processes window messages once per element of
  // every loop, so that a Cancel button can call Stop.
  explicit TRegeditScanClasses(IPump* pump = nullptr);
  TRegeditScanClasses(const TRegeditScanClasses&) = delete;
  TRegeditScanClasses& operator=(const TRegeditScanClasses&) = delete;

  // Copies the record and derives the keyword and the uninstall key; the
  // outputs and the image list (which receives file icons) are not owned.
  void Setup(TRegFindings* regOutput, TFileFindings* fileOutput, const TSoftInfo& record, TTreeImageList* images);

  // Every area in order, each only while no stop was requested.
  void FullScan();
  // The same over the given areas (ordered by the caller).
  void FullScan(const std::vector<TScanAreaPtr>& areas);
  // The file areas alone, for a bare folder (forced uninstall): the install
  // location is cut to its folder part (an existing folder is kept whole),
  // and there is no uninstall key.
  void FileScanOnly();
  void FileScanOnly(const std::vector<TScanAreaPtr>& areas);
  void Stop();
  // Empties the found-name lists, the installer folders and both outputs.
  void ClearResults();
  bool IsProtected(const std::wstring& path) const { return protected_.IsProtected(path); }

  TScanState ScanState() const { return state_; }
  // Whether a stop was requested during the last scan (its findings are then
  // incomplete and must not be offered).
  bool WasStopped() const { return stopped_; }

  // --- For the areas ------------------------------------------------------

  const TSoftInfo& Record() const { return record_; }
  const std::wstring& Keyword() const { return keyword_; }
  // Other programs' install folders inside the keyword's folder: theirs,
  // never matched nor walked.
  const std::vector<std::wstring>& OtherProgramFolders() const { return otherFolders_; }
  // Whether the lower-cased text contains the keyword and no other program's
  // folder (never for an empty keyword).
  bool MatchesKeyword(std::wstring_view text) const;
  // The record's uninstall key ("\SOFTWARE\...\Uninstall\Foo") and root name.
  const std::wstring& UninstallKeyPath() const { return uninstallKeyPath_; }
  const std::wstring& UninstallRootName() const { return uninstallRootName_; }
  // The uninstall key's last element (a Windows Installer product's code);
  // empty in the scan of a bare folder and when the record has no key.
  std::wstring UninstallKeyName() const;
  const TProtectedLocations& Protected() const { return protected_; }

  // The view the running area works in.
  bool View64() const { return view64_; }
  bool EntryView64() const { return entryView64_; }
  // True on 64-bit Windows, which has two registry views.
  bool Wow64() const { return wow64_; }

  // Processes window messages once; false when a stop has been requested.
  bool Tick();

  // Reports a key with every key and value below it, parents first and each
  // key's sub-keys before its values, unless `name` is already in the list
  // for this view or the key does not open. The name joins the list.
  void ReportKey(TFoundNames& list, HKEY root, const std::wstring& name, const std::wstring& keyPath);
  // The same for a class key, given by its path below the classes
  // ("CLSID\{x}"): the key under HKLM\SOFTWARE\Classes and, with `mirror`,
  // the same key under HKEY_CLASSES_ROOT (recorded in the list's mirror).
  void ReportClassesKey(TFoundNames& list, const std::wstring& name, const std::wstring& classPath, bool mirror = true);
  // Reports a value; its data is read when not given. Nothing when both
  // name and data are empty.
  void ReportValue(HKEY root, const std::wstring& keyPath, const std::wstring& name,
                   const std::optional<std::wstring>& data = std::nullopt, TRegeditItemGroup* group = nullptr);
  void ReportValue(TScanKey& key, const std::wstring& name, TRegeditItemGroup* group = nullptr);
  // A key finding taken as it stands: the key is not opened, nothing below it
  // is reported.
  void AddKeyFinding(HKEY root, const std::wstring& keyPath);
  // Whether the key, or a key above it, is among the findings of this scan.
  bool ReportedAtOrAbove(HKEY root, const std::wstring& keyPath, bool view64) const;

  TFoundLists& Found() { return found_; }
  // Lower-case folders of the program's Windows Installer components,
  // collected by the installer area for the file scan.
  std::vector<std::wstring>& InstallerFolders() { return installerFolders_; }
  TRegFindings& RegOutput() { return *regOutput_; }
  TFileFindings& FileOutput() { return *fileOutput_; }
  TTreeImageList* Images() { return images_; }

 private:
  friend class TScanViewSwitch;

  void Begin(bool fileScanOnly);
  void RunArea(TScanArea& area);
  std::vector<bool> ViewsOf(const TScanArea& area) const;
  void ReportOpenedKey(TScanKey& key, TRegeditItemGroup& group);
  // Appends a finding unless the same key or value is already in the output.
  void Append(const TShowRegInfo& finding);

  IPump* pump_;
  TProtectedLocations protected_;
  TScanState state_ = ssIdle;
  bool stopped_ = false;
  bool fileScanOnly_ = false;

  TSoftInfo record_;
  std::wstring keyword_;
  std::vector<std::wstring> otherFolders_;
  std::wstring uninstallKeyPath_;
  std::wstring uninstallRootName_;
  bool wow64_ = false;
  bool entryView64_ = false;
  bool view64_ = false;

  TRegFindings ownRegOutput_;
  TFileFindings ownFileOutput_;
  TRegFindings* regOutput_ = &ownRegOutput_;
  TFileFindings* fileOutput_ = &ownFileOutput_;
  TTreeImageList* images_ = nullptr;

  TFoundLists found_;
  std::vector<std::wstring> installerFolders_;
  std::set<std::wstring> reported_;  // identities of the findings in the output
};

// Moves the running area into another view until the end of the block, for
// an area whose data lies in two views (the uninstall key in the entry's,
// the Windows Installer data of the machine in the 64-bit view). On a
// 32-bit machine the only view stays.
class TScanViewSwitch {
 public:
  TScanViewSwitch(TRegeditScanClasses& scan, bool view64) : scan_(scan), saved_(scan.view64_) {
    scan_.view64_ = view64 && scan_.wow64_;
  }
  ~TScanViewSwitch() { scan_.view64_ = saved_; }
  TScanViewSwitch(const TScanViewSwitch&) = delete;
  TScanViewSwitch& operator=(const TScanViewSwitch&) = delete;

 private:
  TRegeditScanClasses& scan_;
  bool saved_;
};

}  // namespace orvix
