// The main window's model: start-up order and the command line, the
// message guards, refresh rules, the search box, the software menu, the
// uninstall commands, the page's floating button, bounds and closing.
#include "shell/main_window_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "formats/text_codec.h"
#include "main_window_fixture.h"
#include "named_case.h"
#include "platform/profile_ini.h"
#include "platform/settings.h"
#include "shell/window_messages.h"
#include "shredder/shredder_list.h"

namespace orvix::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(MainWindowTest, StartsInOrderAndListsAllPrograms) {
  TMainWindowModel model(prompts, RecordingEvents());
  EXPECT_FALSE(model.CanRefresh());
  EXPECT_FALSE(model.RefreshSoftware(false)) << "F5 before the first fill does nothing";
  EXPECT_TRUE(model.SoftwarePage().Rows().empty());

  model.Create(kOwnWindow);
  EXPECT_EQ(model.Bounds(), RectOf(525, 235, 870, 570));
  EXPECT_TRUE(model.Activate());
  EXPECT_FALSE(model.Activate()) << "only the first activation starts the software timer";
  model.LoadSoftware(std::make_unique<TSoftwareInfo>());

  EXPECT_EQ(lines, (Lines{"floating button", "focus list"}));
  EXPECT_EQ(model.SoftwarePage().CurrentTab(), 0);
  EXPECT_EQ(Names(model), (Lines{"Caf\u00e9 \u4e2d", "Editor", "Viewer"}));
  EXPECT_TRUE(model.ListReady());
  EXPECT_TRUE(model.CanRefresh());
  EXPECT_TRUE(PostedToSelf().empty());
}

struct CommandLineCase : NamedCase {
  std::vector<std::wstring> arguments;
  bool menuRightFile;
  Lines reported;  // after the start's "0/7", "3/0"
  std::vector<DWORD> posted;
  Lines lines;     // after the software timer's two
  std::string received;
};

class MainWindowCommandLine : public MainWindowTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(MainWindowCommandLine, ActsAfterTheListIsFilled) {
  const CommandLineCase& row = GetParam();
  if (row.menuRightFile) {
    Machine().files.PutFile(DataFolder() + L"MenuRight.dat", ToUtf8(L"  C:\\Program Files\\Editor\\editor.exe\r\n"));
  }
  const auto model = StartedModel(row.arguments);
  Lines reportedAll = {"0/7", "3/0"};
  reportedAll.insert(reportedAll.end(), row.reported.begin(), row.reported.end());
  EXPECT_EQ(reported, reportedAll);
  EXPECT_EQ(PostedToSelf(), row.posted);
  Lines linesAll = {"floating button", "focus list"};
  linesAll.insert(linesAll.end(), row.lines.begin(), row.lines.end());
  EXPECT_EQ(lines, linesAll);
  EXPECT_EQ(Narrow(model->ReceivedText()), row.received);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, MainWindowCommandLine,
    ::testing::Values(
        CommandLineCase{{"None"}, {}, false, {}, {}, {}, ""},
        CommandLineCase{{"ControlStatistics"}, {L"Control_Statistics", L" Viewer "}, false, {"2/7", "5/0"},
                        {0x7EA}, {}, "Viewer"},
        CommandLineCase{{"ControlStatisticsWithoutName"}, {L"control_statistics"}, false, {"2/7", "5/0"}, {}, {}, ""},
        CommandLineCase{{"ExplorerStatistics"}, {L"explorer_statistics"}, false, {"15/7", "16/0"}, {0x7EB}, {}, ""},
        CommandLineCase{{"MenuRightOpensForcedUninstall"}, {L"MenuRight"}, true, {"1/7", "4/0"}, {},
                        {"forced path C:\\Program Files\\Editor\\editor.exe"}, ""},
        CommandLineCase{{"MenuRightWithoutFile"}, {L"MenuRight"}, false, {"1/7", "4/0"}, {}, {}, ""}),
    CaseName());

