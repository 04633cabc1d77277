// The forced-uninstall window's model over a simulated machine: what a
// chosen file, folder or shortcut stands for, the rows, Next and its
// hand-over, Search Online, and the bare-path run's files and folder.
#include "uninstall/forced_uninstall_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inventory/software_info.h"
#include "named_case.h"
#include "platform/platform.h"
#include "platform/texts.h"
#include "scripted_pump.h"
#include "shell_link_writer.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/forced_hand_over.h"
#include "uninstall/forced_path.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* k32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* k64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* kFooExe = L"C:\\Program Files\\Foo\\foo.exe";

class RecordedPrompts : public IForcedUninstallPrompts {
 public:
  void Message(const std::wstring& text) override { messages.push_back(Narrow(text)); }
  std::vector<std::string> messages;
};

class RecordedLauncher : public IForcedUninstallLauncher {
 public:
  void RunForced(const TForcedUninstallRequest& request) override { requests.push_back(request); }
  std::vector<TForcedUninstallRequest> requests;
};

// A shortcut built only from an environment block: our reader finds no
// LinkInfo path in it, so only the shell's link object names its target.
Bytes ShellObjectOnlyLink(const std::wstring& target) { return BuildShellLink({.environmentTarget = target}); }

// Foo (32-bit view, install folder stored in its short form) and Foo Tool
// (64-bit view) share C:\Program Files\Foo; Bar lives elsewhere.
class ForcedUninstallTest : public SimMachineTest {
 protected:

  ForcedUninstallTest() {
    Machine().files.PutFile(kFooExe, "MZ");
    Machine().files.PutFile(L"C:\\Bar\\bar.exe", "MZ");
    const std::wstring shortFoo = ShortPathOf(L"C:\\Program Files\\Foo");
    EXPECT_NE(shortFoo.find(L'~'), std::wstring::npos) << Narrow(shortFoo);
    Put(k32, L"Foo", L"Foo", shortFoo);
    Put(k64, L"FooTool", L"Foo Tool", L"c:\\program files\\foo\\");
    Put(k32, L"Bar", L"Bar", L"C:\\Bar");
  }

  void Put(const wchar_t* view, const std::wstring& key, const std::wstring& name, const std::wstring& location) {
    Registry().PutString(view + key, L"DisplayName", name);
    Registry().PutString(view + key, L"UninstallString", L"C:\\Uninstallers\\" + key + L".exe");
    Registry().PutString(view + key, L"InstallLocation", location);
  }

  std::wstring Desktop() { return Machine().shell.GetSpecialFolder(CSIDL_DESKTOPDIRECTORY); }

  std::vector<std::string> Captions(const TForcedUninstallModel& model) const {
    std::vector<std::string> captions;
    for (const TForcedRow& row : model.Rows()) captions.push_back(Narrow(row.caption));
    return captions;
  }

  RecordedPrompts prompts;
  RecordedLauncher launcher;
};

const std::vector<std::string> kFooRows = {"Foo", "Foo Tool(x64)"};

// What choosing one path gives: accepted or not, the path box, the rows.
struct ChoiceCase : NamedCase {
  std::wstring shortcut;     // set: this shortcut file is made and chosen
  Bytes shortcutBytes;
  std::wstring chosen;       // otherwise this path is chosen as it is
  bool accepted;
  std::wstring pathBox;      // "<shortcut>": the shortcut itself
  std::vector<std::string> rows;
};

