// The inventory: the one list of installed programs the whole process works
// on. Positions in Items never change for the object's life: entries of
// programs that went away are only hidden, so list items and the analysis
// can name an entry by its position.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "inventory/analysis_thread.h"
#include "inventory/soft_info.h"
#include "inventory/software_enumeration.h"

namespace orvix {

class TSoftwareInfo {
 public:
  // What the software list's categories measure against.
  static constexpr std::int64_t LargeSizeThreshold = 0x3200000;  // 50 MiB
  static constexpr int RecentDays = 10;

  // Reads the installed programs; blocks until the enumeration is done.
  TSoftwareInfo();
  // The same, then fills the entries from the software cache and starts the
  // analysis over them with a first pass. `dispatcher` belongs to the
  // user-interface thread, which creates, refreshes and destroys the object.
  TSoftwareInfo(IDispatcher& dispatcher, TAnalysisSettings analysis);
  // Stops the analysis before the entries go.
  ~TSoftwareInfo();
  TSoftwareInfo(const TSoftwareInfo&) = delete;
  TSoftwareInfo& operator=(const TSoftwareInfo&) = delete;

  // Every entry, hidden ones included, in the order found.
  const TSoftList& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // The entry at a position; nullptr outside 0 .. Count() - 1.
  TSoftInfo* GetItem(int index) const;

  // Reads the programs again: entries of programs still installed (same
  // name, uninstall command and view) are shown again with what the analysis
  // found, vanished ones stay hidden, new ones are appended.
  void Refresh();

  // The queries below append the positions of matching entries that are
  // not hidden, as decimal texts, and answer how many they appended.
  // Entries installed in the folder of `filePath` (the path itself when it
  // names a folder).
  int FindByFolderOf(const std::wstring& filePath, std::vector<std::wstring>& indexes) const;
  // Entries whose install folder lies in `folder` or is that folder.
  int FindInFolder(const std::wstring& folder, std::vector<std::wstring>& indexes) const;
  int FindInFolder(const std::wstring& folder) const;
  // Entries whose name contains `text`, ignoring case.
  int FindByName(const std::wstring& text, std::vector<std::wstring>& indexes) const;

  // Deletes the entry's key tree in its own registry view and hides it;
  // false for no entry, a hidden one, or a key that could not be deleted.
  bool RemoveEntry(TSoftInfo* entry);

  // Frees every entry; positions start again from 0.
  void Clear();

  // Whether the uninstaller launch switches WOW64 file-system redirection off.
  bool RedirectionOff() const { return redirectionOff_; }
  // The background analysis; null for an inventory made without one.
  TAnalysisThread* Analysis() const { return analysis_.get(); }

 private:
  template <typename Matches>
  int Collect(std::vector<std::wstring>& indexes, Matches matches) const;

  TSoftList items_;
  bool redirectionOff_;
  std::wstring cacheFile_;
  std::unique_ptr<TAnalysisThread> analysis_;  // declared last: it goes first
};

// An install folder in the form the folder queries compare: long names,
// single backslashes, a trailing backslash; empty when it does not exist.
std::wstring NormalizedInstallLocation(const std::wstring& location);

}  // namespace orvix
