// One entry's analysis: what the worker finds on disk for an entry that
// lacks something, and how the findings enter the entry, the cache and the
// list on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "inventory/analysis_cache.h"
#include "inventory/analysis_date.h"
#include "inventory/analysis_icon.h"
#include "inventory/analysis_view.h"
#include "inventory/soft_info.h"

namespace orvix {

// Whether the analysis has something to find: no folder, no size, no image
// or no install date.
bool LacksAnalysis(const TSoftInfo& entry);

struct TAnalysisResult {
  std::wstring foundFolder;  // from the uninstall command, for an entry without folder
  bool measured = false;     // the entry had no size and `size` was measured
  std::int64_t size = 0;
  bool iconSearched = false;  // the entry had no image and `icon` was looked for
  TIconSource icon;
  TOwnedIcons icons;  // loaded only when there are image lists to take them
  TDateEstimate installDate;
  TDateTime lastAccess = 0;
};

struct TAnalysisOptions {
  bool loadIcons = false;          // image lists exist
  bool lastAccessUpdates = false;  // LastAccessUpdatesOn()
};

// Runs on the worker over a copy of the entry.
TAnalysisResult AnalyseEntry(const TSoftInfo& entry, const TAnalysisOptions& options, std::stop_token stop = {});

// Where the findings go; the views may be absent (the console has none).
struct TAnalysisTargets {
  TSoftwareCache& cache;
  ISoftwareListView* listView = nullptr;
  IIconList* iconList = nullptr;
};

// On the user-interface thread: fills what the entry still lacks from the
// findings, records them in the cache (with a new "MD5" when the entry
// changed) and updates the entry's row. Icons are added to the image lists
// and released.
void ApplyAnalysis(TSoftInfo& entry, std::size_t position, TAnalysisResult& result, const TAnalysisTargets& targets,
                   std::stop_token stop = {});

}  // namespace orvix
