// Running an uninstaller and waiting for it over scripted programs of the
// simulated machine: copies that outlive their starter, browsers left
// open, programs that cannot start, failing job queries, jobs that cannot
// be joined, toolbar markers, and the restore point.
#include <gtest/gtest.h>

#include <algorithm>

#include "inventory/software_info.h"
#include "platform/process_helpers.h"
#include "platform/registry_helpers.h"
#include "scripted_pump.h"
#include "sim_fixture.h"
#include "uninstall/uninstall_operations.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kUninstaller = L"C:\\Program Files (x86)\\Foo\\uninst.exe";
constexpr const wchar_t* kTempCopy = L"C:\\Users\\Ann\\AppData\\Local\\Temp\\~nsu1.tmp\\Un.exe";
constexpr const wchar_t* kFirefox = L"C:\\Program Files\\Mozilla Firefox\\firefox.exe";

class UninstallOperationsTest : public SimMachineTest {
 protected:
  sim::SimProcesses& Processes() { return Machine().processes; }
  DWORD Ticks() { return Machine().clock.TickCount(); }

  // An uninstaller that starts a copy of itself from the temporary folder
  // and ends at once, as NSIS does; the copy works for `copyMs`.
  void RegisterSelfCopyingUninstaller(std::uint64_t copyMs) {
    Processes().RegisterExecutable(kUninstaller, [this](sim::SimProcessContext& self) {
      startedAt = Ticks();
      self.Start(std::wstring(L"\"") + kTempCopy + L"\" _?=C:\\Program Files (x86)\\Foo");
    });
    Processes().RegisterExecutable(kTempCopy, [this, copyMs](sim::SimProcessContext& self) {
      self.After(copyMs, [this](sim::SimProcessContext&) { copyFinishedAt = Ticks(); });
    });
  }

  std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

  TSoftwareInfo inventory;
  ScriptedPump pump;
  TUninstallOperations operations{inventory, pump};
  DWORD startedAt = 0;
  DWORD copyFinishedAt = 0;
};

TEST_F(UninstallOperationsTest, WaitsOneSecondThenForTheCopyThatOutlivesTheUninstaller) {
  RegisterSelfCopyingUninstaller(30000);
  EXPECT_EQ(operations.RunUninstallerAndWait(Quoted(kUninstaller)), 0);
  EXPECT_EQ(startedAt, 1000u) << "the start waits one second of the platform clock";
  EXPECT_EQ(copyFinishedAt, 31000u);
  EXPECT_GE(Ticks(), 31000u);
  EXPECT_LE(Ticks(), 31050u) << "the wait notices the end within one poll";
  EXPECT_GE(pump.calls, 10) << "messages are processed while waiting";
  EXPECT_GT(Processes().JobQueryCount(), 0) << "the uninstaller joined the job before it ran";
  EXPECT_EQ(Processes().OpenHandleCount(), 0u);
}

TEST_F(UninstallOperationsTest, BrowsersAndExplorerLeftRunningDoNotHoldTheWait) {
  Processes().RegisterExecutable(kFirefox, [](sim::SimProcessContext& self) { self.Hang(); });
  Processes().RegisterExecutable(L"C:\\Windows\\Explorer.EXE", [](sim::SimProcessContext& self) { self.Hang(); });
  Processes().RegisterExecutable(kUninstaller, [this](sim::SimProcessContext& self) {
    self.After(2000, [](sim::SimProcessContext& later) {
      later.Start(std::wstring(L"\"") + kFirefox + L"\" https://foo.example/goodbye");
      later.Start(L"C:\\Windows\\Explorer.EXE");
    });
  });
  EXPECT_EQ(operations.RunUninstallerAndWait(Quoted(kUninstaller)), 0);
  EXPECT_LE(Ticks(), 3050u);
  EXPECT_TRUE(IsProcessRunning(L"firefox.exe"));
}

TEST_F(UninstallOperationsTest, AProgramThatDoesNotEndHoldsTheWaitUntilCancel) {
  Processes().RegisterExecutable(kUninstaller, [](sim::SimProcessContext& self) { self.Hang(); });
  pump.onMessages = [this](int) {
    if (Ticks() >= 5000) operations.CancelUninstall();
  };
  EXPECT_EQ(operations.RunUninstallerAndWait(Quoted(kUninstaller)), 0);
  EXPECT_GE(Ticks(), 5000u);
  EXPECT_LE(Ticks(), 5100u);
  EXPECT_TRUE(IsProcessRunning(L"uninst.exe")) << "cancelling the wait ends nothing";
}

TEST_F(UninstallOperationsTest, CancelDuringTheStartDelayStartsNothing) {
  RegisterSelfCopyingUninstaller(1000);
  pump.onMessages = [this](int call) {
    if (call == 3) operations.CancelUninstall();
  };
  TSoftInfo entry;
  entry.DisplayName = L"Foo";
  entry.UninstallString = Quoted(kUninstaller);
  // UninstallEntry clears the flag before it starts, so the cancel comes in the delay.
  const TUninstallResult result = operations.UninstallEntry(&entry);
  EXPECT_EQ(result.Outcome, uoCancelled);
  EXPECT_TRUE(Processes().StartedCommandLines().empty());
}

