// The uninstall window's model over the simulated machine: one entry, a
// batch, a bare path, the restore point and AutoUninstaller, the log lines,
// the scan step with its several-programs warning, and Cancel at each step.
#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "platform/settings.h"
#include "platform/text.h"
#include "scripted_pump.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall_entries.h"
#include "uninstall/uninstall_log.h"
#include "uninstall/uninstalling_model.h"

namespace orvix::testing {
namespace {

// Two more programs: Foo Helper, kept in a folder inside Foo's, and Bar.
constexpr const wchar_t* kMoreEntries = LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\FooHelper]
"DisplayName"="Foo Helper"
"UninstallString"="\"C:\\Program Files\\Foo\\Helper\\uninst.exe\""
"InstallLocation"="C:\\Program Files\\Foo\\Helper"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Bar]
"DisplayName"="Bar"
"UninstallString"="\"C:\\Program Files\\Bar\\uninst.exe\""
"InstallLocation"="C:\\Program Files\\Bar"
)";

class UninstallingModelTest : public SimMachineX86Test {
 protected:
  void SetUp() override {
    Machine().ImportReg(kUninstallEntries);
    Machine().ImportReg(kMoreEntries);
    Machine().files.PutFolder(L"C:\\Program Files\\Foo\\Helper");
    // Each uninstaller works for two seconds, then removes its entry.
    const struct {
      const wchar_t* program;
      const wchar_t* key;
    } uninstallers[] = {{L"C:\\Program Files\\Foo\\uninst.exe", L"Foo"},
                        {L"C:\\Program Files\\Foo\\Helper\\uninst.exe", L"FooHelper"},
                        {L"C:\\Program Files\\Bar\\uninst.exe", L"Bar"}};
    for (const auto& u : uninstallers) {
      const std::wstring key = std::wstring(L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + u.key;
      Machine().processes.RegisterExecutable(u.program, [key](sim::SimProcessContext& self) {
        self.After(2000, [key](sim::SimProcessContext&) { RegDeleteKeyAt(HKEY_LOCAL_MACHINE, key, false); });
      });
    }
    sim::SimLibrary restoreClient;
    restoreClient.exports["SRSetRestorePointW"] = [](const std::vector<ExportArg>&) { return 1; };
    Machine().modules.Install(Machine().shell.GetSystemDirectory() + L"\\SrClient.dll", restoreClient);
    inventory = std::make_unique<TSoftwareInfo>();
  }

  std::size_t RestorePoints() { return Machine().modules.calls.size(); }

  const TSoftInfo* Entry(const std::wstring& name) {
    for (const auto& entry : inventory->Items()) {
      if (entry->DisplayName == name) return entry.get();
    }
    ADD_FAILURE() << "no entry " << std::string(name.begin(), name.end());
    return nullptr;
  }

  std::unique_ptr<TUninstallingModel> MakeModel(std::vector<const TSoftInfo*> entries, bool batch) {
    TUninstallingEvents events;
    events.refreshSoftwareList = [this] { ++refreshes; };
    events.close = [this] { ++closes; };
    events.showReview = [this](TLeftoverTree& tree, bool warning) {
      reviewed.push_back(tree.Programs().size());
      for (const auto& program : tree.Programs()) {
        for (const auto& category : program->Children) {
          for (const auto& finding : category->Children) {
            if (!finding->Data.FilePath.empty()) reviewedFiles.push_back(LowerCase(finding->Data.FilePath));
          }
        }
      }
      warnings.push_back(warning);
    };
    events.showMessage = [this](const std::wstring& text) { messages.push_back(text); };
    events.reportEvent = [this](const std::wstring& event) { usageEvents.push_back(event); };
    auto model = std::make_unique<TUninstallingModel>(*inventory, pump, std::move(events));
    model->SetEntries(std::move(entries), batch);
    return model;
  }

  TLogLines TodaysLog() {
    TLogLines lines;
    ReadLogLines(UninstallLogPath(NowLocal()), lines);
    return lines;
  }
  // The log after its header.
  TLogLines LoggedBlocks() {
    TLogLines lines = TodaysLog();
    const std::size_t header = UninstallWindowLogHeader().size();
    return lines.size() < header ? TLogLines{} : TLogLines(lines.begin() + header, lines.end());
  }
  std::wstring DateLine() { return L"Date:" + FormatShortDateLongTime(NowLocal()); }

  std::unique_ptr<TSoftwareInfo> inventory;
  ScriptedPump pump;
  int refreshes = 0;
  int closes = 0;
  std::vector<std::size_t> reviewed;
  std::vector<std::wstring> reviewedFiles;  // every file finding of the reviewed trees, lower case
  std::vector<bool> warnings;
  std::vector<std::wstring> messages;
  std::vector<std::wstring> usageEvents;
};

TEST_F(UninstallingModelTest, OneEntryRunsItsUninstallerLogsItAndWaitsForTheScanClick) {
  auto model = MakeModel({Entry(L"Bar")}, false);
  model->Show();
  EXPECT_EQ(model->State(), usConfirm);
  EXPECT_FALSE(model->UninstallTimerRunning());
  model->UninstallClick();
  EXPECT_EQ(model->State(), usUninstalling);
  EXPECT_EQ(model->Caption(), L"Uninstalling");
  EXPECT_FALSE(model->UninstallEnabled());
  ASSERT_TRUE(model->UninstallTimerRunning());
  model->UninstallTimer();
  EXPECT_FALSE(model->UninstallTimerRunning());
  EXPECT_EQ(model->Titles(), std::vector<std::wstring>{L"Uninstall Bar (1/1)"});
  EXPECT_EQ(model->State(), usFinished);
  EXPECT_EQ(model->ResultLine(), L"Standard Uninstall finished.");
  EXPECT_TRUE(model->PowerfulScanEnabled());
  EXPECT_FALSE(model->Closed());
  const TLogLines log = TodaysLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), std::wstring(36, L'='));
  EXPECT_EQ(LoggedBlocks(), (TLogLines{L"[Bar]", DateLine(), L""}));

  // Nothing of Bar is left: the message, a refreshed list, the window closes.
  model->PowerfulScanClick();
  EXPECT_EQ(usageEvents, std::vector<std::wstring>{L"13"});
  EXPECT_TRUE(reviewed.empty());
  EXPECT_EQ(messages, std::vector<std::wstring>{L"No left items found."});
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(model->Closed());
}

