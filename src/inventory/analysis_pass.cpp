#include "inventory/analysis_pass.h"

#include <cmath>

#include "inventory/analysis_size.h"
#include "inventory/size_text.h"
#include "platform/command_paths.h"

namespace orvix {

bool LacksAnalysis(const TSoftInfo& entry) {
  return entry.InstallLocation.empty() || entry.Size <= 0 || entry.ImageIndex <= 0 || entry.InstallDate == 0;
}

TAnalysisResult AnalyseEntry(const TSoftInfo& entry, const TAnalysisOptions& options, std::stop_token stop) {
  TAnalysisResult result;
  if (entry.InstallLocation.empty())
    result.foundFolder = FolderFromUninstallCommand(entry.UninstallString, entry.DisplayIcon, entry.Readme);
  if (entry.Size <= 0) {
    result.measured = true;
    result.size = MeasureEntrySize(entry, result.foundFolder, stop);
  }
  if (entry.ImageIndex <= 0) {
    result.iconSearched = true;
    result.icon = FindIconSource(entry);
    if (options.loadIcons) result.icons = LoadIcons(result.icon);
  }
  result.installDate = EstimateInstallDate(entry);
  result.lastAccess = LastAccessDateOf(entry, options.lastAccessUpdates);
  return result;
}

void ApplyAnalysis(TSoftInfo& entry, std::size_t position, TAnalysisResult& result, const TAnalysisTargets& targets,
                   std::stop_token stop) {
  TSoftwareCache& cache = targets.cache;
  std::int32_t newImage = 0;
  if (targets.iconList != nullptr && result.icons.Complete())
    newImage = targets.iconList->AddIcons(result.icons.Small(), result.icons.Large());
  result.icons.Reset();  // the image lists keep copies

  bool changed = false;
  if (result.measured && entry.Size <= 0) {
    entry.Size = result.size;
    entry.SizeText = entry.Size > 0 ? SizeToText(entry.Size) : L"";
    cache.WriteSize(entry);
    changed = true;
  }
  if (entry.ImageIndex <= 0) entry.ImageIndex = newImage;
  if (entry.InstallLocation.empty()) {
    entry.InstallLocation = result.foundFolder;
    cache.WriteLocation(entry);
    changed = true;
  }
  if (result.iconSearched && entry.DisplayIcon.empty()) {
    entry.DisplayIcon = result.icon.file;
    entry.IconIndex = result.icon.index;
    cache.WriteIcon(entry);
    changed = true;
  }
  cache.WriteUsage(entry);
  if (entry.InstallDateText.empty()) {
    entry.InstallDateText = result.installDate.text;
    entry.InstallDate = result.installDate.date;
    changed = true;
  }
  cache.WriteInstallDate(entry);
  if (std::fabs(result.lastAccess - entry.LastAccessDate) >= 1) {
    entry.LastAccessDate = result.lastAccess;
    cache.WriteLastAccess(entry);
  }
  if (changed) cache.WriteMd5(entry);
  if (targets.listView != nullptr && !stop.stop_requested())
    targets.listView->UpdateRow(position, entry.ImageIndex, entry.SizeText, entry.InstallDateText);
}

}  // namespace orvix
