// Every file the program rewrites, with a fault at each call the rewrite
// makes: the file is then its old content or its new one, never part of
// either; a rewrite that answers true left the new one and one that answers
// false the old one, and a failure leaves no temporary file behind.
#include <gtest/gtest.h>

#include <optional>

#include "fault_sweep.h"
#include "inventory/analysis_cache.h"
#include "platform/file_helpers.h"
#include "platform/profile_ini.h"
#include "platform/settings.h"
#include "sim_fixture.h"
#include "uninstall/uninstall_log.h"

namespace orvix {
namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }
std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

TSoftInfo CacheEntry(const std::wstring& name, std::int64_t size) {
  TSoftInfo entry;
  entry.DisplayName = name;
  entry.Size = size;
  entry.SizeText = std::to_wstring(size) + L" B";
  return entry;
}

bool AddToCache(const TSoftInfo& entry) {
  TSoftwareCache cache;
  cache.Load(SoftwareCachePath());
  cache.WriteSize(entry);
  return cache.Save(SoftwareCachePath());
}

struct Rewriter {
  const char* name;
  std::wstring (*path)();          // the file on the current machine
  void (*writeOld)();              // what is there before
  bool (*rewrite)();               // the rewrite under the faults
};

const Rewriter kRewriters[] = {
    {"uninstall log", [] { return UninstallLogPath(NowLocal()); },
     [] { AppendUninstallLog({L"Delete File C:\\old.txt"}, ReviewLogHeader); },
     [] { return AppendUninstallLog({L"Delete File C:\\new.txt"}, ReviewLogHeader); }},
    {"software cache", SoftwareCachePath, [] { AddToCache(CacheEntry(L"Foo", 1)); },
     [] { return AddToCache(CacheEntry(L"Bar", 2)); }},
    {"settings key", SettingsPath,
     [] {
       WriteLanguage(L"Deutsch");
       WriteListViewStyle(2);
     },
     [] { return WriteLanguage(L"Fran\u00E7ais"); }},
};

struct RunResult {
  bool answered = false;
  bool crashed = false;
  bool fired = false;
  std::optional<Bytes> bytes;      // the file afterwards; empty when it is gone
  std::vector<std::wstring> names; // everything in its folder afterwards
  std::vector<sim::FileEvent> journal;
};

RunResult RewriteUnder(const Rewriter& rewriter, bool withOld, const std::optional<sim::Fault>& fault) {
  testing::CurrentSimMachine current;
  sim::SimFileSystem& files = current.machine.files;
  if (withOld) rewriter.writeOld();
  const std::wstring path = rewriter.path();
  files.ClearJournal();
  sim::FaultyPlatform faulty(current.machine);
  ScopedPlatform scope(faulty);
  if (fault) faulty.faults.Add(*fault);
  RunResult result;
  try {
    result.answered = rewriter.rewrite();
  } catch (const sim::SimCrash&) {
    result.crashed = true;
  }
  result.fired = faulty.faults.Fired() > 0;
  result.bytes = files.FileBytes(path);
  result.names = files.ListNames(FolderOf(path));
  result.journal = files.Journal();
  // A crash ends the process, and its handles with it.
  if (!result.crashed) {
    EXPECT_EQ(files.OpenHandleCount(), 0u) << rewriter.name << ": a handle left open";
  }
  return result;
}

TEST(RewriteFaultsTest, EveryRewriteWritesBesideFlushesAndReplacesInOneMove) {
  for (const Rewriter& rewriter : kRewriters) {
    SCOPED_TRACE(rewriter.name);
    const RunResult run = RewriteUnder(rewriter, true, std::nullopt);
    ASSERT_TRUE(run.answered);
    ASSERT_FALSE(run.journal.empty());
    const sim::FileEvent& last = run.journal.back();
    ASSERT_EQ(last.op, sim::FileOp::Move);
    EXPECT_EQ(last.flags, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    EXPECT_EQ(FolderOf(last.path), FolderOf(last.to));
    bool flushed = false;
    for (const sim::FileEvent& event : run.journal) {
      // The original is never written in place; the temporary file is flushed before it replaces it.
      if (event.op == sim::FileOp::Write || event.op == sim::FileOp::SetEnd) {
        EXPECT_NE(event.path, last.to);
      }
      if (event.op == sim::FileOp::Flush && event.path == last.path) flushed = true;
    }
    EXPECT_TRUE(flushed);
  }
}

TEST(RewriteFaultsTest, AFaultAtAnyCallLeavesTheOldFileOrTheNewOneAndTellsWhich) {
  for (const Rewriter& rewriter : kRewriters) {
    std::optional<Bytes> oldBytes;
    std::wstring fileName;
    {
      testing::CurrentSimMachine current;
      rewriter.writeOld();
      oldBytes = current.machine.files.FileBytes(rewriter.path());
      fileName = NameOf(rewriter.path());
    }
    const std::optional<Bytes> newBytes = RewriteUnder(rewriter, true, std::nullopt).bytes;
    // What the rewrite makes when the old file has gone (it vanished).
    const std::optional<Bytes> freshBytes = RewriteUnder(rewriter, false, std::nullopt).bytes;
    ASSERT_TRUE(oldBytes && newBytes && freshBytes && *oldBytes != *newBytes) << rewriter.name;
    for (const testing::FaultKind& kind : testing::kFaultKinds) {
      const bool vanishing = kind.effect == sim::FaultEffect::Vanish;
      const unsigned points = testing::SweepEveryCall(kind, [&](const sim::Fault& fault) {
        SCOPED_TRACE(std::string(rewriter.name) + ", " + kind.name + " at call " + std::to_string(fault.nth));
        const RunResult run = RewriteUnder(rewriter, true, fault);
        const auto is = [&](const std::optional<Bytes>& bytes) { return run.bytes == bytes; };
        const bool isOld = is(oldBytes), isNew = is(newBytes);
        const bool isFresh = vanishing && is(freshBytes), isGone = vanishing && !run.bytes;
        if (run.crashed) {
          EXPECT_TRUE(isOld || isNew || isFresh || isGone) << "torn by a crash";
        } else if (run.answered) {
          EXPECT_TRUE(isNew || isFresh) << "reported written, but the new content is not there";
        } else {
          EXPECT_TRUE(isOld || isGone) << "reported failed, but the old content is not there";
          // A failure leaves no temporary file beside the one it replaces.
          if (run.bytes) {
            EXPECT_EQ(run.names, std::vector<std::wstring>{fileName}) << "a temporary file left";
          }
        }
        return run.fired;
      });
      EXPECT_GT(points, 3u) << rewriter.name << ", " << kind.name;
    }
  }
}

}  // namespace
}  // namespace orvix