TEST_F(MainWindowTest, CopyDataKeepsTheNameAndPostsToItself) {
  const auto model = StartedModel();
  const std::vector<std::uint8_t> other = CopyDataPayload(L"Other");
  model->ReceiveCopyData(7, other.data(), other.size());
  EXPECT_TRUE(PostedToSelf().empty()) << "only dwData 2026 counts";

  const std::vector<std::uint8_t> payload = CopyDataPayload(L"Viewer");
  model->ReceiveCopyData(2026, payload.data(), payload.size() - 8);  // a sender claiming less is cut
  EXPECT_EQ(model->ReceivedText(), L"Vie");
  EXPECT_EQ(PostedToSelf(), (std::vector<DWORD>{0x7EA}));
  model->ForcedUninstallByName();
  EXPECT_EQ(lines.back(), "forced name Vie");
}

// A message that arrives while one of the windows runs modally.
enum TArrival { arExplorerMenu, arByName, arShred, arDrop };

struct GuardCase : NamedCase {
  TDialogKind open;  // dkCount: none
  TArrival arrival;
  std::string acted;  // the line the message adds; empty: ignored
};

class MainWindowGuards : public MainWindowTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(MainWindowGuards, RefuseWhileSomeWindowsAreOpen) {
  const GuardCase& row = GetParam();
  const std::wstring editor = L"C:\\Program Files\\Editor\\editor.exe";
  Machine().files.PutFile(DataFolder() + L"MenuRight.dat", ToUtf8(editor));
  Machine().files.PutFile(ShredderListPath(), "C:\\a.txt\r\nC:\\b.txt\r\n");

  TMainWindowModel* current = nullptr;
  auto arrive = [&] {
    lines.clear();
    switch (row.arrival) {
      case arExplorerMenu: current->ExplorerForcedUninstall(); break;
      case arByName: current->ForcedUninstallByName(); break;
      case arShred: current->ShredFromExplorer(); break;
      case arDrop: current->DropFiles({editor, L"C:\\other.txt"}); break;
    }
  };
  TMainWindowEvents events = RecordingEvents();
  // The message arrives while the first window's modal run lasts; a window
  // the message itself opens records as usual.
  bool arrived = false;
  auto arriveOnce = [&] { return !std::exchange(arrived, true) && (arrive(), true); };
  events.openSettings = arriveOnce;
  events.openLogManagement = arriveOnce;
  events.openAbout = arriveOnce;
  events.openShredder = [&, record = events.openShredder](const std::vector<std::wstring>& files) {
    if (!arriveOnce()) record(files);
  };
  events.openForcedUninstall = [&] {
    arriveOnce();
    return false;
  };
  events.openUninstall = [&](const std::vector<const TSoftInfo*>&) {
    arriveOnce();
    return false;
  };
  const auto model = StartedModel({L"control_statistics", L"Viewer"}, std::move(events));
  current = model.get();
  switch (row.open) {
    case dkSettings: model->OpenSettings(); break;
    case dkLogManagement: model->OpenLogManagement(); break;
    case dkShredder: model->OpenFileShredder(); break;
    case dkForcedUninstall: model->OpenForcedUninstall(); break;
    case dkUninstallSession:
      model->SelectRow(RowOf(*model, L"Editor"));
      model->UninstallSelected();
      break;
    case dkAbout: model->OpenAbout(); break;
    default: arriveOnce(); break;
  }
  lines.erase(std::remove(lines.begin(), lines.end(), "front"), lines.end());
  EXPECT_EQ(lines, row.acted.empty() ? Lines{} : Lines{row.acted});
  EXPECT_FALSE(model->IsDialogOpen(row.open == dkCount ? dkSettings : row.open)) << "closed again";
}

const std::string kForcedEditor = "forced path C:\\Program Files\\Editor\\editor.exe";
const std::string kUpdateEditor = "update forced path C:\\Program Files\\Editor\\editor.exe";