class ForcedChoice : public ForcedUninstallTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ForcedChoice, AcceptsAndLists) {
  const ChoiceCase& c = GetParam();
  std::wstring chosen = c.chosen;
  if (!c.shortcut.empty()) {
    chosen = Desktop() + L"\\" + c.shortcut;
    Machine().files.PutFile(chosen, c.shortcutBytes);
  }
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  EXPECT_EQ(model.AcceptPath(chosen), c.accepted);
  if (!c.accepted) {
    EXPECT_EQ(Narrow(model.PathBox()), "");
    EXPECT_FALSE(model.NextEnabled());
    return;
  }
  EXPECT_EQ(Narrow(model.ChosenPath()), Narrow(chosen)) << "the path exactly as chosen";
  EXPECT_EQ(Narrow(model.PathBox()), Narrow(c.pathBox == L"<shortcut>" ? chosen : c.pathBox));
  EXPECT_EQ(Captions(model), c.rows);
  EXPECT_EQ(model.Page(), c.rows.empty() ? fpTip : fpListView);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForcedChoice,
    ::testing::Values(
        ChoiceCase{{"ExeInTheInstallFolder"}, {}, {}, kFooExe, true, kFooExe, kFooRows},
        ChoiceCase{{"AnyLetterCase"}, {}, {}, L"c:\\PROGRAM files\\foo\\FOO.EXE", true,
                   L"c:\\PROGRAM files\\foo\\FOO.EXE", kFooRows},
        ChoiceCase{{"ExeOfAnotherProgram"}, {}, {}, L"C:\\Bar\\bar.exe", true, L"C:\\Bar\\bar.exe", {"Bar"}},
        ChoiceCase{{"DesktopShortcutToTheExe"}, L"Foo.lnk",
                   BuildShellLink({.localBasePath = "C:\\Program Files\\Foo\\foo.exe", .idListSize = 20}), {}, true,
                   kFooExe, kFooRows},
        ChoiceCase{{"InkShortcutUpperCase"}, L"FOO.INK", BuildShellLink({.localBasePath = "C:\\Program Files\\Foo\\",
                                                                         .commonPathSuffix = "foo.exe"}),
                   {}, true, kFooExe, kFooRows},
        ChoiceCase{{"DanglingShortcutIsItself"}, L"Old.lnk",
                   BuildShellLink({.localBasePath = "C:\\Program Files\\Old\\old.exe"}), {}, true, L"<shortcut>", {}},
        ChoiceCase{{"FolderThroughTheLinkObject"}, L"Foo folder.lnk",
                   ShellObjectOnlyLink(L"%SystemDrive%\\Program Files\\Foo"), {}, true, L"C:\\Program Files\\Foo",
                   kFooRows},
        ChoiceCase{{"ExeThroughTheLinkObject"}, L"Foo env.lnk",
                   ShellObjectOnlyLink(L"%SystemDrive%\\Program Files\\Foo\\foo.exe"), {}, true, kFooExe, kFooRows},
        ChoiceCase{{"DriveRootThroughTheLinkObject"}, L"C.lnk", ShellObjectOnlyLink(L"%SystemDrive%\\"), {}, false},
        ChoiceCase{{"WindowsThroughTheLinkObject"}, L"Win.lnk", ShellObjectOnlyLink(L"%SystemRoot%"), {}, false},
        ChoiceCase{{"WindowsThroughLinkInfo"}, L"Win2.lnk", BuildShellLink({.localBasePath = "C:\\Windows"}), {},
                   false},
        ChoiceCase{{"DriveRootItself"}, {}, {}, L"C:\\", false},
        ChoiceCase{{"FolderItself"}, {}, {}, L"C:\\Program Files\\Foo", false},
        ChoiceCase{{"MissingFile"}, {}, {}, L"C:\\Program Files\\Foo\\gone.exe", false},
        ChoiceCase{{"RelativePath"}, {}, {}, L"foo.exe", false}),
    CaseName());

TEST_F(ForcedUninstallTest, RowsShowSizeAndInstallDate) {
  TSoftwareInfo inventory;
  for (const auto& entry : inventory.Items()) {
    entry->SizeText = L"1.50 MB";
    entry->InstallDateText = L"3/4/2024";
  }
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(L"C:\\Bar\\bar.exe"));
  ASSERT_EQ(model.Rows().size(), 1u);
  EXPECT_EQ(Narrow(model.Rows()[0].sizeText), "1.50 MB");
  EXPECT_EQ(Narrow(model.Rows()[0].installDateText), "3/4/2024");
  EXPECT_EQ(inventory.GetItem(model.Rows()[0].index)->DisplayName, L"Bar");
}