TEST_F(UninstallingModelTest, BatchOfThreeTitlesLogBlocksAndTheSeveralProgramsWarning) {
  auto model = MakeModel({Entry(L"Foo"), Entry(L"Foo Helper"), Entry(L"Bar")}, true);
  model->Show();
  model->UninstallClick();
  model->UninstallTimer();
  EXPECT_EQ(model->Titles(), (std::vector<std::wstring>{L"Standard Uninstall Foo (1/3)",
                                                        L"Standard Uninstall Foo Helper (2/3)",
                                                        L"Standard Uninstall Bar (3/3)"}));
  // Each block is dated when its uninstaller has ended.
  const TLogLines blocks = LoggedBlocks();
  ASSERT_EQ(blocks.size(), 9u);
  const wchar_t* names[] = {L"[Foo]", L"[Foo Helper]", L"[Bar]"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(blocks[3 * i], names[i]);
    EXPECT_TRUE(blocks[3 * i + 1].starts_with(L"Date:1/1/2024 ")) << Narrow(blocks[3 * i + 1]);
    EXPECT_EQ(blocks[3 * i + 2], L"");
  }
  EXPECT_NE(blocks[1], blocks[4]);
  // A second run the same day appends without a header.
  const std::size_t before = TodaysLog().size();
  auto again = MakeModel({Entry(L"Bar")}, false);
  again->UninstallClick();
  again->UninstallTimer();
  EXPECT_EQ(TodaysLog().size(), before + 3);

  // Foo's COM server is left; Foo Helper keeps a folder inside Foo's.
  model->PowerfulScanClick();
  EXPECT_EQ(model->State(), usScanning);
  ASSERT_EQ(reviewed.size(), 1u);
  EXPECT_GE(reviewed[0], 1u);
  EXPECT_EQ(warnings, std::vector<bool>{true});
  EXPECT_TRUE(model->Closed());
}