INSTANTIATE_TEST_SUITE_P(
    Messages, MainWindowGuards,
    ::testing::Values(GuardCase{{"MenuNothingOpen"}, dkCount, arExplorerMenu, kForcedEditor},
                      GuardCase{{"MenuWhileSettings"}, dkSettings, arExplorerMenu, ""},
                      GuardCase{{"MenuWhileLogs"}, dkLogManagement, arExplorerMenu, ""},
                      GuardCase{{"MenuWhileShredder"}, dkShredder, arExplorerMenu, ""},
                      GuardCase{{"MenuWhileUninstall"}, dkUninstallSession, arExplorerMenu, ""},
                      GuardCase{{"MenuWhileForcedUpdatesIt"}, dkForcedUninstall, arExplorerMenu, kUpdateEditor},
                      GuardCase{{"MenuWhileAbout"}, dkAbout, arExplorerMenu, kForcedEditor},
                      GuardCase{{"NameNothingOpen"}, dkCount, arByName, "forced name Viewer"},
                      GuardCase{{"NameWhileSettings"}, dkSettings, arByName, ""},
                      GuardCase{{"NameWhileShredder"}, dkShredder, arByName, ""},
                      GuardCase{{"NameWhileUninstall"}, dkUninstallSession, arByName, ""},
                      GuardCase{{"NameWhileForcedUpdatesIt"}, dkForcedUninstall, arByName, "update forced name Viewer"},
                      GuardCase{{"ShredNothingOpen"}, dkCount, arShred, "shredder 2"},
                      GuardCase{{"ShredWhileForced"}, dkForcedUninstall, arShred, ""},
                      GuardCase{{"ShredWhileLogs"}, dkLogManagement, arShred, ""},
                      GuardCase{{"ShredWhileShredderUpdatesIt"}, dkShredder, arShred, "update shredder 2"},
                      GuardCase{{"ShredWhileAbout"}, dkAbout, arShred, "shredder 2"},
                      GuardCase{{"DropNothingOpen"}, dkCount, arDrop, kForcedEditor},
                      GuardCase{{"DropWhileAbout"}, dkAbout, arDrop, ""}),
    CaseName());

TEST_F(MainWindowTest, ExplorerMenuIgnoresWhatForcedUninstallMayNotTake) {
  const auto model = StartedModel();
  model->ExplorerForcedUninstall();
  EXPECT_EQ(lines, (Lines{"floating button", "focus list"})) << "no MenuRight.dat: nothing at all";
  lines.clear();
  for (const std::wstring& path : {std::wstring(L"C:\\Windows"), std::wstring(L"C:\\missing.exe")}) {
    Machine().files.PutFile(DataFolder() + L"MenuRight.dat", ToUtf8(path));
    model->ExplorerForcedUninstall();
    model->DropFiles({path});
  }
  EXPECT_EQ(lines, (Lines{"front", "front"}));
}

TEST_F(MainWindowTest, RefreshKeepsOrClearsTheSearchAndNeverNests) {
  TMainWindowEvents events = RecordingEvents();
  TMainWindowModel* current = nullptr;
  int nested = 0;
  events.listChanged = [&] {
    if (current != nullptr && !current->ListIdle()) nested += current->RefreshSoftware(false) ? 100 : 1;
  };
  const auto model = StartedModel({}, std::move(events));
  current = model.get();
  model->SearchTyped(L" e ");
  EXPECT_EQ(Names(*model), (Lines{"Editor", "Viewer"}));
  Put(kUninstall64, L"Encoder", L"Encoder", L"");
  Put(kUninstall64, L"Tool", L"Tool", L"");

  model->RefreshCurrentPage();  // F5 keeps the search
  EXPECT_EQ(nested, 1) << "a refresh asked for during one does nothing";
  EXPECT_EQ(Names(*model), (Lines{"Editor", "Encoder", "Viewer"}));
  EXPECT_EQ(model->SearchBoxText(), L" e ");

  EXPECT_TRUE(model->RefreshSoftware(true));  // "Refresh" clears it
  EXPECT_EQ(Names(*model), (Lines{"Caf\u00e9 \u4e2d", "Editor", "Encoder", "Tool", "Viewer"}));
  EXPECT_EQ(model->SearchBoxText(), L"Search Software");
  EXPECT_TRUE(model->ListIdle());
}