TEST_F(ForcedUninstallTest, OnlyTheFileDialogReportsARefusedPath) {
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.ChooseFile(kFooExe));
  EXPECT_FALSE(model.DropFiles({L"C:\\", kFooExe}));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(Narrow(model.PathBox()), Narrow(kFooExe)) << "a refused drop changes nothing";

  EXPECT_FALSE(model.ChooseFile(L"C:\\Windows"));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Invalid path. Please select again!"});
  EXPECT_EQ(Narrow(model.PathBox()), "");
  EXPECT_EQ(model.Page(), fpTip);
  EXPECT_FALSE(model.NextEnabled());

  const TTextSource previous = SetTextSource([](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"ForcedUninstall_Browser_Tip") return L"Chemin invalide.";
    return std::nullopt;
  });
  model.ChooseFile(L"C:\\nothing.exe");
  SetTextSource(previous);
  EXPECT_EQ(prompts.messages.back(), "Chemin invalide.");
}

TEST_F(ForcedUninstallTest, NextHandsOverTheOnlyRowOrTheSelectedOne) {
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(L"C:\\Bar\\bar.exe"));
  EXPECT_TRUE(model.NextEnabled());
  ASSERT_TRUE(model.Next(launcher));
  EXPECT_EQ(model.SelectedRow(), 0);
  ASSERT_EQ(launcher.requests.size(), 1u);
  ASSERT_NE(launcher.requests[0].entry, nullptr);
  EXPECT_EQ(launcher.requests[0].entry->DisplayName, L"Bar");
  EXPECT_EQ(Narrow(launcher.requests[0].forcedPath), "C:\\Bar\\bar.exe");
  EXPECT_TRUE(model.Started());

  ASSERT_TRUE(model.AcceptPath(kFooExe));
  EXPECT_FALSE(model.NextEnabled()) << "two rows and none selected";
  EXPECT_FALSE(model.Next(launcher));
  model.SelectRow(1);
  EXPECT_TRUE(model.NextEnabled());
  ASSERT_TRUE(model.Next(launcher));
  ASSERT_EQ(launcher.requests.size(), 2u);
  EXPECT_EQ(launcher.requests[1].entry->DisplayName, L"Foo Tool");
  EXPECT_TRUE(launcher.requests[1].entry->IsX64);
}

TEST_F(ForcedUninstallTest, NextWithoutRowsHandsOverTheShortcutAndItsTarget) {
  Machine().files.PutFile(L"C:\\Tools\\lone.exe", "MZ");
  const std::wstring shortcut = Desktop() + L"\\Lone.lnk";
  Machine().files.PutFile(shortcut, BuildShellLink({.localBasePath = "C:\\Tools\\lone.exe"}));
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(shortcut));
  EXPECT_TRUE(model.Rows().empty());
  EXPECT_TRUE(model.NextEnabled());
  ASSERT_TRUE(model.Next(launcher));
  ASSERT_EQ(launcher.requests.size(), 1u);
  const TForcedUninstallRequest& request = launcher.requests[0];
  EXPECT_TRUE(request.ByPath());
  EXPECT_EQ(Narrow(request.forcedPath), Narrow(shortcut));
  EXPECT_EQ(Narrow(request.pathBoxPath), "C:\\Tools\\lone.exe");

  EXPECT_EQ(Narrow(BarePathScanFolder(request.pathBoxPath)), "C:\\Tools\\");

  // The uninstall window takes over in state 3, which deletes both files.
  ScriptedPump pump;
  TUninstallingModel session(inventory, pump, {}, {});
  StartForcedUninstall(session, request);
  EXPECT_EQ(session.State(), usFilesDeleted);
  EXPECT_TRUE(session.FromForcedList);
  EXPECT_FALSE(Machine().files.Exists(shortcut));
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Tools\\lone.exe"));
}

TEST_F(ForcedUninstallTest, TheChosenEntryGoesToTheUninstallWindowAlone) {
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(L"C:\\Bar\\bar.exe"));
  ASSERT_TRUE(model.Next(launcher));
  ScriptedPump pump;
  TUninstallingModel session(inventory, pump, {}, {});
  StartForcedUninstall(session, launcher.requests.at(0));
  EXPECT_EQ(session.State(), usConfirm);
  EXPECT_TRUE(session.FromForcedList);
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Bar\\bar.exe"));
}

