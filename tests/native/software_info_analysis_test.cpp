// The inventory with its analysis: the cache fills the entries at creation
// and on Refresh, a pass follows each, and destroying the inventory ends the
// worker before the entries go.
#include "inventory/software_info.h"

#include <gtest/gtest.h>

#include "analysis_fakes.h"
#include "inventory/analysis_cache.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr wchar_t kUninstallKeys[] = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class SoftwareInfoAnalysisTest : public testing::SimMachineTest {
 protected:
  // A program with a 1000-byte uninstaller in its own folder.
  void Install(const std::wstring& name) {
    const std::wstring uninstaller = L"C:\\Program Files\\" + name + L"\\uninst.exe";
    Machine().files.PutFile(uninstaller, Bytes(1000));
    Registry().PutString(kUninstallKeys + name, L"DisplayName", name);
    Registry().PutString(kUninstallKeys + name, L"UninstallString", uninstaller);
  }

  // What an earlier run kept about the program.
  void Cache(const std::wstring& name, std::int64_t size) {
    TSoftwareCache cache;
    cache.Load(SoftwareCachePath());
    TSoftInfo known;
    known.DisplayName = name;
    known.UninstallString = L"C:\\Program Files\\" + name + L"\\uninst.exe";
    known.Size = size;
    cache.WriteSize(known);
    cache.WriteInstallDate(known);
    cache.WriteMd5(known);
    ASSERT_TRUE(cache.Save(SoftwareCachePath()));
  }

  std::unique_ptr<TSoftwareInfo> Create(std::function<void(const TSoftInfo&)> hook = {}) {
    return std::make_unique<TSoftwareInfo>(
        dispatcher_, TAnalysisSettings{SoftwareCachePath(), &listView_, nullptr, [this, hook] {
                                         return std::make_unique<testing::ScriptedRater>(log_, hook);
                                       }});
  }

  void RunUntilIdle(const TSoftwareInfo& info) {
    ASSERT_NE(info.Analysis(), nullptr);
    ASSERT_TRUE(dispatcher_.RunUntil([&] { return info.Analysis()->Idle(); }));
  }

  TQueueDispatcher dispatcher_;
  testing::RecordingListView listView_;
  testing::ScriptedRater::Log log_;
};

TEST_F(SoftwareInfoAnalysisTest, CreationFillsFromTheCacheAtOnceAndAnalysesTheRest) {
  Install(L"Foo");
  Install(L"Bar");
  Cache(L"Bar", 777);
  const std::unique_ptr<TSoftwareInfo> info = Create();
  ASSERT_EQ(info->Count(), 2);
  TSoftInfo& bar = *info->GetItem(0);
  TSoftInfo& foo = *info->GetItem(1);
  ASSERT_EQ(bar.DisplayName, L"Bar");
  EXPECT_EQ(bar.Size, 777) << "shown complete before any pass";
  EXPECT_EQ(bar.SizeText, L"777 Byte");

  RunUntilIdle(*info);
  EXPECT_EQ(foo.Size, 1000);
  EXPECT_EQ(bar.Size, 777) << "a cached size is not measured again";
  EXPECT_TRUE(listView_.rows.contains(1));
}

TEST_F(SoftwareInfoAnalysisTest, RefreshFillsNewEntriesFromTheCacheAndRunsAnotherPass) {
  Install(L"Foo");
  const std::unique_ptr<TSoftwareInfo> info = Create();
  RunUntilIdle(*info);
  ASSERT_EQ(log_.rated.size(), 1u);

  Install(L"Baz");
  Cache(L"Baz", 4242);
  info->Refresh();
  ASSERT_EQ(info->Count(), 2);
  EXPECT_EQ(info->GetItem(1)->Size, 4242) << "the appended entry takes what the cache knows";
  RunUntilIdle(*info);
  EXPECT_EQ(log_.rated, (std::vector<std::wstring>{L"Foo", L"Foo", L"Baz"}));
}

TEST_F(SoftwareInfoAnalysisTest, DestroyingTheInventoryEndsTheWorkerFirst) {
  Install(L"Foo");
  Install(L"Bar");
  std::unique_ptr<TSoftwareInfo> info = Create();
  // The worker's first pass waits for this thread, which is busy elsewhere.
  while (dispatcher_.PendingCount() == 0) std::this_thread::yield();
  info.reset();
  EXPECT_NE(log_.destroyedOn, std::thread::id()) << "the worker and its rater ended before the entries went";
  const std::size_t rows = listView_.rows.size();
  dispatcher_.RunPending();
  EXPECT_EQ(listView_.rows.size(), rows) << "nothing of the destroyed inventory runs later";
}

}  // namespace
}  // namespace orvix