TEST_F(MainWindowTest, SearchBoxPlaceholderClearButtonAndPages) {
  const auto model = StartedModel();
  EXPECT_EQ(model->SearchBoxText(), L"Search Software");
  model->SearchFocus(true);
  EXPECT_EQ(model->SearchBoxText(), L"");
  model->SearchTyped(L"   ");
  EXPECT_FALSE(model->ClearButtonVisible()) << "blanks only";
  EXPECT_EQ(Names(*model).size(), 3u);
  model->SearchTyped(L"VIEW");
  EXPECT_TRUE(model->ClearButtonVisible());
  EXPECT_EQ(Names(*model), (Lines{"Viewer"}));
  model->SelectCategory(2);
  EXPECT_EQ(model->SearchBoxText(), L"") << "a tab clears the search";
  model->SearchTyped(L"view");
  model->ClearSearch();
  EXPECT_FALSE(model->ClearButtonVisible());
  model->SearchFocus(false);
  EXPECT_EQ(model->SearchBoxText(), L"Search Software");

  EXPECT_EQ(model->Page(), mpSoftware);
  model->ShowAddonPage();
  EXPECT_EQ(model->Page(), mpAddons);
  model->SearchTyped(L" ad ");
  model->RefreshCurrentPage();
  model->RunPageAction();
  EXPECT_EQ(lines, (Lines{"floating button", "focus list", "filter add-ons ad", "refresh add-ons", "remove add-ons"}));
  EXPECT_EQ(reported, (Lines{"0/7", "3/0", "12/7", "10/7", "11/0"}));

  model->SelectCategory(0);
  model->ShowSoftwarePage();
  EXPECT_EQ(model->Page(), mpSoftware);
  EXPECT_EQ(model->SearchBoxText(), L"Search Software");
  EXPECT_EQ(Names(*model).size(), 3u);
}

struct MenuCase : NamedCase {
  const wchar_t* selected;  // nullptr: no selection
  bool dropDisplayName;     // the key lost DisplayName after the list was filled
  TSoftMenuState state;
};

class MainWindowMenu : public MainWindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MainWindowMenu, StatesFollowTheSelectionAndTheRegistry) {
  const MenuCase& row = GetParam();
  const auto model = StartedModel();
  if (row.selected != nullptr) model->SelectRow(RowOf(*model, row.selected));
  if (row.dropDisplayName) {
    Registry().RemoveValue(std::wstring(kUninstall64) + L"Editor", L"DisplayName");
  }
  EXPECT_EQ(model->SoftMenuState(), row.state);
}

INSTANTIATE_TEST_SUITE_P(
    SoftPopup, MainWindowMenu,
    ::testing::Values(MenuCase{{"NothingSelected"}, nullptr, false, {false, true, false, false, false, false, false}},
                      MenuCase{{"EntryWithFolder"}, L"Editor", false, {false, true, true, true, true, true, true}},
                      MenuCase{{"EntryWithoutFolder"}, L"Viewer", false, {false, true, true, true, true, false, true}},
                      MenuCase{{"KeyLostItsName"}, L"Editor", true, {false, true, true, false, false, true, true}}),
    CaseName());

TEST_F(MainWindowTest, MenuCommandsReachTheShellAndTheEditor) {
  const auto model = StartedModel();
  model->SetViewMode(lvmIcons);
  EXPECT_TRUE(model->SoftMenuState().iconsChecked);
  EXPECT_FALSE(model->SearchSelectedOnline()) << "nothing selected";

  model->SelectRow(RowOf(*model, L"Caf\u00e9 \u4e2d"));
  EXPECT_TRUE(model->SearchSelectedOnline());
  model->SelectRow(RowOf(*model, L"Editor"));
  EXPECT_TRUE(model->OpenSelectedFolder());
  EXPECT_TRUE(model->ViewSelectedEntry());

  const std::vector<sim::ShellRequest> requests = Machine().shell.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].file,
            L"https://www.google.com/search?source=hp&q=Caf%C3%A9+%E4%B8%AD&meta=&aq=f&aqi=g10&aql=&oq=&gs_rfai=")
      << "the name in UTF-8, whatever the ANSI code page holds";
  EXPECT_EQ(requests[1].file, L"C:\\Program Files\\Editor");
  ASSERT_EQ(Machine().registryEditor.requests.size(), 1u);
  EXPECT_EQ(Machine().registryEditor.requests[0].keyText,
            L"My\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Editor");
  EXPECT_EQ(Machine().registryEditor.requests[0].valueName, L"DisplayName");
  EXPECT_TRUE(Machine().registryEditor.requests[0].view64);
}

