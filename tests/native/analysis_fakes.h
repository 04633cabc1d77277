// Stand-ins for what the analysis talks to: the rows of the software list
// and its two image lists (both record the thread they were called on), and
// a usage rater.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "inventory/analysis_view.h"
#include "inventory/rating.h"
#include "platform/sim/sim_icons.h"

namespace orvix::testing {

class RecordingListView : public ISoftwareListView {
 public:
  struct Row {
    std::int32_t imageIndex = 0;
    std::wstring sizeText;
    std::wstring dateText;
  };

  void UpdateRow(std::size_t position, std::int32_t imageIndex, const std::wstring& sizeText,
                 const std::wstring& dateText) override {
    rows[position] = {imageIndex, sizeText, dateText};
    threads.push_back(std::this_thread::get_id());
  }

  std::map<std::size_t, Row> rows;  // by position in Items
  std::vector<std::thread::id> threads;
};

// Image lists that start with the default image at 0 and keep what each
// added icon stood for (the handles themselves are released after adding).
class RecordingIconList : public IIconList {
 public:
  explicit RecordingIconList(sim::SimIcons& icons) : icons_(icons) {}

  std::int32_t AddIcons(IconHandle small, IconHandle large) override {
    this->small.push_back(icons_.Describe(small).value_or(sim::SimIcon{}));
    this->large.push_back(icons_.Describe(large).value_or(sim::SimIcon{}));
    threads.push_back(std::this_thread::get_id());
    return static_cast<std::int32_t>(this->large.size());  // after the default image
  }

  std::vector<sim::SimIcon> small;
  std::vector<sim::SimIcon> large;
  std::vector<std::thread::id> threads;

 private:
  sim::SimIcons& icons_;
};

// Rates by name: programs whose name starts with "Daily" are used today,
// every other one rarely. Calls a hook before each answer.
class ScriptedRater : public IAppUsageRater {
 public:
  struct Log {
    std::mutex mutex;
    std::vector<std::wstring> rated;
    std::thread::id createdOn;
    std::thread::id destroyedOn;
  };

  explicit ScriptedRater(Log& log, std::function<void(const TSoftInfo&)> hook) : log_(log), hook_(std::move(hook)) {
    log_.createdOn = std::this_thread::get_id();
  }
  ~ScriptedRater() override { log_.destroyedOn = std::this_thread::get_id(); }

  TAppUsage Rate(const TSoftInfo& entry) override {
    {
      std::lock_guard lock(log_.mutex);
      log_.rated.push_back(entry.DisplayName);
    }
    if (hook_) hook_(entry);
    const bool daily = entry.DisplayName.starts_with(L"Daily");
    return {daily ? audToday : audMore, daily ? aurOften : aurRarely, daily ? NowLocal() : 0, true};
  }

 private:
  Log& log_;
  std::function<void(const TSoftInfo&)> hook_;
};

}  // namespace orvix::testing
