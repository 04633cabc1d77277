// All browsers' cleaners together: the same add-on found in several browsers
// or on both sides of 64-bit Windows (twins), the de-duplicated list the
// add-on page shows, the batches over all cleaners and the plain-text add-on
// list that the software-list export appends.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "addons/custom_browser_cleaner.h"
#include "platform/date_time.h"

namespace orvix {

class TAllBrowserCleaner {
 public:
  struct TAddedPluginInfo {
    std::wstring Caption;
    std::wstring Publisher;
    std::wstring Description;
    std::wstring Version;
  };

  // Not owned; the page adds IE, Chrome, Firefox and Opera in this order.
  void AddCleaner(TCustomBrowserCleaner* cleaner) { Cleaners.push_back(cleaner); }

  // Rebuilds Twins and Combined from the cleaners' current lists.
  void BuildCombined();
  int CombinedCount() const { return static_cast<int>(Combined.size()); }
  TPluginItem* CombinedItem(int index) const { return Combined.at(static_cast<std::size_t>(index)); }
  // The twin IDs of an entry, one per line, in Twins order.
  std::wstring TwinsOf(const std::wstring& id) const;
  // Each ID followed by its twins, one per line.
  std::vector<std::wstring> ExpandWithTwins(const std::vector<std::wstring>& ids) const;
  std::set<TPluginBrowsr> BrowsersOf(const TPluginItem& item) const;
  // The entry of that ID in any cleaner, or none.
  TPluginItem* FindItem(const std::wstring& id) const;

  void SetTrust(const std::vector<std::wstring>& ids, std::uint8_t newState);
  // Switches off the entries and their twins; OnRemoveFinished at the end.
  void Remove(const std::vector<std::wstring>& ids);
  // Switches on the entries and their twins.
  void Restore(const std::vector<std::wstring>& ids);
  void Vote(TPluginItem& item, std::int32_t score);
  void ReassignAllScores();

  // The plain-text add-on list, CR LF after every line: the header names
  // the program's file version, the Windows and the local time given.
  std::wstring ExportText(const std::wstring& appVersion, const std::wstring& osName, TDateTime exportedAt) const;
  // The same for the running program, this Windows and now.
  std::wstring ExportText() const;

  std::vector<TCustomBrowserCleaner*> Cleaners;
  std::vector<std::wstring> Twins;  // "first ID=second ID", one per ordered pair
  std::vector<TPluginItem*> Combined;
  std::function<void(TAllBrowserCleaner& sender)> OnRemoveFinished;
};

}  // namespace orvix