// A name sent by another process is no path: without a matching entry Next
// must not hand over a bare-path run that would delete the name as a
// relative file, nor an earlier path.
TEST_F(ForcedUninstallTest, NameModeWithoutEntriesNeverHandsOverAPath) {
  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(L"C:\\Bar\\bar.exe"));
  model.ListEntriesByName(L"Zed");
  EXPECT_EQ(Narrow(model.PathBox()), "Zed");
  EXPECT_TRUE(model.Rows().empty());
  EXPECT_FALSE(model.NextEnabled());
  EXPECT_FALSE(model.Next(launcher));
  EXPECT_TRUE(launcher.requests.empty());
  EXPECT_FALSE(model.Started());
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Bar\\bar.exe"));

  model.ListEntriesByName(L"fOO");
  EXPECT_EQ(Captions(model), kFooRows);
  model.SelectRow(0);
  ASSERT_TRUE(model.Next(launcher));
  EXPECT_EQ(launcher.requests[0].entry->DisplayName, L"Foo");
  EXPECT_EQ(Narrow(launcher.requests[0].forcedPath), "") << "no earlier path goes with a name";
}

TEST_F(ForcedUninstallTest, SearchOnlineEscapesTheNameAndFallsBackToTheBrowser) {
  EXPECT_EQ(Narrow(SearchOnlineAddressFor(L"Foo Bar 2")),
            "https://www.google.com/search?source=hp&q=Foo+Bar+2&meta=&aq=f&aqi=g10&aql=&oq=&gs_rfai=");
  EXPECT_NE(SearchOnlineAddressFor(L"Caf\u00E9 & Co").find(L"q=Caf%C3%A9+%26+Co&"), std::wstring::npos);

  TSoftwareInfo inventory;
  TForcedUninstallModel model(inventory, prompts);
  ASSERT_TRUE(model.AcceptPath(kFooExe));
  EXPECT_EQ(model.SearchOnlineAddress(), L"") << "no row selected";
  model.SelectRow(1);
  Machine().shell.SetShellExecuteResult(false);
  EXPECT_FALSE(model.SearchOnline());
  const std::vector<sim::ShellRequest> requests = Machine().shell.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::wstring address = SearchOnlineAddressFor(L"Foo Tool");
  EXPECT_EQ(requests[0].file, address) << "the name without (x64)";
  EXPECT_EQ(requests[1].file, L"iexplore.exe");
  EXPECT_EQ(requests[1].parameters, address);
}

struct ScanFolderCase : NamedCase {
  std::wstring pathBox;
  std::string folder;
};

class BarePathFolder : public ForcedUninstallTest, public ::testing::WithParamInterface<ScanFolderCase> {};

TEST_P(BarePathFolder, IsTheFoldersOwnOrEmptyForAShortcut) {
  EXPECT_EQ(Narrow(BarePathScanFolder(GetParam().pathBox)), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarePathFolder,
    ::testing::Values(ScanFolderCase{{"File"}, kFooExe, "C:\\Program Files\\Foo\\"},
                      ScanFolderCase{{"Folder"}, L"C:\\Program Files\\Foo", "C:\\Program Files\\Foo"},
                      ScanFolderCase{{"Shortcut"}, L"C:\\Users\\Ann\\Desktop\\Old.LNK", ""},
                      ScanFolderCase{{"NoFolderPart"}, L"Zed", ""}),
    CaseName());

TEST_F(ForcedUninstallTest, BarePathDeletesOnlyExistingFilesByFullPath) {
  Machine().files.PutFolder(L"C:\\Tools");
  const std::vector<TForcedDeletion> none = DeleteForcedFiles(L"Zed", L"C:\\Tools");
  EXPECT_TRUE(none.empty()) << "neither a relative name nor a folder";
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Tools"));

  Machine().files.LockFile(kFooExe, 0);
  const std::vector<TForcedDeletion> locked = DeleteForcedFiles(kFooExe, kFooExe);
  ASSERT_EQ(locked.size(), 1u) << "the same file once";
  EXPECT_FALSE(locked[0].deleted);
}

}  // namespace
}  // namespace orvix::testing
