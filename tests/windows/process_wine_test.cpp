// Real child processes under Wine: the snapshot with parent ids, waits,
// termination and exit codes, suspended starts, and jobs that follow a
// child's own children.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "windows/test_files.h"

namespace orvix {
namespace {

constexpr DWORD kEndTimeoutMs = 10000;

class ProcessWineTest : public ::testing::Test {
 protected:
  IProcessApi& processes() { return platform_.Processes(); }

  // Starts the sleeper with its arguments; the test fails when it cannot.
  StartedProcess StartSleeper(const std::wstring& arguments, DWORD flags = 0) {
    StartedProcess started;
    const DWORD status = processes().CreateProcess(L"\"" + sleeper_ + L"\" " + arguments, L"", flags, &started);
    EXPECT_EQ(status, ERROR_SUCCESS) << arguments;
    return started;
  }

  const ProcessEntry* FindInSnapshot(const std::vector<ProcessEntry>& snapshot, DWORD processId) {
    const auto found = std::find_if(snapshot.begin(), snapshot.end(),
                                    [&](const ProcessEntry& entry) { return entry.processId == processId; });
    return found == snapshot.end() ? nullptr : &*found;
  }

  // Ends a process by id, as the helpers that kill by name do.
  void Terminate(DWORD processId) {
    const ProcessHandle process = processes().OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, processId);
    ASSERT_NE(process, 0u) << processId;
    EXPECT_TRUE(processes().TerminateProcess(process, 0));
    EXPECT_EQ(processes().WaitForProcess(process, kEndTimeoutMs), WAIT_OBJECT_0);
    processes().CloseProcess(process);
  }

  win32::Win32Platform platform_;
  const std::wstring sleeper_ = test::BesideTestProgram(L"orvix_test_sleeper.exe");
};

TEST_F(ProcessWineTest, ChildIsInTheSnapshotUntilTerminatedWithItsExitCode) {
  const StartedProcess child = StartSleeper(L"30000");
  ASSERT_NE(child.process, 0u);
  ASSERT_NE(child.processId, 0u);

  const std::vector<ProcessEntry> snapshot = processes().Snapshot();
  const ProcessEntry* entry = FindInSnapshot(snapshot, child.processId);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->parentProcessId, processes().CurrentProcessId());
  EXPECT_TRUE(SameText(entry->exeFile, L"orvix_test_sleeper.exe")) << entry->exeFile;
  const std::wstring childPath = processes().ImagePathOf(child.processId);
  EXPECT_TRUE(SameText(childPath, sleeper_)) << childPath;
  const ProcessEntry* self = FindInSnapshot(snapshot, processes().CurrentProcessId());
  ASSERT_NE(self, nullptr);
  const std::wstring selfPath = processes().ImagePathOf(self->processId);
  EXPECT_TRUE(SameText(selfPath, platform_.Shell().GetModuleFileName())) << selfPath;

  // The sleeper is built with the tests: a WOW64 process in the 32-bit build.
  bool wow64 = false;
  ASSERT_TRUE(processes().IsWow64Process(child.process, &wow64));
  EXPECT_EQ(wow64, sizeof(void*) == 4);
  EXPECT_EQ(processes().WaitForProcess(child.process, 0), WAIT_TIMEOUT);
  DWORD exitCode = 0;
  ASSERT_TRUE(processes().GetExitCode(child.process, &exitCode));
  EXPECT_EQ(exitCode, STILL_ACTIVE);

  // Terminated through a handle of its own, as a kill by name does.
  const ProcessHandle opened =
      processes().OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, child.processId);
  ASSERT_NE(opened, 0u);
  EXPECT_TRUE(processes().TerminateProcess(opened, 42));
  EXPECT_EQ(processes().WaitForProcess(opened, kEndTimeoutMs), WAIT_OBJECT_0);
  ASSERT_TRUE(processes().GetExitCode(opened, &exitCode));
  EXPECT_EQ(exitCode, 42u);
  processes().CloseProcess(opened);
  ASSERT_TRUE(processes().GetExitCode(child.process, &exitCode));
  EXPECT_EQ(exitCode, 42u);
  processes().CloseProcess(child);

  EXPECT_EQ(FindInSnapshot(processes().Snapshot(), child.processId), nullptr);
}