TEST_F(MainWindowTest, RemoveEntryAsksThenRemovesTheKeyAndRefreshes) {
  const auto model = StartedModel();
  EXPECT_FALSE(model->RemoveSelectedEntry()) << "nothing selected, nothing asked";
  model->SelectRow(RowOf(*model, L"Viewer"));
  prompts.answer = false;
  EXPECT_FALSE(model->RemoveSelectedEntry());
  EXPECT_TRUE(Registry().HasKey(std::wstring(kUninstall32) + L"Viewer"));

  prompts.answer = true;
  model->SelectRow(RowOf(*model, L"Viewer"));
  EXPECT_TRUE(model->RemoveSelectedEntry());
  EXPECT_FALSE(Registry().HasKey(std::wstring(kUninstall32) + L"Viewer"));
  EXPECT_EQ(Names(*model), (Lines{"Caf\u00e9 \u4e2d", "Editor"}));
  EXPECT_EQ(prompts.lines, (Lines{"ask Are you sure to remove the selected program entry?",
                                  "ask Are you sure to remove the selected program entry?"}));
}

TEST_F(MainWindowTest, UninstallCommandsChooseTheirEntriesOneWindowAtATime) {
  TMainWindowEvents events = RecordingEvents();
  TMainWindowModel* current = nullptr;
  auto recordUninstall = events.openUninstall;
  events.openUninstall = [&](const std::vector<const TSoftInfo*>& entries) {
    const bool removed = recordUninstall(entries);
    current->RunPageAction();  // a second click while the window runs
    Registry().RemoveKey(std::wstring(kUninstall32) + L"Viewer");
    return removed;
  };
  const auto model = StartedModel({}, std::move(events));
  current = model.get();
  lines.clear();

  model->RunPageAction();
  EXPECT_EQ(prompts.lines, (Lines{"message Please select a program first."}));
  model->SelectRow(RowOf(*model, L"Viewer"));
  model->RunPageAction();
  EXPECT_EQ(lines, (Lines{"uninstall Viewer"})) << "the second click is refused";
  EXPECT_EQ(Names(*model).size(), 3u) << "nothing was reported removed";

  model->SetBatchMode(true);
  prompts.lines.clear();
  model->RunPageAction();
  EXPECT_EQ(prompts.lines, (Lines{"message Please select at least one program."}));
  model->CheckRow(RowOf(*model, L"Editor"), true);
  model->CheckRow(RowOf(*model, L"Caf\u00e9 \u4e2d"), true);
  removes = true;
  model->RunPageAction();
  EXPECT_EQ(lines.back(), "uninstall Caf\u00e9 \u4e2d Editor");
  EXPECT_EQ(Names(*model), (Lines{"Caf\u00e9 \u4e2d", "Editor"})) << "refreshed after a removal";

  model->SelectRow(RowOf(*model, L"Editor"));
  model->UninstallSelected();  // batch mode off for this one action
  EXPECT_EQ(lines.back(), "uninstall Editor");
  model->UninstallOnDoubleClick();
  EXPECT_EQ(lines.back(), "uninstall Editor") << "no double-click uninstall in batch mode";
  reported.clear();
  model->UninstallRow(RowOf(*model, L"Caf\u00e9 \u4e2d"));
  EXPECT_EQ(lines.back(), "uninstall Caf\u00e9 \u4e2d");
  EXPECT_EQ(reported, (Lines{"6/7", "7/0", "9/7", "8/0"})) << "the row's button, then the refused click";
}

