// TAnalysisThread over a small simulated machine, with the dispatcher queue
// standing in for the user-interface thread: a whole pass, cancelling one,
// stopping while the worker waits for the user-interface thread, requests
// during a pass, and entries appended while a pass runs.
#include "inventory/analysis_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "analysis_fakes.h"
#include "inventory/analysis_cache.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

using testing::ScriptedRater;

class AnalysisThreadTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"Daily Foo", L"Bar", L"Baz", L"Qux"}) {
      const std::wstring folder = std::wstring(L"C:\\Program Files\\") + name;
      Machine().files.PutFile(folder + L"\\uninst.exe", Bytes(1000));
      Machine().files.PutFile(folder + L"\\app.exe", Bytes(24));
      Machine().icons.AddIconFile(folder + L"\\app.exe");
    }
  }

  // An entry that lacks everything the analysis finds.
  void Add(const std::wstring& name, bool hidden = false) {
    auto entry = std::make_unique<TSoftInfo>();
    entry->DisplayName = name;
    entry->UninstallString = L"\"C:\\Program Files\\" + name + L"\\uninst.exe\"";
    entry->DisplayIcon = L"C:\\Program Files\\" + name + L"\\app.exe,0";
    entry->Hidden = hidden;
    entry->LastAccessDate = NowLocal();
    items_.push_back(std::move(entry));
  }

  std::unique_ptr<TAnalysisThread> Start(std::function<void(const TSoftInfo&)> hook = {}) {
    return std::make_unique<TAnalysisThread>(
        items_, dispatcher_,
        TAnalysisSettings{SoftwareCachePath(), &listView_, &iconList_,
                          [this, hook] { return std::make_unique<ScriptedRater>(log_, hook); }});
  }

  // Runs the user-interface side until the thread has nothing left to do.
  void RunUntilIdle(TAnalysisThread& thread) {
    ASSERT_TRUE(dispatcher_.RunUntil([&] { return thread.Idle(); })) << "the pass never ended";
  }

  std::vector<std::wstring> Rated() {
    std::lock_guard lock(log_.mutex);
    return log_.rated;
  }

  TSoftList items_;
  TQueueDispatcher dispatcher_;
  testing::RecordingListView listView_;
  testing::RecordingIconList iconList_{Machine().icons};
  ScriptedRater::Log log_;
};

TEST_F(AnalysisThreadTest, APassFillsTheEntriesTheListAndTheCacheFromTheUserInterfaceThread) {
  Add(L"Daily Foo");
  Add(L"Bar");
  Add(L"Baz", true);
  TSoftInfo& complete = *items_[1];
  complete.InstallLocation = L"C:\\Program Files\\Bar";
  complete.Size = 5;
  complete.ImageIndex = 9;
  complete.InstallDate = 40000;
  complete.InstallDateText = L"7/4/2009";
  std::unique_ptr<TAnalysisThread> thread = Start();
  EXPECT_TRUE(thread->Idle()) << "nothing happens before the first request";
  thread->RequestPass();
  EXPECT_FALSE(thread->Idle());
  RunUntilIdle(*thread);

  const TSoftInfo& foo = *items_[0];
  EXPECT_EQ(foo.InstallLocation, L"C:\\Program Files\\Daily Foo\\");
  EXPECT_EQ(foo.Size, 1024);
  EXPECT_EQ(foo.SizeText, L"1.00 KB");
  EXPECT_EQ(foo.ImageIndex, 1);
  EXPECT_EQ(foo.UseRange, audToday);
  EXPECT_EQ(foo.UseText, L"today");
  EXPECT_EQ(complete.Size, 5) << "a complete entry is only rated";
  EXPECT_EQ(complete.ImageIndex, 9);
  EXPECT_EQ(complete.UseText, L"rarely");
  const TSoftInfo& hidden = *items_[2];
  EXPECT_EQ(hidden.UseRate, aurRarely) << "hidden entries are rated too";
  EXPECT_EQ(hidden.Size, 0) << "but never analysed";

  EXPECT_EQ(Rated(), (std::vector<std::wstring>{L"Daily Foo", L"Bar", L"Baz"}));
  ASSERT_EQ(listView_.rows.size(), 1u);
  EXPECT_EQ(listView_.rows[0].sizeText, L"1.00 KB");
  for (const std::thread::id id : listView_.threads) EXPECT_EQ(id, std::this_thread::get_id());
  for (const std::thread::id id : iconList_.threads) EXPECT_EQ(id, std::this_thread::get_id());

  TSoftwareCache cache;
  cache.Load(SoftwareCachePath());
  EXPECT_EQ(cache.File().ReadString(L"Daily Foo", L"AppUseRange", L""), L"audToday");
  EXPECT_EQ(cache.File().ReadString(L"Baz", L"size", L"<none>"), L"<none>");

  thread->Stop();
  EXPECT_NE(log_.createdOn, std::this_thread::get_id()) << "the rater lives on the worker";
  EXPECT_EQ(log_.destroyedOn, log_.createdOn);
  EXPECT_EQ(Machine().icons.LiveCount(), 0u);
}