TEST_F(UninstallingModelTest, OneEntryInAFolderOfItsOwnGetsNoWarning) {
  ASSERT_EQ(Machine().files.RemoveDirectory(L"C:\\Program Files\\Foo\\Helper"), ERROR_SUCCESS);
  auto model = MakeModel({Entry(L"Foo")}, false);
  model->UninstallClick();
  model->UninstallTimer();
  model->PowerfulScanClick();
  EXPECT_EQ(reviewed.size(), 1u);
  EXPECT_EQ(warnings, std::vector<bool>{false});
}

TEST_F(UninstallingModelTest, CancelBeforeTheSecondOfABatchStopsIt) {
  auto model = MakeModel({Entry(L"Foo"), Entry(L"Foo Helper"), Entry(L"Bar")}, true);
  // Cancel is pressed while the first uninstaller runs.
  pump.onMessages = [&](int) {
    if (Machine().clock.TickCount() >= 1500 && !model->UninstallCancelled()) model->CancelClick();
  };
  model->UninstallClick();
  model->UninstallTimer();
  EXPECT_EQ(model->Titles().size(), 1u);
  EXPECT_EQ(Machine().processes.StartedCommandLines().size(), 1u);
  EXPECT_NE(model->State(), usFinished);
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(model->Closed());
  EXPECT_EQ(LoggedBlocks(), (TLogLines{L"[Foo]", DateLine(), L""}));
}

// The steps pump the window's messages: a second click or the timer arriving
// meanwhile starts nothing (one uninstaller, one scan, one review).
TEST_F(UninstallingModelTest, ClicksThatArriveWhileAStepRunsStartNothing) {
  auto model = MakeModel({Entry(L"Foo")}, false);
  int reentries = 0;
  pump.onMessages = [&](int) {
    if (!model->StepRunning()) return;
    ++reentries;
    model->UninstallClick();
    model->UninstallTimer();
    model->PowerfulScanClick();
  };
  model->UninstallClick();
  model->UninstallTimer();
  EXPECT_GT(reentries, 0);
  EXPECT_EQ(model->State(), usFinished);
  EXPECT_EQ(model->Titles().size(), 1u);
  EXPECT_EQ(Machine().processes.StartedCommandLines().size(), 1u);
  EXPECT_EQ(LoggedBlocks(), (TLogLines{L"[Foo]", DateLine(), L""}));

  reentries = 0;
  model->PowerfulScanClick();
  EXPECT_GT(reentries, 0);
  EXPECT_EQ(reviewed.size(), 1u);
  EXPECT_EQ(usageEvents, std::vector<std::wstring>{L"13"});
  EXPECT_EQ(closes, 1);
}

TEST_F(UninstallingModelTest, CancelClosesAtOnceOnlyWhereNoStepRuns) {
  auto confirm = MakeModel({Entry(L"Bar")}, false);
  confirm->CancelClick();
  EXPECT_TRUE(confirm->Closed());
  EXPECT_EQ(refreshes, 0) << "nothing was started";

  auto finished = MakeModel({Entry(L"Bar")}, false);
  finished->UninstallClick();
  finished->UninstallTimer();
  finished->CancelClick();
  EXPECT_TRUE(finished->Closed());
  EXPECT_EQ(refreshes, 1);

  // In state 1 the window stays until the step notices the flag.
  WriteCreateRestore(true);
  auto restore = MakeModel({Entry(L"Bar")}, false);
  restore->UninstallClick();
  EXPECT_EQ(restore->State(), usRestorePoint);
  restore->CancelClick();
  EXPECT_FALSE(restore->Closed());
  restore->UninstallTimer();
  EXPECT_TRUE(restore->Closed());
  EXPECT_EQ(RestorePoints(), 0u);
  EXPECT_TRUE(Machine().processes.StartedCommandLines().size() == 1u) << "only the second window's run";
}

