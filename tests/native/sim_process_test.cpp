// The simulated processes and clock that uninstall waits are tested over:
// suspended starts, jobs that follow children, waits on the simulated clock.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace orvix::sim {
namespace {

constexpr const wchar_t* kUninstaller = L"C:\\Program Files (x86)\\Foo\\uninst.exe";
constexpr const wchar_t* kTempCopy = L"C:\\Users\\Ann\\AppData\\Local\\Temp\\~nsu1.tmp\\Un.exe";

class SimProcessTest : public ::testing::Test {
 protected:
  // An uninstaller that starts a copy of itself and ends at once; the copy
  // works for five seconds.
  void RegisterSelfCopyingUninstaller() {
    machine.processes.RegisterExecutable(kUninstaller, [](SimProcessContext& self) {
      self.Start(std::wstring(L"\"") + kTempCopy + L"\" _?=C:\\Foo");
    });
    machine.processes.RegisterExecutable(kTempCopy, [this](SimProcessContext& self) {
      self.After(5000, [this](SimProcessContext&) { copyFinished = true; });
    });
  }

  std::vector<DWORD> JobIds(JobHandle job) {
    std::vector<DWORD> ids;
    EXPECT_TRUE(machine.processes.JobProcessIds(job, &ids));
    return ids;
  }

  SimMachine machine;
  bool copyFinished = false;
};

TEST_F(SimProcessTest, ARunningStartLetsAChildEscapeTheJob) {
  RegisterSelfCopyingUninstaller();
  StartedProcess started;
  ASSERT_EQ(machine.processes.CreateProcess(kUninstaller, L"", 0, &started), ERROR_SUCCESS);
  const JobHandle job = machine.processes.CreateJob();
  EXPECT_FALSE(machine.processes.AssignToJob(job, started.process)) << "the uninstaller has already ended";
  EXPECT_TRUE(JobIds(job).empty());
  EXPECT_FALSE(copyFinished);
  machine.processes.CloseProcess(started);
}

TEST_F(SimProcessTest, ASuspendedStartKeepsEveryChildInTheJob) {
  RegisterSelfCopyingUninstaller();
  StartedProcess started;
  ASSERT_EQ(machine.processes.CreateProcess(kUninstaller, L"", CREATE_SUSPENDED, &started), ERROR_SUCCESS);
  const JobHandle job = machine.processes.CreateJob();
  ASSERT_TRUE(machine.processes.AssignToJob(job, started.process));
  ASSERT_TRUE(machine.processes.ResumeProcess(started));

  const std::vector<DWORD> ids = JobIds(job);
  ASSERT_EQ(ids.size(), 1u) << "the uninstaller ended, its copy runs on in the job";
  const SimProcessInfo* copy = machine.processes.Find(ids[0]);
  EXPECT_EQ(copy->parentPid, started.processId);
  EXPECT_EQ(copy->exePath, kTempCopy);

  machine.clock.Advance(4999);
  EXPECT_FALSE(copyFinished);
  machine.clock.Advance(1);
  EXPECT_TRUE(copyFinished);
  EXPECT_TRUE(JobIds(job).empty());
  machine.processes.CloseProcess(started);
  machine.processes.CloseJob(job);
  EXPECT_EQ(machine.processes.OpenHandleCount(), 0u);
}

TEST_F(SimProcessTest, WaitsRunOnTheSimulatedClock) {
  machine.processes.RegisterExecutable(L"C:\\Tools\\slow.exe", [](SimProcessContext& self) {
    self.After(3000, [](SimProcessContext& later) { later.Exit(7); });
  });
  StartedProcess started;
  ASSERT_EQ(machine.processes.CreateProcess(L"C:\\Tools\\slow.exe /quiet", L"", 0, &started), ERROR_SUCCESS);
  const DWORD startTicks = machine.clock.TickCount();
  EXPECT_EQ(machine.processes.WaitForProcess(started.process, 1000), WAIT_TIMEOUT);
  EXPECT_EQ(machine.clock.TickCount() - startTicks, 1000u);
  DWORD code = 0;
  ASSERT_TRUE(machine.processes.GetExitCode(started.process, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(machine.processes.WaitForProcess(started.process, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(machine.clock.TickCount() - startTicks, 3000u);
  ASSERT_TRUE(machine.processes.GetExitCode(started.process, &code));
  EXPECT_EQ(code, 7u);
  machine.processes.CloseProcess(started);
}

TEST_F(SimProcessTest, SnapshotsListRunningProgramsAndTerminationEndsThem) {
  machine.processes.SetSelf(L"C:\\Program Files (x86)\\Orvix Uninstaller\\OrvixUninstaller.exe");
  const DWORD explorer = machine.processes.AddRunning(L"C:\\Windows\\explorer.exe", 0, true);
  machine.processes.RegisterExecutable(L"C:\\Tools\\hang.exe", [](SimProcessContext& self) { self.Hang(); });
  StartedProcess started;
  ASSERT_EQ(machine.processes.CreateProcess(L"C:\\Tools\\hang.exe", L"", 0, &started), ERROR_SUCCESS);

  std::vector<std::wstring> names;
  for (const ProcessEntry& entry : machine.processes.Snapshot()) names.push_back(entry.exeFile);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"OrvixUninstaller.exe", L"explorer.exe", L"hang.exe"}));

  const ProcessHandle shell = machine.processes.OpenProcess(PROCESS_QUERY_INFORMATION, explorer);
  bool wow64 = true;
  ASSERT_TRUE(machine.processes.IsWow64Process(shell, &wow64));
  EXPECT_FALSE(wow64);
  machine.processes.CloseProcess(shell);

  EXPECT_TRUE(machine.processes.TerminateProcess(started.process, 0));
  EXPECT_EQ(machine.processes.WaitForProcess(started.process, 0), WAIT_OBJECT_0);
  EXPECT_EQ(machine.processes.Snapshot().size(), 2u);
  machine.processes.CloseProcess(started);
}

TEST_F(SimProcessTest, CommandLinesFindTheirProgram) {
  machine.processes.RegisterExecutable(L"C:\\Program Files\\My App\\unins000.exe", nullptr);
  machine.processes.RegisterExecutable(L"C:\\Windows\\System32\\msiexec.exe", nullptr);
  const struct {
    const wchar_t* commandLine;
    DWORD expected;
  } cases[] = {
      {L"C:\\Program Files\\My App\\unins000.exe /SILENT", ERROR_SUCCESS},
      {L"\"C:\\Program Files\\My App\\unins000.exe\" /SILENT", ERROR_SUCCESS},
      {L"C:\\Program Files\\My App\\unins000 /SILENT", ERROR_SUCCESS},
      {L"MsiExec.exe /X{12345678-1234-1234-1234-123456789012}", ERROR_SUCCESS},
      {L"C:\\Program Files\\Gone\\uninstall.exe", ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    StartedProcess started;
    EXPECT_EQ(machine.processes.CreateProcess(c.commandLine, L"", 0, &started), c.expected) << c.commandLine;
    machine.processes.CloseProcess(started);
  }
}

TEST(SimClockTest, ScheduledWorkRunsInTimeOrderAndMayScheduleMore) {
  SimClock clock;
  std::vector<int> order;
  clock.Schedule(20, [&] { order.push_back(2); });
  clock.Schedule(10, [&] {
    order.push_back(1);
    clock.Schedule(5, [&] { order.push_back(3); });  // due at 15, before the one at 20
  });
  const FILETIME64 start = clock.NowUtc();
  clock.Advance(30);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(clock.NowUtc() - start, 30 * SimClock::kTicksPerMs);
}

}  // namespace
}  // namespace orvix::sim
