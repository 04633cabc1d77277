#include "inventory/analysis_thread.h"

#include <chrono>
#include <optional>
#include <vector>

#include "inventory/analysis_pass.h"
#include "inventory/list_labels.h"

namespace orvix {
namespace {

// An entry as the pass found it: its position, the live record (touched on
// the user-interface thread only) and a copy the worker reads.
struct TPassEntry {
  std::size_t position = 0;
  const TSoftInfo* live = nullptr;
  TSoftInfo copy;
};

// One pass: the entries are copied on the user-interface thread, rated and
// analysed here, and each entry's findings applied there.
void RunPass(const TSoftList& items, IDispatcher& dispatcher, const TAnalysisSettings& settings,
             IAppUsageRater& rater, std::stop_token stop) {
  std::vector<TPassEntry> entries;
  const bool copied = dispatcher.Invoke(
      [&] {
        entries.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
          if (items[i]) entries.push_back({i, items[i].get(), *items[i]});
        }
      },
      stop);
  if (!copied) return;

  TSoftwareCache cache;
  cache.Load(settings.cachePath);
  const TAnalysisOptions options{settings.iconList != nullptr, LastAccessUpdatesOn()};
  const TAnalysisTargets targets{cache, settings.listView, settings.iconList};
  for (const TPassEntry& entry : entries) {
    if (stop.stop_requested()) break;
    const TAppUsage usage = rater.Rate(entry.copy);
    std::optional<TAnalysisResult> result;
    if (!entry.copy.Hidden && LacksAnalysis(entry.copy)) result = AnalyseEntry(entry.copy, options, stop);
    if (stop.stop_requested()) break;
    dispatcher.Invoke(
        [&] {
          // The entry is looked up again: the list may have changed since the copy.
          if (entry.position >= items.size() || items[entry.position].get() != entry.live) return;
          TSoftInfo& live = *items[entry.position];
          ApplyUsage(live, usage);
          live.UseText = UsageLabel(live.UseRange, live.UseRate);
          if (result) {
            try {
              ApplyAnalysis(live, entry.position, *result, targets, stop);
            } catch (...) {
              // One entry's failure leaves the others to go on.
            }
          }
        },
        stop);
  }
  cache.Save(settings.cachePath);
}

}  // namespace

TAnalysisThread::TAnalysisThread(const TSoftList& items, IDispatcher& dispatcher, TAnalysisSettings settings)
    : items_(items),
      dispatcher_(dispatcher),
      settings_{std::move(settings.cachePath), settings.listView, settings.iconList, {}} {
  TRaterFactory makeRater = std::move(settings.makeRater);
  if (!makeRater) makeRater = [] { return std::make_unique<TAppRateHelper>(); };
  thread_ = std::thread(&TAnalysisThread::Run, this, std::move(makeRater));
}

TAnalysisThread::~TAnalysisThread() { Stop(); }

void TAnalysisThread::RequestPass() {
  {
    std::lock_guard lock(mutex_);
    passRequested_ = true;
  }
  wake_.notify_all();
}

void TAnalysisThread::Cancel() {
  std::lock_guard lock(mutex_);
  passStop_.request_stop();
}

bool TAnalysisThread::Idle() const {
  std::lock_guard lock(mutex_);
  return !passRequested_ && !running_;
}

void TAnalysisThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    terminate_ = true;
    passStop_.request_stop();
  }
  wake_.notify_all();
  if (!thread_.joinable()) return;
  // Work the pass already handed over may be waiting for this thread.
  for (int wait = 0; wait < 11 && !Idle() && dispatcher_.OnDispatcherThread(); ++wait) {
    dispatcher_.RunPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  thread_.join();
}

void TAnalysisThread::Run(TRaterFactory makeRater) {
  std::unique_ptr<IAppUsageRater> rater;
  try {
    rater = makeRater();
  } catch (...) {
  }
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, [&] { return terminate_ || passRequested_; });
    if (terminate_) break;
    passRequested_ = false;
    running_ = true;
    passStop_ = std::stop_source();
    const std::stop_token stop = passStop_.get_token();
    lock.unlock();
    try {
      if (rater) RunPass(items_, dispatcher_, settings_, *rater, stop);
    } catch (...) {
      // A pass that fails leaves what it applied; the next one starts afresh.
    }
    lock.lock();
    running_ = false;
  }
}

void AnalyseNow(const TSoftList& items, TAnalysisSettings settings) {
  TQueueDispatcher here;  // owned by this thread: every hand-over runs at once
  TRaterFactory makeRater = std::move(settings.makeRater);
  const std::unique_ptr<IAppUsageRater> rater = makeRater ? makeRater() : std::make_unique<TAppRateHelper>();
  RunPass(items, here, settings, *rater, {});
}

}  // namespace orvix