TEST_F(ProcessWineTest, SuspendedStartRunsOnlyWhenResumed) {
  const StartedProcess child = StartSleeper(L"0 7", CREATE_SUSPENDED);
  ASSERT_NE(child.thread, 0u);
  // A suspended process cannot have finished, however long we wait.
  EXPECT_EQ(processes().WaitForProcess(child.process, 300), WAIT_TIMEOUT);
  ASSERT_TRUE(processes().ResumeProcess(child));
  EXPECT_EQ(processes().WaitForProcess(child.process, kEndTimeoutMs), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  ASSERT_TRUE(processes().GetExitCode(child.process, &exitCode));
  EXPECT_EQ(exitCode, 7u);
  processes().CloseProcess(child);
}

TEST_F(ProcessWineTest, InputIdleOnlyOnceTheProgramWaitsForMessages) {
  const StartedProcess idle = StartSleeper(L"idle 30000");
  const StartedProcess busy = StartSleeper(L"30000");  // never looks at its messages
  EXPECT_EQ(processes().WaitForInputIdle(idle.process, kEndTimeoutMs), 0u);
  EXPECT_EQ(processes().WaitForInputIdle(busy.process, 300), WAIT_TIMEOUT);
  for (const StartedProcess& child : {idle, busy}) {
    EXPECT_TRUE(processes().TerminateProcess(child.process, 0));
    EXPECT_EQ(processes().WaitForProcess(child.process, kEndTimeoutMs), WAIT_OBJECT_0);
    processes().CloseProcess(child);
  }
}

TEST_F(ProcessWineTest, FailuresAnswerErrorsAndNullHandles) {
  StartedProcess started;
  EXPECT_EQ(processes().CreateProcess(L"\"" + test::BesideTestProgram(L"no_such_program.exe") + L"\" /S", L"", 0,
                                      &started),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(started.process, 0u);
  EXPECT_EQ(started.thread, 0u);
  EXPECT_EQ(processes().OpenProcess(PROCESS_TERMINATE, 0), 0u);  // the idle process is never ours to open
}

TEST_F(ProcessWineTest, JobFollowsTheGrandchildAfterItsParentEnds) {
  const JobHandle job = processes().CreateJob();
  ASSERT_NE(job, 0u);
  // Suspended until it is in the job, so that its child starts inside too.
  const StartedProcess child = StartSleeper(L"spawn 30000", CREATE_SUSPENDED);
  ASSERT_TRUE(processes().AssignToJob(job, child.process));
  std::vector<DWORD> ids;
  ASSERT_TRUE(processes().JobProcessIds(job, &ids));
  EXPECT_EQ(ids, std::vector<DWORD>{child.processId});

  ASSERT_TRUE(processes().ResumeProcess(child));
  ASSERT_EQ(processes().WaitForProcess(child.process, kEndTimeoutMs), WAIT_OBJECT_0);
  DWORD grandchild = 0;  // the child exits with its own child's id
  ASSERT_TRUE(processes().GetExitCode(child.process, &grandchild));
  ASSERT_NE(grandchild, 0u);
  processes().CloseProcess(child);

  ASSERT_TRUE(processes().JobProcessIds(job, &ids));
  EXPECT_EQ(ids, std::vector<DWORD>{grandchild});
  const std::vector<ProcessEntry> snapshot = processes().Snapshot();
  const ProcessEntry* entry = FindInSnapshot(snapshot, grandchild);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->parentProcessId, child.processId);

  Terminate(grandchild);
  ASSERT_TRUE(processes().JobProcessIds(job, &ids));
  EXPECT_TRUE(ids.empty());
  processes().CloseJob(job);
}

TEST_F(ProcessWineTest, JobListGrowsPastItsFirstBuffer) {
  const JobHandle job = processes().CreateJob();
  ASSERT_NE(job, 0u);
  std::vector<StartedProcess> members;
  std::vector<DWORD> expected;
  for (int i = 0; i < 40; ++i) {  // more than the first buffer holds
    members.push_back(StartSleeper(L"30000", CREATE_SUSPENDED));
    ASSERT_TRUE(processes().AssignToJob(job, members.back().process));
    expected.push_back(members.back().processId);
  }
  std::vector<DWORD> ids;
  EXPECT_TRUE(processes().JobProcessIds(job, &ids));
  std::sort(ids.begin(), ids.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ids, expected);

  for (const StartedProcess& member : members) {
    EXPECT_TRUE(processes().TerminateProcess(member.process, 0));
    EXPECT_EQ(processes().WaitForProcess(member.process, kEndTimeoutMs), WAIT_OBJECT_0);
    processes().CloseProcess(member);
  }
  processes().CloseJob(job);
}

}  // namespace
}  // namespace orvix
