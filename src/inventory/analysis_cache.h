// "SoftwareCache.ini": what the analysis found about each program, kept
// between runs so that an unchanged program is shown complete at once. One
// section per display name (namesakes share it); its "MD5" ties the section
// to one installation: the digest of the install date text followed by the
// uninstall command, so an update (a new command) makes the section stale.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "inventory/soft_info.h"
#include "platform/ext_ini_file.h"

namespace orvix {

// "SoftwareCache.ini" in the data folder; empty when there is none.
std::wstring SoftwareCachePath();

// 32 lower-case hexadecimal digits: MD5 of the two texts, one after the
// other, in the system's ANSI code page.
std::wstring CacheMd5(const std::wstring& installDateText, const std::wstring& uninstallString);

// The cache file in memory, keyed by entry.
class TSoftwareCache {
 public:
  // Loads the file when it exists; otherwise the cache starts empty. A file
  // that is there but cannot be read leaves the cache empty and Save
  // refusing, so that the file is never replaced by less than it held.
  void Load(const std::wstring& path);
  bool Save(const std::wstring& path) const;
  const TExtIniFile& File() const { return file_; }

  // Whether the entry's section belongs to this installation: its MD5
  // matches (ignoring letter case) the cached install date text followed by
  // the entry's current uninstall command.
  bool Matches(const TSoftInfo& entry) const;
  // Fills the entry from a matching section (dates, usage, and size, icon
  // and folder where the entry has none); false, changing nothing, when the
  // section does not match.
  bool ApplyTo(TSoftInfo& entry) const;

  void WriteSize(const TSoftInfo& entry);          // "size" and "UseSize"
  void WriteLocation(const TSoftInfo& entry);      // "Location"
  void WriteIcon(const TSoftInfo& entry);          // "DisplayIcon" and "IconIndex"
  void WriteUsage(const TSoftInfo& entry);         // "AppUseRange" and "AppUseRate"
  void WriteInstallDate(const TSoftInfo& entry);   // "InstallDate" and "InstallDateT"
  void WriteLastAccess(const TSoftInfo& entry);    // "LastAccessDate"
  void WriteMd5(const TSoftInfo& entry);           // "MD5" of the entry as it is now

 private:
  TExtIniFile file_;
  bool unreadable_ = false;
};

// At start-up and on every refresh, before the analysis runs: every visible
// entry takes what a matching section of the cache file holds. Nothing
// happens when the file does not exist.
void ApplyCache(const std::wstring& cachePath, std::span<const std::unique_ptr<TSoftInfo>> entries);

}  // namespace orvix
