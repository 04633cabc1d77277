// How recently and how often each installed program is used, for the
// "Infrequently Used" view: Windows' per-user record of program starts
// (UserAssist), grouped by folder, matched against each entry's install
// folder.
//
// Plugging it into the analysis thread: the thread creates one
// TAppRateHelper when it starts (the constructor reads UserAssist and the Run
// keys of the current platform, once) and keeps it until it ends; the pass
// then does, for every entry, hidden ones included:
//
//   ApplyUsage(entry, rater.Rate(entry));
//
// and derives the entry's UseText from the fields. Code that wants to run a
// pass without a machine behind it can take an IAppUsageRater instead.
// The rater is used by one thread only.
#pragma once

#include <string>
#include <vector>

#include "inventory/soft_info.h"
#include "platform/date_time.h"

namespace orvix {

// The answer for one entry.
struct TAppUsage {
  TAppUseRange UseRange = audUnknown;
  TAppUseRate UseRate = aurUnknown;
  TDateTime LastUseTime = 0;  // local; 0 when unknown
  bool HasUseInfo = false;    // the entry was rated (every answer of Rate says so)
};

// Copies the answer into the entry's usage fields.
void ApplyUsage(TSoftInfo& entry, const TAppUsage& usage);

class IAppUsageRater {
 public:
  virtual ~IAppUsageRater() = default;
  virtual TAppUsage Rate(const TSoftInfo& entry) = 0;
};

// One folder programs were started from.
struct TAppUseInfo {
  std::wstring Folder;        // with trailing backslash
  TDateTime InstallDate = 0;  // of the entry last rated against this folder
  TDateTime LastUse = 0;      // latest start of any program in the folder
  TAppUseRange Range = audUnknown;
  TAppUseRate Rate = aurUnknown;
};

class TAppRateHelper : public IAppUsageRater {
 public:
  // Reads UserAssist and the logon folders of the current platform.
  TAppRateHelper();

  // By the entry's install location and install date.
  TAppUsage Rate(const TSoftInfo& entry) override;
  TAppUsage Rate(const std::wstring& installLocation, TDateTime installDate);

  // 0 to 4: the Windows versions up to Vista, by name; 5: any later one.
  int OsKind() const { return osKind_; }
  const std::vector<TAppUseInfo>& UseInfos() const { return useInfos_; }
  const std::vector<std::wstring>& AutoStartFolders() const { return autoStartFolders_; }

 private:
  void AddStart(const std::wstring& folder, TDateTime time);
  TAppUseInfo* FindUseInfo(const std::wstring& folder);
  bool StartsAtLogon(const std::wstring& folder) const;

  int osKind_ = 0;
  std::vector<TAppUseInfo> useInfos_;
  std::vector<std::wstring> autoStartFolders_;
};

}  // namespace orvix
