// The cleaner every browser derives from: its list of add-ons and how an
// entry enters it (merging one add-on found twice), the trust and vote state
// kept in "BCleanerdb", the Mozilla plug-in registry that Firefox and Opera
// read, and the batches of removal (a switch-off), restoring and trust. The
// add-on page and the console drive it; each browser's cleaner fills in the
// scan, the switch-off and the switch-on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "addons/bcleaner_db.h"
#include "addons/plugin_item.h"
#include "addons/plugin_score_source.h"
#include "addons/sqlite_db.h"

namespace orvix {

class TRegistry;

// OnPluginAction's Action codes.
enum TPluginAction : std::uint8_t {
  paRemoved = 0,       // one entry switched off (Success) or not
  paRemoveDone = 1,    // a removal batch ended (no entry, Success true)
  paTrustChanged = 3,  // one entry's trust state changed (Success) or not
  paRestored = 4,      // one entry switched on again (Success) or not
};

class TCustomBrowserCleaner {
 public:
  // Reads On64BitWindows, fixes the folders (creating DataDir), opens
  // "BCleanerdb". Derived cleaners add their own set-up after it.
  TCustomBrowserCleaner();
  virtual ~TCustomBrowserCleaner();
  TCustomBrowserCleaner(const TCustomBrowserCleaner&) = delete;
  TCustomBrowserCleaner& operator=(const TCustomBrowserCleaner&) = delete;

  // The browser this cleaner serves: the export's heading and sections.
  virtual TPluginBrowsr Browser() const = 0;

  // Called for every entry just before it is freed.
  virtual void ReleaseItem(TPluginItem& item);
  virtual bool IsBrowserInstalled();
  // Asked before RemoveItem.
  virtual bool CanRemoveItem(TPluginItem& item);
  virtual void DeleteBackup(const std::wstring& id);
  // Fills Items through AddItem.
  virtual void ScanItems() = 0;
  // Switches the add-on off; true at once for an entry already inactive.
  virtual bool RemoveItem(TPluginItem& item) = 0;
  // Switches the add-on on again; true at once for an entry already active.
  virtual bool RestoreItem(TPluginItem& item) = 0;
  // Writes the trust decision into "trusted", one row per location.
  virtual bool SetItemTrust(TPluginItem& item, std::uint8_t state);
  // The programs whose running process would write this browser's add-on
  // settings back over ours when it exits; the browser's own executable.
  virtual std::vector<std::wstring> RunningCheckExecutables() const;
  // Why the last RemoveItem or RestoreItem that answered false failed, in a
  // short English sentence for the console; empty when there is nothing to
  // add to "could not switch".
  virtual std::wstring LastSwitchProblem() const { return {}; }

  // The one way entries enter Items. Inactive add-ons are left out unless
  // IncludeInactive is set; an add-on equal to an entry already listed (name,
  // description, version ignoring case and blanks at the ends, same side)
  // adds its location to that entry instead. Returns the new entry, or none.
  TPluginItem* AddItem(TPluginBrowsr browser, std::uint8_t group, const std::wstring& itemId, const std::wstring& name,
                       const std::wstring& description, const std::wstring& location, const std::wstring& publisher,
                       const std::wstring& version, bool active, bool is64Bit,
                       std::unique_ptr<TPluginExtInfo> extInfo = nullptr, const std::wstring& givenId = L"");

  // Scans once (Scanned), or announces the entries again through
  // OnPluginAdded; OnScanBegin and OnScanEnd around it.
  void List();
  void Reset(bool scannedValue);
  void ClearItems();
  TPluginItem* FindItem(const std::wstring& id) const;

  // Batches over the entries the IDs name (ignoring case), each entry once.
  void SetTrust(const std::vector<std::wstring>& ids, std::uint8_t newState);
  // Switched-off entries leave Items; paRemoveDone ends the batch.
  void RemoveItems(const std::vector<std::wstring>& ids);
  // Switched-on entries become active and stay in Items.
  void RestoreItems(const std::vector<std::wstring>& ids);

  void AssignScore(TPluginItem& item, const std::wstring& name);
  void ReassignScores();
  void AddVote(TPluginItem& item, std::int32_t score);

  // The Mozilla plug-in registry of both roots (and both views on 64-bit
  // Windows) into MozillaPlugins.
  void ScanMozillaPluginsRegistry();
  // The entry whose Path equals the text ignoring case; all fields empty when none.
  TMozilaGeneralPluginItem FindMozillaPlugin(const std::wstring& path) const;

  // A registry object for full access, in the 64-bit view when asked (or,
  // without an argument, when On64BitWindows).
  std::unique_ptr<TRegistry> CreateRegistry(bool view64) const;
  std::unique_ptr<TRegistry> CreateRegistry() const;

  // Copies a file into DataDir + subFolder (which ends with a backslash),
  // emptied first; the copy's path, or empty.
  std::wstring BackupToWorkFolder(const std::wstring& subFolder, const std::wstring& filePath);
  // The path of "BCleanerdb", creating file and tables when missing; empty
  // without a data folder or when that fails.
  std::wstring PrepareDatabase() const;

  bool Scanned = false;
  // Lists switched-off add-ons too (Active false), so that they can be
  // switched on again; the add-on page leaves it off.
  bool IncludeInactive = false;
  const IPluginScoreSource* ScoreDB = nullptr;  // not owned; may be absent
  TSqliteDb Database;
  bool DatabaseOpen = false;

  std::function<void(TCustomBrowserCleaner& sender, TPluginItem& item)> OnPluginAdded;
  std::function<void(TCustomBrowserCleaner& sender)> OnScanBegin;
  std::function<void(TCustomBrowserCleaner& sender)> OnScanEnd;
  std::function<void(TCustomBrowserCleaner& sender, TPluginItem* item, bool success, std::uint8_t action)>
      OnPluginAction;

  std::vector<std::unique_ptr<TPluginItem>> Items;
  bool On64BitWindows = false;
  std::wstring AppDataDir;       // roaming application data, no trailing backslash
  std::wstring LocalAppDataDir;  // local application data, no trailing backslash
  std::wstring TempDir;
  std::wstring DataDir;  // AppDataDir + "\Orvix\Orvix Uninstaller\"; empty when unavailable
  std::vector<TMozilaGeneralPluginItem> MozillaPlugins;

 private:
  std::unique_ptr<TStoredStateReader> storedState_;  // on Database, while it is open

  void InitFolders();
  void OpenDatabase();
  std::vector<TPluginItem*> ItemsNamed(const std::vector<std::wstring>& ids) const;
};

}  // namespace orvix
