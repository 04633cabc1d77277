// Process and restart helpers over the simulated machine.
#include <gtest/gtest.h>

#include "platform/app_frame.h"
#include "platform/process_helpers.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

class ProcessHelpersTest : public testing::SimMachineTest {};

TEST_F(ProcessHelpersTest, DeleteAtRebootQueuesDeletesAndRenames) {
  Machine().files.PutFile(L"C:\\Foo\\locked.dll", "MZ");
  Machine().files.LockFile(L"C:\\Foo\\locked.dll");
  ASSERT_TRUE(DeleteAtReboot(L"C:\\Foo\\locked.dll", L"", rmDelete));
  ASSERT_TRUE(DeleteAtReboot(L"C:\\Foo\\locked.dll", L"C:\\Foo\\old.dll", rmRename));
  const auto pending = Machine().files.PendingDeletes();
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[0].from, L"C:\\Foo\\locked.dll");
  EXPECT_EQ(pending[0].to, L"");
  EXPECT_EQ(pending[1].to, L"C:\\Foo\\old.dll");
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Foo\\locked.dll")) << "nothing happens before the restart";
}

TEST_F(ProcessHelpersTest, KillProcessByNameEndsEveryMatchByNameOrPath) {
  auto& processes = Machine().processes;
  const DWORD first = processes.AddRunning(L"C:\\Program Files\\Browser\\browser.exe");
  const DWORD second = processes.AddRunning(L"C:\\Program Files\\Browser\\BROWSER.EXE", first);
  const DWORD other = processes.AddRunning(L"C:\\Other\\browser-helper.exe");

  EXPECT_TRUE(IsProcessRunning(L"Browser.exe"));
  EXPECT_EQ(ProcessExeName(second), L"BROWSER.EXE");
  EXPECT_TRUE(KillProcessByName(L"browser.exe"));
  EXPECT_FALSE(processes.Find(first)->running);
  EXPECT_FALSE(processes.Find(second)->running);
  EXPECT_TRUE(processes.Find(other)->running);
  EXPECT_FALSE(IsProcessRunning(L"browser.exe"));
  EXPECT_EQ(ProcessExeName(first), L"") << "an ended process has no name";

  EXPECT_TRUE(KillProcessByName(L"c:\\other\\BROWSER-HELPER.exe"));
  EXPECT_FALSE(processes.Find(other)->running);
  EXPECT_FALSE(KillProcessByName(L"nothing.exe"));
  EXPECT_EQ(processes.OpenHandleCount(), 0u);
}

TEST_F(ProcessHelpersTest, RunShellCommandFillsPlaceholdersAndRoutesRunDll) {
  const TAppFrame frame;
  RunShellCommand(L"%SYSTEM%\\rstrui.exe");
  RunShellCommand(L"%APP%\\Help\\index.html");
  RunShellCommand(L"RunDll32.exe shell32.dll,Control_RunDLL %WINDOWS%\\x.cpl");
  const auto requests = Machine().shell.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].file, frame.GetFolder(fkSystem) + L"\\rstrui.exe");
  EXPECT_EQ(requests[1].file, frame.ProgramFolder() + L"Help\\index.html");
  EXPECT_EQ(requests[2].file, L"RunDll32.exe");
  EXPECT_EQ(requests[2].parameters, L"shell32.dll,Control_RunDLL " + frame.GetFolder(fkWindows) + L"\\x.cpl");
  for (const auto& request : requests) EXPECT_EQ(request.verb, L"open");
}

}  // namespace
}  // namespace orvix
