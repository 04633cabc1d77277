// The uninstaller wait against real processes and a real job under Wine: a
// program that starts a copy of itself and exits at once is still waited
// for until the copy ends; a program that cannot start is a failure.
#include <gtest/gtest.h>

#include <algorithm>

#include "inventory/software_info.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "uninstall/uninstall_operations.h"
#include "windows/test_files.h"

namespace orvix {
namespace {

class NoMessages : public IPump {
 public:
  void ProcessMessages() override { ++calls; }
  bool StopRequested() override { return false; }
  int calls = 0;
};

bool SleeperRunning() {
  const std::vector<ProcessEntry> snapshot = CurrentPlatform().Processes().Snapshot();
  return std::any_of(snapshot.begin(), snapshot.end(),
                     [](const ProcessEntry& entry) { return SameText(entry.exeFile, L"orvix_test_sleeper.exe"); });
}

TEST(UninstallWaitWineTest, TheCopyAProgramStartsBeforeItExitsIsWaitedFor) {
  TSoftwareInfo inventory;
  NoMessages pump;
  TUninstallOperations operations(inventory, pump);
  const std::wstring sleeper = test::BesideTestProgram(L"orvix_test_sleeper.exe");
  ASSERT_FALSE(SleeperRunning());

  IClockApi& clock = CurrentPlatform().Clock();
  const DWORD begin = clock.TickCount();
  // The sleeper starts a copy that sleeps three seconds, and exits at once.
  ASSERT_EQ(operations.RunUninstallerAndWait(L"\"" + sleeper + L"\" spawn 3000"), 0);
  const DWORD elapsed = clock.TickCount() - begin;
  EXPECT_GE(elapsed, 3900u) << "one second before the start, then the copy's three";
  EXPECT_LT(elapsed, 20000u);
  EXPECT_FALSE(SleeperRunning()) << "the wait ended before the copy did";
  EXPECT_GT(pump.calls, 10);
}

TEST(UninstallWaitWineTest, AProgramThatCannotStartIsAFailure) {
  TSoftwareInfo inventory;
  NoMessages pump;
  TUninstallOperations operations(inventory, pump);
  EXPECT_EQ(operations.RunUninstallerAndWait(L"\"" + test::BesideTestProgram(L"no_such_uninstaller.exe") + L"\" /S"),
            -1);
  EXPECT_EQ(operations.LastStartError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace orvix