struct RestoreCase : NamedCase {
  OsVersionInfo os;
  sim::Bitness bitness;
  bool offered;
  std::wstring started;  // empty: the warning
  bool redirectionOff;
};

class MainWindowRestorePoint : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(MainWindowRestorePoint, StartsTheSystemsRestoreProgram) {
  const RestoreCase& row = GetParam();
  sim::MachineOptions options;
  options.os = row.os;
  options.bitness = row.bitness;
  CurrentSimMachine current(options);
  RecordedMainPrompts prompts;
  TMainWindowModel model(prompts, {});
  EXPECT_EQ(model.RestorePointOffered(), row.offered);
  model.ViewRestorePoint();
  const std::vector<sim::ShellRequest> requests = current.machine.shell.Requests();
  if (row.started.empty()) {
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(prompts.lines, (Lines{"warning Unknown operation system"}));
    return;
  }
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].file, row.started);
  EXPECT_EQ(requests[0].redirectionOff, row.redirectionOff);
  EXPECT_FALSE(current.machine.files.RedirectionOffOnThisThread()) << "switched back on after the start";
}

INSTANTIATE_TEST_SUITE_P(
    Windows, MainWindowRestorePoint,
    ::testing::Values(
        RestoreCase{{"Windows10On64Bit"}, sim::kWindows10, sim::Bitness::x64, true, L"C:\\Windows\\system32\\rstrui.exe", true},
        RestoreCase{{"Windows11"}, {10, 0, 22631, 0, false}, sim::Bitness::x64, true,
                    L"C:\\Windows\\system32\\rstrui.exe", true},
        RestoreCase{{"Windows81On32Bit"}, {6, 3, 9600, 0, false}, sim::Bitness::x86, true,
                    L"C:\\Windows\\system32\\rstrui.exe", false},
        RestoreCase{{"Windows7"}, sim::kWindows7, sim::Bitness::x64, true, L"C:\\Windows\\system32\\rstrui.exe", true},
        RestoreCase{{"WindowsXp"}, sim::kWindowsXp, sim::Bitness::x86, true,
                    L"C:\\WINDOWS\\system32\\restore\\rstrui.exe", false},
        RestoreCase{{"Windows2000"}, {5, 0, 2195, 4, false}, sim::Bitness::x86, false, L"", false}),
    CaseName());

TEST_F(MainWindowTest, MaximiseRestoreResizeAndClose) {
  const auto model = StartedModel();
  model->Moved(RectOf(100, 80, 900, 600));
  model->Maximize();
  EXPECT_TRUE(model->Maximized());
  EXPECT_EQ(model->Bounds(), RectOf(0, 0, 1920, 1020));
  EXPECT_EQ(model->FloatingButton(), RectOf(882, 936, 155, 104));
  EXPECT_EQ(model->CenterChild(400, 300), RectOf(760, 360, 400, 300));

  model->Close();  // maximised: only the state is written
  const std::wstring ini = SettingsPath();
  EXPECT_EQ(ReadIniInt(ini, L"Main", L"WindowState", -1), 1);
  EXPECT_EQ(ReadIniInt(ini, L"Main", L"Width", -1), -1);

  model->ToggleMaximized();
  EXPECT_FALSE(model->Maximized());
  EXPECT_EQ(model->Bounds(), RectOf(100, 80, 900, 600));
  model->Maximize();
  model->Resize(500, 700);  // the grip leaves the maximised state
  EXPECT_FALSE(model->Maximized());
  EXPECT_EQ(model->Bounds(), RectOf(0, 0, 870, 700));
  model->ClickHeader(colSize);
  model->Close();
  EXPECT_EQ(ReadIniInt(ini, L"Main", L"WindowState", -1), 0);
  EXPECT_EQ(ReadIniInt(ini, L"Main", L"Width", -1), 870);
  EXPECT_EQ(ReadIniInt(ini, L"Main", L"Height", -1), 700);
  EXPECT_EQ(ReadIniInt(ini, L"Software", L"ColumnIndex", -1), colSize);
}

}  // namespace
}  // namespace orvix::testing