TEST_F(UninstallingModelTest, RestorePointAndAutoUninstaller) {
  const struct {
    bool autoUninstaller;
    bool windows2000;
    std::size_t restorePoints;
  } cases[] = {{false, false, 1}, {true, false, 0}, {false, true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.autoUninstaller << c.windows2000);
    Machine().modules.calls.clear();
    Machine().system.SetOsVersion(c.windows2000 ? OsVersionInfo{5, 0, 2195} : sim::kWindows10);
    WriteCreateRestore(true);
    WriteAutoUninstaller(c.autoUninstaller);
    auto model = MakeModel({Entry(L"Bar")}, false);
    EXPECT_TRUE(model->CreateRestoreChecked());
    model->Show();
    if (c.autoUninstaller) {
      EXPECT_EQ(model->State(), usUninstalling) << "starts as soon as it is shown";
      EXPECT_TRUE(model->UninstallStarted());
    } else {
      EXPECT_EQ(model->State(), usConfirm);
      model->UninstallClick();
      EXPECT_EQ(model->State(), usRestorePoint);
      EXPECT_EQ(model->Caption(), L"Create Restore");
    }
    ASSERT_TRUE(model->UninstallTimerRunning());
    model->UninstallTimer();
    EXPECT_EQ(model->State(), usFinished);
    EXPECT_EQ(RestorePoints(), c.restorePoints);
  }
}

TEST_F(UninstallingModelTest, AutoPowerfulScanRunsTheScanUnlessAnUninstallerDidNotStart) {
  WriteAutoPowerfulScan(true);
  auto model = MakeModel({Entry(L"Foo")}, false);
  model->UninstallClick();
  model->UninstallTimer();
  EXPECT_EQ(reviewed.size(), 1u);
  EXPECT_TRUE(model->Closed());

  auto failing = MakeModel({Entry(L"Gone")}, false);  // its uninstaller is gone
  failing->UninstallClick();
  failing->UninstallTimer();
  EXPECT_EQ(failing->State(), usFinished);
  EXPECT_FALSE(failing->Closed()) << "no scan of a program that is still installed";
  ASSERT_EQ(failing->Results().size(), 1u);
  EXPECT_EQ(failing->Results()[0].Outcome, uoNotStarted);
  EXPECT_EQ(failing->ResultLine(), L"An uninstaller could not be started; see the log.");
  const TLogLines log = TodaysLog();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[log.size() - 4], L"[Gone]");
  EXPECT_EQ(log[log.size() - 2],
            L"The uninstaller could not be started: \"C:\\Program Files\\Gone\\uninst.exe\" "
            L"(The system cannot find the file specified.)");
}

// The user cancelled the uninstaller's own window: it ended, and the entry
// and the uninstaller are still there. That is no uninstall, and the program
// itself is no leftover.
TEST_F(UninstallingModelTest, AnUninstallerThatEndsLeavingItsProgramInstalledIsNoSuccess) {
  WriteAutoPowerfulScan(true);
  const std::wstring key = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Stays";
  Registry().PutString(key, L"DisplayName", L"Stays");
  Registry().PutString(key, L"UninstallString", L"\"C:\\Program Files\\Stays\\uninst.exe\" /remove");
  Machine().files.PutFile(L"C:\\Program Files\\Stays\\uninst.exe", "MZ");
  Machine().processes.RegisterExecutable(L"C:\\Program Files\\Stays\\uninst.exe", [](sim::SimProcessContext&) {});
  inventory = std::make_unique<TSoftwareInfo>();

  auto model = MakeModel({Entry(L"Stays")}, false);
  model->UninstallClick();
  model->UninstallTimer();
  ASSERT_EQ(model->Results().size(), 1u);
  EXPECT_EQ(model->Results()[0].Outcome, uoStillInstalled);
  EXPECT_TRUE(reviewed.empty()) << "no scan offers the program itself";
  EXPECT_FALSE(model->Closed());
  EXPECT_EQ(model->ResultLine(), L"An uninstaller ended with its program still installed; see the log.");
  const TLogLines log = TodaysLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], L"The uninstaller ended but Stays is still installed");
}