TEST_F(UninstallOperationsTest, AnUninstallerThatCannotStartIsAFailure) {
  TSoftInfo entry;
  entry.DisplayName = L"Foo";
  entry.UninstallString = L"\"C:\\Program Files (x86)\\Foo\\gone.exe\" /remove";
  const TUninstallResult result = operations.UninstallEntry(&entry);
  EXPECT_EQ(result.DisplayName, L"Foo");
  EXPECT_EQ(result.Outcome, uoNotStarted);
  EXPECT_EQ(result.Error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(operations.RunUninstallerAndWait(entry.UninstallString), -1);
  EXPECT_EQ(operations.LastStartError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// A job that cannot be queried any more is given up after the eleventh
// failure; the wait then follows the uninstaller's process tree, so the
// copy is still waited for.
TEST_F(UninstallOperationsTest, FailedJobQueriesFallBackToTheProcessTreeAfterTheEleventh) {
  const struct {
    int failures;
    int jobQueriesAtMost;
  } cases[] = {{10, 1000}, {11, 11}, {50, 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failures);
    const int queriesBefore = Processes().JobQueryCount();
    const DWORD begin = Ticks();
    RegisterSelfCopyingUninstaller(3000);
    Processes().FailJobQueries(c.failures);
    EXPECT_EQ(operations.RunUninstallerAndWait(Quoted(kUninstaller)), 0);
    EXPECT_EQ(copyFinishedAt - begin, 4000u);
    EXPECT_GE(Ticks() - begin, 4000u);
    const int queries = Processes().JobQueryCount() - queriesBefore;
    EXPECT_LE(queries, c.jobQueriesAtMost);
    if (c.failures < TUninstallOperations::kMaxJobQueryFailures) {
      EXPECT_GT(queries, c.failures);
    }
    Processes().FailJobQueries(0);
  }
}

// Started from a job that forbids breaking away, the uninstaller cannot
// join a job of its own: it is started inside the outer job and followed by
// its process tree.
TEST_F(UninstallOperationsTest, AJobThatCannotBeJoinedFallsBackToTheProcessTree) {
  for (const bool allowsBreakaway : {false, true}) {
    SCOPED_TRACE(allowsBreakaway);
    sim::SimMachine machine;
    const ScopedPlatform scope(machine);
    machine.processes.PutSelfInJob(allowsBreakaway);
    DWORD finishedAt = 0;
    machine.processes.RegisterExecutable(kUninstaller, [](sim::SimProcessContext& self) {
      self.Start(std::wstring(L"\"") + kTempCopy + L"\"");
    });
    machine.processes.RegisterExecutable(kTempCopy, [&](sim::SimProcessContext& self) {
      self.After(6000, [&](sim::SimProcessContext&) { finishedAt = machine.clock.TickCount(); });
    });
    TSoftwareInfo ownInventory;
    TUninstallOperations own(ownInventory, pump);
    EXPECT_EQ(own.RunUninstallerAndWait(Quoted(kUninstaller)), 0);
    EXPECT_EQ(finishedAt, 7000u);
    EXPECT_GE(machine.clock.TickCount(), 7000u);
    EXPECT_EQ(machine.processes.JobQueryCount() > 0, allowsBreakaway);
  }
}

TEST_F(UninstallOperationsTest, LongCommandLinesRunWhole) {
  Processes().RegisterExecutable(kUninstaller, [](sim::SimProcessContext&) {});
  const std::wstring command = Quoted(kUninstaller) + L" /files=" + std::wstring(700, L'x') + L" /really";
  EXPECT_EQ(operations.RunUninstallerAndWait(command), 0);
  ASSERT_EQ(Processes().StartedCommandLines().size(), 1u);
  EXPECT_EQ(Processes().StartedCommandLines()[0], command);
}

TEST_F(UninstallOperationsTest, ToolbarMarkersRunNothing) {
  for (const wchar_t* marker : {L"_SPECIAL_ORVIXTOOLBAR_", L"rundll32 _SPECIAL_TOOLBAR_ {1234}"}) {
    SCOPED_TRACE(marker);
    TSoftInfo entry;
    entry.DisplayName = L"Some Toolbar";
    entry.UninstallString = marker;
    const DWORD begin = Ticks();
    const TUninstallResult result = operations.UninstallEntry(&entry);
    EXPECT_EQ(result.DisplayName, L"Some Toolbar");
    EXPECT_EQ(result.Outcome, uoToolbarMarker);
    EXPECT_EQ(Ticks() - begin, 220u);
  }
  EXPECT_TRUE(Processes().StartedCommandLines().empty());
  EXPECT_EQ(operations.UninstallEntry(nullptr).DisplayName, L"");
}

TEST_F(UninstallOperationsTest, QuietRunsTheSilentFormOfTheCommand) {
  Machine().ImportReg(LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Foo]
"UninstallString"="\"C:\\Program Files (x86)\\Foo\\uninst.exe\""
"QuietUninstallString"="\"C:\\Program Files (x86)\\Foo\\uninst.exe\" /S"
)");
  Processes().RegisterExecutable(kUninstaller, [](sim::SimProcessContext&) {});
  Processes().RegisterExecutable(L"C:\\Windows\\System32\\msiexec.exe", [](sim::SimProcessContext&) {});
  TSoftInfo nsis;
  nsis.RootName = L"HKEY_LOCAL_MACHINE";
  nsis.KeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
  nsis.UninstallString = Quoted(kUninstaller);
  TSoftInfo msi;
  msi.UninstallString = L"MsiExec.exe /X{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}";
  operations.UninstallEntry(&nsis);
  operations.UninstallEntry(&msi);
  operations.Quiet = true;
  operations.UninstallEntry(&nsis);
  operations.UninstallEntry(&msi);
  EXPECT_EQ(Processes().StartedCommandLines(),
            (std::vector<std::wstring>{Quoted(kUninstaller), msi.UninstallString, Quoted(kUninstaller) + L" /S",
                                       msi.UninstallString + L" /qn"}));
}

// The restore client's record read back from the 16-bit units of a call.
struct TRestorePointFields {
  std::uint32_t eventType = 0;
  std::uint32_t restorePointType = 0;
  std::uint64_t sequenceNumber = 0;
  std::wstring description;
};
TRestorePointFields ReadRecord(const std::wstring& record) {
  auto number = [&](std::size_t at, int units) {
    std::uint64_t value = 0;
    for (int i = units - 1; i >= 0; --i) value = value << 16 | (static_cast<std::uint64_t>(record[at + i]) & 0xFFFF);
    return value;
  };
  TRestorePointFields fields;
  fields.eventType = static_cast<std::uint32_t>(number(0, 2));
  fields.restorePointType = static_cast<std::uint32_t>(number(2, 2));
  fields.sequenceNumber = number(4, 4);
  fields.description = record.substr(8).c_str();
  return fields;
}

TEST_F(UninstallOperationsTest, RestorePointRequestAndItsAbsence) {
  // A DLL of that name planted beside the program is never loaded.
  const std::wstring program = Machine().shell.GetModuleFileName();
  sim::SimLibrary planted;
  planted.exports["SRSetRestorePointW"] = [](const std::vector<ExportArg>&) {
    ADD_FAILURE() << "the DLL beside the program was called";
    return 1;
  };
  Machine().modules.Install(program.substr(0, program.find_last_of(L'\\') + 1) + L"SrClient.dll", planted);
  operations.CreateRestorePoint();  // no restore client in System32, as under Wine: nothing happens

  int refusals = 0;
  sim::SimLibrary client;
  client.exports["SRSetRestorePointW"] = [&](const std::vector<ExportArg>& args) {
    // The system writes its STATEMGRSTATUS into the second argument.
    const ExportBuffer& status = std::get<ExportBuffer>(args.at(1));
    std::fill(status->begin(), status->end(), 0xA5);
    return refusals++ == 0 ? 0 : 1;
  };
  Machine().modules.Install(Machine().shell.GetSystemDirectory() + L"\\SrClient.dll", client);
  operations.CreateRestorePoint();  // refused
  operations.CreateRestorePoint();
  const std::vector<sim::SimExportCall>& calls = Machine().modules.calls;
  ASSERT_EQ(calls.size(), 2u);
  ASSERT_EQ(calls[1].args.size(), 2u);
  const std::wstring record = std::get<std::wstring>(calls[1].args[0]);
  EXPECT_EQ(record.size(), 264u) << "528 bytes";
  const TRestorePointFields fields = ReadRecord(record);
  EXPECT_EQ(fields.eventType, 100u);
  EXPECT_EQ(fields.restorePointType, 1u);
  EXPECT_EQ(fields.sequenceNumber, 0u);
  EXPECT_EQ(fields.description, L"Orvix Uninstaller restore point");
  EXPECT_EQ(std::get<ExportBuffer>(calls[1].args[1])->size(), 12u) << "room for STATEMGRSTATUS, and no more";
  EXPECT_EQ(RestorePointRecord(std::wstring(300, L'd')).substr(8, 256), std::wstring(255, L'd') + L'\0');
}

TEST_F(UninstallOperationsTest, FrequencyLimitIsLiftedOnlyWhereSystemRestoreHasItsKey) {
  const std::wstring key = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore";
  TUninstallOperations::LiftRestorePointFrequencyLimit();
  EXPECT_FALSE(RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", key, true));

  Machine().ImportReg(LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\SystemRestore]
"SystemRestorePointCreationFrequency"=dword:000005a0
)");
  TUninstallOperations::LiftRestorePointFrequencyLimit();
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", key, L"SystemRestorePointCreationFrequency", true), 0);
}

}  // namespace
}  // namespace orvix::testing
