// TAnalysisThread: the background analysis of the installed programs. Each
// pass rates every entry's usage and, for visible entries that lack a
// folder, size, image or install date, looks at the disk; the findings enter
// the entries, the list and the image lists on the user-interface thread,
// through the dispatcher, and are kept in "SoftwareCache.ini".
//
// The worker never touches the entries or the list itself: at the start of
// a pass it copies the entries on the user-interface thread, and every
// change is made there. So the user-interface thread may refresh the list
// while a pass runs; entries appended meanwhile wait for the next pass.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "inventory/analysis_view.h"
#include "inventory/rating.h"
#include "inventory/software_enumeration.h"
#include "platform/dispatcher.h"

namespace orvix {

// Makes the rater on the worker when it starts.
using TRaterFactory = std::function<std::unique_ptr<IAppUsageRater>()>;

// Where the analysis keeps and shows what it finds.
struct TAnalysisSettings {
  std::wstring cachePath;  // "SoftwareCache.ini"; empty: nothing is kept
  // Either view may be null; without image lists no icons are loaded.
  ISoftwareListView* listView = nullptr;
  IIconList* iconList = nullptr;
  TRaterFactory makeRater;  // TAppRateHelper when empty
};

class TAnalysisThread {
 public:
  // Starts the worker, idle until the first RequestPass. `items` and the
  // views belong to the user-interface thread, the one that owns
  // `dispatcher`, and must outlive this object.
  TAnalysisThread(const TSoftList& items, IDispatcher& dispatcher, TAnalysisSettings settings);
  ~TAnalysisThread();
  TAnalysisThread(const TAnalysisThread&) = delete;
  TAnalysisThread& operator=(const TAnalysisThread&) = delete;

  // Asks for a pass; a request during a pass makes another pass follow it.
  void RequestPass();
  // Stops the running pass at the next entry; nothing more reaches the list.
  void Cancel();
  // True when no pass is running or waiting.
  bool Idle() const;
  // Ends the worker, on the user-interface thread: cancels a running pass,
  // runs the dispatcher's work for up to 11 waits of 10 ms while the pass
  // winds down, then joins. Later calls do nothing.
  void Stop();

 private:
  void Run(TRaterFactory makeRater);

  const TSoftList& items_;
  IDispatcher& dispatcher_;
  const TAnalysisSettings settings_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool passRequested_ = false;
  bool running_ = false;
  bool terminate_ = false;
  std::stop_source passStop_;  // a fresh one for every pass
  std::thread thread_;
};

// One whole pass on the calling thread, for programs without windows (the
// console): returns when every entry has been rated and analysed.
void AnalyseNow(const TSoftList& items, TAnalysisSettings settings = {});

}  // namespace orvix