TEST_F(UninstallingModelTest, BarePathDeletesTheFileThenScansItsFolder) {
  Machine().files.PutFile(L"C:\\Tools\\Baz\\baz.exe", "MZ");
  Machine().files.PutFile(L"C:\\Tools\\Baz\\baz.ini", "[x]");
  Machine().files.PutFile(L"C:\\Users\\Ann\\Desktop\\Baz.lnk", "L");
  for (const bool shortcut : {false, true}) {
    SCOPED_TRACE(shortcut);
    auto model = MakeModel({}, false);
    const std::wstring chosen = shortcut ? L"C:\\Users\\Ann\\Desktop\\Baz.lnk" : L"C:\\Tools\\Baz\\baz.exe";
    model->SetForcedPath(chosen, L"C:\\Tools\\Baz\\baz.exe");
    EXPECT_EQ(model->State(), usFilesDeleted);
    EXPECT_EQ(model->ResultLine(), L"Files deleted.");
    EXPECT_FALSE(FileExists(chosen));
    EXPECT_FALSE(FileExists(L"C:\\Tools\\Baz\\baz.exe"));
    EXPECT_TRUE(FileExists(L"C:\\Tools\\Baz\\baz.ini"));
    model->PowerfulScanClick();
    EXPECT_TRUE(model->Closed());
    EXPECT_TRUE(Machine().processes.StartedCommandLines().empty());
  }
}

// The folder of a chosen file (bin) names no program: another program's
// folder of that name in the application data is never offered.
TEST_F(UninstallingModelTest, BarePathOfAFileSearchesNoFolderByItsFoldersName) {
  Machine().files.PutFile(L"C:\\Tools\\Baz\\bin\\baz.exe", "MZ");
  Machine().files.PutFile(L"C:\\Tools\\Baz\\bin\\baz.ini", "[x]");
  const std::wstring appData = CurrentPlatform().Shell().GetSpecialFolder(CSIDL_APPDATA);
  Machine().files.PutFile(appData + L"\\bin\\other.dat", "other");
  auto model = MakeModel({}, false);
  model->SetForcedPath(L"C:\\Tools\\Baz\\bin\\baz.exe", L"C:\\Tools\\Baz\\bin\\baz.exe");
  model->PowerfulScanClick();
  ASSERT_EQ(reviewed.size(), 1u);
  EXPECT_EQ(reviewedFiles, (std::vector<std::wstring>{L"c:\\tools\\baz\\bin\\", L"c:\\tools\\baz\\bin\\baz.ini"}));
}

// A dangling shortcut stands for itself: state 3 deletes it, and its folder
// holds nothing of its program, so nothing is scanned, least of all the
// whole machine for a program without a name.
TEST_F(UninstallingModelTest, ADanglingShortcutIsDeletedAndNothingIsScanned) {
  const std::wstring shortcut = L"C:\\Users\\Ann\\Desktop\\Dead.lnk";
  Machine().files.PutFile(shortcut, "L");
  auto model = MakeModel({}, false);
  model->SetForcedPath(shortcut, shortcut);
  ASSERT_EQ(model->ForcedDeletions().size(), 1u);
  EXPECT_EQ(model->ForcedDeletions()[0].path, shortcut);
  EXPECT_TRUE(model->ForcedDeletions()[0].deleted);
  EXPECT_FALSE(FileExists(shortcut));
  model->PowerfulScanClick();
  EXPECT_TRUE(reviewed.empty());
  EXPECT_EQ(messages, std::vector<std::wstring>{L"No left items found."});
}

TEST_F(UninstallingModelTest, TheRestorePointCheckIsWrittenAtOnce) {
  auto model = MakeModel({Entry(L"Bar")}, false);
  EXPECT_FALSE(model->CreateRestoreChecked());
  model->ToggleCreateRestore();
  EXPECT_TRUE(ReadCreateRestore());
  model->CancelClick();
  EXPECT_TRUE(ReadCreateRestore());
}

}  // namespace
}  // namespace orvix::testing