TEST_F(AnalysisThreadTest, ACancelledPassStopsAtOnceAndTheNextPassStartsAfresh) {
  Add(L"Bar");
  Add(L"Baz");
  Add(L"Qux");
  TAnalysisThread* current = nullptr;
  std::atomic<int> rates = 0;
  std::unique_ptr<TAnalysisThread> thread = Start([&](const TSoftInfo&) {
    if (++rates == 2) current->Cancel();
  });
  current = thread.get();
  thread->RequestPass();
  RunUntilIdle(*thread);
  EXPECT_EQ(Rated(), (std::vector<std::wstring>{L"Bar", L"Baz"}));
  EXPECT_EQ(items_[0]->Size, 1024);
  EXPECT_EQ(items_[1]->Size, 0) << "the entry rated when the cancel came is not applied";
  EXPECT_EQ(items_[1]->UseRange, audUnknown);
  EXPECT_EQ(items_[2]->Size, 0);
  TSoftwareCache cache;
  cache.Load(SoftwareCachePath());
  EXPECT_EQ(cache.File().ReadString(L"Bar", L"size", L""), L"1024") << "what was applied is saved";

  thread->RequestPass();
  RunUntilIdle(*thread);
  EXPECT_EQ(items_[1]->Size, 1024);
  EXPECT_EQ(items_[2]->Size, 1024);
}

TEST_F(AnalysisThreadTest, StopReleasesAWorkerWaitingForTheUserInterfaceThread) {
  Add(L"Bar");
  std::unique_ptr<TAnalysisThread> thread = Start();
  thread->RequestPass();
  // The worker now waits for the copy of the entries; this thread, busy
  // elsewhere, never drains the queue.
  while (dispatcher_.PendingCount() == 0) std::this_thread::yield();
  thread->Stop();  // must not hang
  EXPECT_EQ(items_[0]->Size, 0);
  EXPECT_TRUE(listView_.rows.empty());
  dispatcher_.RunPending();
  EXPECT_TRUE(listView_.rows.empty()) << "work handed over before the stop never runs later";
  EXPECT_EQ(items_[0]->UseRange, audUnknown);
}

TEST_F(AnalysisThreadTest, ARequestDuringAPassMakesAnotherPass) {
  Add(L"Bar");
  Add(L"Baz");
  TAnalysisThread* current = nullptr;
  std::atomic<int> rates = 0;
  std::unique_ptr<TAnalysisThread> thread = Start([&](const TSoftInfo&) {
    if (++rates == 1) current->RequestPass();
  });
  current = thread.get();
  thread->RequestPass();
  RunUntilIdle(*thread);
  EXPECT_EQ(Rated(), (std::vector<std::wstring>{L"Bar", L"Baz", L"Bar", L"Baz"}));
}

TEST_F(AnalysisThreadTest, EntriesAppendedDuringAPassWaitForTheNextOne) {
  Add(L"Bar");
  Add(L"Baz");
  std::unique_ptr<TAnalysisThread> thread = Start();
  thread->RequestPass();
  // A refresh on the user-interface thread while the pass runs: the list
  // grows (and moves in memory) under the worker.
  bool appended = false;
  ASSERT_TRUE(dispatcher_.RunUntil([&] {
    if (!appended && items_[0]->Size > 0) {
      for (int i = 0; i < 64; ++i) Add(L"Qux");
      appended = true;
    }
    return appended && thread->Idle();
  }));
  EXPECT_EQ(items_[1]->Size, 1024);
  EXPECT_EQ(items_[2]->Size, 0);
  thread->RequestPass();
  RunUntilIdle(*thread);
  EXPECT_EQ(items_[2]->Size, 1024);
  EXPECT_EQ(items_.back()->Size, 1024);
}

TEST_F(AnalysisThreadTest, AnalyseNowRunsOneWholePassOnTheCallingThread) {
  Add(L"Daily Foo");
  Add(L"Bar", true);
  AnalyseNow(items_, {SoftwareCachePath(), nullptr, nullptr,
                      [this] { return std::make_unique<ScriptedRater>(log_, nullptr); }});
  EXPECT_EQ(log_.createdOn, std::this_thread::get_id());
  EXPECT_EQ(items_[0]->Size, 1024);
  EXPECT_EQ(items_[0]->UseText, L"today");
  EXPECT_EQ(items_[1]->UseText, L"rarely");
  EXPECT_EQ(dispatcher_.PendingCount(), 0u);
  TSoftwareCache cache;
  cache.Load(SoftwareCachePath());
  EXPECT_TRUE(cache.Matches(*items_[0]));
}

}  // namespace
}  // namespace orvix
