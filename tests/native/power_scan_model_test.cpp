// The leftover review: check boxes and the select-all label, Delete with its
// two passes over registry findings, files and folders, the restart fallback,
// the log it writes, the closing messages and Cancel.
#include <gtest/gtest.h>

#include <memory>

#include "log_fixture.h"
#include "power_scan_prompts.h"
#include "scripted_pump.h"
#include "shredder/shred_file.h"
#include "uninstall/power_scan_model.h"
#include "uninstall/tree_checks.h"

namespace orvix {
namespace {

using Lines = std::vector<std::wstring>;

using FakePrompts = testing::FakePowerScanPrompts;

const std::wstring kClsid = L"SOFTWARE\\Classes\\CLSID\\{6A1F0C2E-9D7B-4E55-8B1A-3C2D4E5F6071}";
const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kFolder = L"c:\\program files\\foo\\";
const std::wstring kExe = L"c:\\program files\\foo\\foo.exe";

TShowRegInfo KeyFinding(HKEY root, const std::wstring& path, bool view64 = false) {
  return {root, path, L"", L"", view64};
}
TShowRegInfo ValueFinding(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& data,
                          bool view64 = false) {
  return {root, path, name, data, view64};
}
TScanFileInfo FileFinding(const std::wstring& path) { return {path, 0, sfkFile, 0}; }
TScanFileInfo FolderFinding(const std::wstring& path) { return {path, 0, sfkFolder, 0}; }

class PowerScanTest : public testing::LogTest {
 protected:
  PowerScanTest() {
    Machine().locale.shortDateFormat = L"dd/MM/yyyy";
    Machine().locale.longTimeFormat = L"HH:mm:ss";
  }
  void TearDown() override {
    SetShredStopRequest(false);
    LogTest::TearDown();
  }

  TLeftoverNode& AddProgram(const std::wstring& name, const TRegFindings& registry, const TFileFindings& files) {
    AddProgramBranch(tree, testing::Entry(name), registry, files, nullptr);
    return *tree.Programs().back();
  }
  // The finding at a position of a category of the first program.
  TLeftoverNode& Finding(std::size_t category, std::size_t position) {
    return *tree.Programs().front()->Children.at(category)->Children.at(position);
  }
  void Click(TLeftoverNode& node) { model.MouseDown(node, true); }

  // The lines one deletion added after the header.
  Lines AddedLines() {
    Lines lines = LogLines(TodaysLog());
    if (lines.size() >= 7) lines.erase(lines.begin(), lines.begin() + 7);
    return lines;
  }

  sim::SimFileSystem& Files() { return Machine().files; }

  // A review window of its own over Foo's file findings, all checked.
  struct TReview {
    TLeftoverTree tree;
    FakePrompts answers;
    TPowerScanModel model{tree, answers, [](const std::wstring&) {}};
  };
  static std::unique_ptr<TReview> EverythingChecked(const TFileFindings& findings, bool shred) {
    auto review = std::make_unique<TReview>();
    AddProgramBranch(review->tree, testing::Entry(L"Foo"), {}, findings, nullptr);
    if (shred) review->model.ToggleShredFiles();
    review->model.ClickSelectAll();
    return review;
  }

  TLeftoverTree tree;
  FakePrompts prompts;
  Lines events;
  TPowerScanModel model{tree, prompts, [this](const std::wstring& event) { events.push_back(event); }};
  testing::ScriptedPump pump;
};

TEST_F(PowerScanTest, CheckBoxesSpreadDownAndSettleUpwards) {
  TLeftoverNode& foo = AddProgram(L"Foo", {KeyFinding(HKEY_CURRENT_USER, L"Software\\Foo")},
                                  {FileFinding(kExe), FolderFinding(kFolder)});
  TLeftoverNode& registry = *foo.Children[0];
  TLeftoverNode& files = *foo.Children[1];
  EXPECT_FALSE(model.DeleteEnabled());

  Click(files);  // a category checks all its findings
  EXPECT_EQ(Finding(1, 0).CheckState, csChecked);
  EXPECT_EQ(Finding(1, 1).CheckState, csChecked);
  EXPECT_EQ(foo.CheckState, csPartlyChecked);
  EXPECT_TRUE(model.DeleteEnabled());
  EXPECT_EQ(model.SelectAllLabel(), L"Select All");

  Click(registry);
  EXPECT_EQ(foo.CheckState, csChecked);
  EXPECT_EQ(model.SelectAllLabel(), L"Deselect All");
  EXPECT_EQ(model.SelectAllState(), 1);

  Click(Finding(1, 0));  // unchecking one makes its category and program partly checked
  EXPECT_EQ(files.CheckState, csPartlyChecked);
  EXPECT_EQ(foo.CheckState, csPartlyChecked);
  EXPECT_EQ(registry.CheckState, csChecked);
  EXPECT_EQ(model.SelectAllLabel(), L"Select All");

  Click(files);  // a partly checked node becomes checked
  EXPECT_EQ(Finding(1, 0).CheckState, csChecked);

  // The mouse-down that collapses a node toggles nothing, and only once.
  model.Collapsing();
  Click(foo);
  EXPECT_EQ(foo.CheckState, csChecked);
  model.MouseDown(foo, false);
  EXPECT_EQ(foo.CheckState, csChecked);
  Click(foo);
  EXPECT_EQ(foo.CheckState, csUnchecked);
  EXPECT_EQ(Finding(0, 0).CheckState, csUnchecked);
  EXPECT_FALSE(model.DeleteEnabled());
}

TEST_F(PowerScanTest, SelectAllAndDeselectAll) {
  AddProgram(L"Foo", {KeyFinding(HKEY_CURRENT_USER, L"Software\\Foo")}, {FileFinding(kExe)});
  AddProgram(L"Bar", {KeyFinding(HKEY_CURRENT_USER, L"Software\\Bar")}, {});
  model.ClickSelectAll();
  EXPECT_FALSE(AnyNodeIn(tree, [](const TLeftoverNode& n) { return n.CheckState != csChecked; }));
  EXPECT_EQ(model.SelectAllLabel(), L"Deselect All");
  EXPECT_TRUE(model.DeleteEnabled());

  model.ClickSelectAll();
  EXPECT_FALSE(AnyNodeIn(tree, [](const TLeftoverNode& n) { return n.CheckState != csUnchecked; }));
  EXPECT_EQ(model.SelectAllLabel(), L"Select All");
  EXPECT_TRUE(model.SelectAllFrozen());
  EXPECT_FALSE(model.DeleteEnabled());

  // After Deselect All, checking everything by hand leaves the label alone.
  for (const auto& program : tree.Programs()) Click(*program);
  EXPECT_FALSE(AnyNodeIn(tree, [](const TLeftoverNode& n) { return n.CheckState != csChecked; }));
  EXPECT_EQ(model.SelectAllLabel(), L"Select All");
  EXPECT_TRUE(model.DeleteEnabled());
  // Showing the window again thaws it.
  model.Shown();
  Click(*tree.Programs()[0]);
  Click(*tree.Programs()[0]);
  EXPECT_EQ(model.SelectAllLabel(), L"Deselect All");
}

TEST_F(PowerScanTest, DeletesEverythingCheckedAndLogsItLikeThis) {
  Registry().PutString(L"HKLM\\" + kClsid + L"\\InprocServer32", L"", kFolder + L"foo.dll");
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Classes\\CLSID\\{6A1F0C2E-9D7B-4E55-8B1A-3C2D4E5F6071}", L"",
                       L"32-bit");
  Registry().PutString(L"HKCU\\" + kRun, L"Foo", kExe);
  Registry().PutString(L"HKCU\\" + kRun, L"Other", L"other.exe");
  Files().PutFile(kExe, std::string_view("MZ"));
  Files().PutFile(kFolder + L"readme.txt", std::string_view("hi"));
  AddProgram(L"Foo",
             {KeyFinding(HKEY_LOCAL_MACHINE, kClsid, true), ValueFinding(HKEY_CURRENT_USER, kRun, L"Foo", kExe)},
             {FileFinding(kExe), FolderFinding(kFolder)});
  model.ClickSelectAll();

  const TPowerScanRun run = model.Delete(pump);
  EXPECT_TRUE(run.confirmed);
  EXPECT_EQ(run.removed, 3);
  EXPECT_EQ(run.scheduled, 1);
  EXPECT_EQ(prompts.questions, Lines{L"Are you sure you want to delete the selected items?"});
  EXPECT_EQ(events, Lines{L"14"});

  // The key went in the view the finding carries; the 32-bit one stays.
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\" + kClsid));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Classes\\CLSID\\{6A1F0C2E-9D7B-4E55-8B1A-3C2D4E5F6071}"));
  EXPECT_FALSE(Registry().GetValue(L"HKCU\\" + kRun, L"Foo"));
  EXPECT_TRUE(Registry().GetValue(L"HKCU\\" + kRun, L"Other"));
  // The folder held a file nobody listed: it goes at the restart.
  EXPECT_FALSE(Files().Exists(kExe));
  ASSERT_EQ(Files().PendingDeletes().size(), 1u);
  EXPECT_EQ(Files().PendingDeletes()[0].from, kFolder);

  const Lines expected = {L"[Foo]",
                          L"Operation: Powerful Scan",
                          L"Date: 31/05/2013 14:03:07",
                          L"",
                          L"------Registry------",
                          L"Deleted Registry Key HKEY_LOCAL_MACHINE\\" + kClsid,
                          L"Deleted Registry Value HKEY_CURRENT_USER\\" + kRun + L" | Foo - " + kExe,
                          L"",
                          L"------File------",
                          L"Delete File " + kExe,
                          L"(Reboot to Delete) Delete Folder " + kFolder};
  EXPECT_EQ(AddedLines(), expected);
  // Only the waiting folder is left, so the window says so and closes.
  EXPECT_EQ(prompts.messages,
            Lines{L"Powerful Scan: Remaining files in the list will be deleted during the next system restart."});
  EXPECT_TRUE(model.CloseRequested());
  EXPECT_TRUE(model.OnlyPendingLeft());
  EXPECT_FALSE(model.DeleteEnabled());
  EXPECT_FALSE(model.Deleting());
  EXPECT_EQ(tree.Programs()[0]->Text, L"Foo(1 item)");
  EXPECT_EQ(Finding(0, 0).Text, L"(Reboot to Delete) " + kFolder);
}

TEST_F(PowerScanTest, ARemovedTreeSaysDeleteFinishedAndTwoRunsShareOneHeader) {
  Registry().PutKey(L"HKCU\\Software\\Foo\\Sub");
  Files().PutFile(kExe, std::string_view("MZ"));
  AddProgram(L"Foo (x64)", {KeyFinding(HKEY_CURRENT_USER, L"Software\\Foo")}, {FileFinding(kExe), FolderFinding(kFolder)});
  model.ClickSelectAll();
  model.Delete(pump);
  EXPECT_TRUE(tree.Empty());
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Foo"));
  EXPECT_FALSE(Files().Exists(kFolder));
  EXPECT_TRUE(Files().PendingDeletes().empty());
  EXPECT_EQ(prompts.messages, Lines{L"Powerful Scan: Delete finished."});
  EXPECT_TRUE(model.CloseRequested());

  SetMoment(2013, 5, 31, 18, 0, 0);
  TLeftoverTree second;
  AddProgramBranch(second, testing::Entry(L"Bar"), {KeyFinding(HKEY_CURRENT_USER, L"Software\\Bar")}, {}, nullptr);
  TPowerScanModel again(second, prompts, [](const std::wstring&) {});
  again.ClickSelectAll();
  again.Delete(pump);

  const Lines lines = LogLines(TodaysLog());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::wstring(36, L'=')), 2);
  const Lines tail(lines.begin() + 7, lines.end());
  const Lines expected = {L"[Foo (x64)]",
                          L"Operation: Powerful Scan",
                          L"Date: 31/05/2013 14:03:07",
                          L"",
                          L"------Registry------",
                          L"Deleted Registry Key HKEY_CURRENT_USER\\Software\\Foo",
                          L"",
                          L"------File------",
                          L"Delete File " + kExe,
                          L"Delete Folder " + kFolder,
                          L"[Bar]",
                          L"Operation: Powerful Scan",
                          L"Date: 31/05/2013 18:00:00",
                          L"",
                          L"------Registry------",
                          L"Deleted Registry Key HKEY_CURRENT_USER\\Software\\Bar"};
  EXPECT_EQ(tail, expected);
}

TEST_F(PowerScanTest, AFolderHoldingAnUncheckedFileWaitsForTheRestart) {
  Files().PutFile(kExe, std::string_view("MZ"));
  AddProgram(L"Foo", {}, {FileFinding(kExe), FolderFinding(kFolder)});
  Click(Finding(0, 1));
  model.Delete(pump);

  EXPECT_TRUE(Files().Exists(kExe));
  ASSERT_EQ(Files().PendingDeletes().size(), 1u);
  EXPECT_EQ(Files().PendingDeletes()[0].from, kFolder);
  ASSERT_EQ(tree.Programs().size(), 1u);
  EXPECT_EQ(Finding(0, 1).Text, L"(Reboot to Delete) " + kFolder);
  EXPECT_TRUE(Finding(0, 1).Data.Pending);
  EXPECT_EQ(Finding(0, 0).CheckState, csUnchecked);
  EXPECT_EQ(tree.Programs()[0]->CheckState, csPartlyChecked);
  // An unchecked file is left: no message, the window stays, Delete waits
  // for something new to be checked.
  EXPECT_FALSE(model.OnlyPendingLeft());
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(model.CloseRequested());
  EXPECT_FALSE(model.DeleteEnabled());
  EXPECT_EQ(AddedLines().back(), L"(Reboot to Delete) Delete Folder " + kFolder);

  // A second run does not schedule the waiting folder twice.
  Click(Finding(0, 0));
  model.Delete(pump);
  EXPECT_FALSE(Files().Exists(kExe));
  EXPECT_FALSE(Files().Exists(kFolder));
  EXPECT_TRUE(tree.Empty());
}

TEST_F(PowerScanTest, ALockedFileIsScheduledWithOrWithoutShredding) {
  for (const bool shred : {false, true}) {
    SCOPED_TRACE(shred ? "shredding" : "deleting");
    const std::wstring locked = kFolder + (shred ? L"locked-shred.dll" : L"locked.dll");
    const std::wstring free = kFolder + (shred ? L"free-shred.dll" : L"free.dll");
    Files().PutFile(locked, std::string_view("locked"));
    Files().PutFile(free, std::string_view("free"));
    Files().LockFile(locked);
    const auto review = EverythingChecked({FileFinding(locked), FileFinding(free)}, shred);
    const TPowerScanRun run = review->model.Delete(pump);

    EXPECT_EQ(run.removed, 1);
    EXPECT_EQ(run.scheduled, 1);
    EXPECT_FALSE(Files().Exists(free));
    EXPECT_EQ(Files().FileText(locked), "locked");
    ASSERT_FALSE(Files().PendingDeletes().empty());
    EXPECT_EQ(Files().PendingDeletes().back().from, locked);
    const TLeftoverNode& waiting = *review->tree.Programs()[0]->Children[0]->Children.at(0);
    EXPECT_EQ(waiting.Text, L"(Reboot to Delete) " + locked);
    EXPECT_TRUE(review->model.OnlyPendingLeft());
    EXPECT_EQ(review->answers.messages,
              Lines{L"Powerful Scan: Remaining files in the list will be deleted during the next system restart."});
    const Lines lines = LogLines(TodaysLog());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"(Reboot to Delete) Delete File " + locked), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Delete File " + free), lines.end());
  }
}

TEST_F(PowerScanTest, ASecondDeleteLogsWhatStillWaitsForTheRestart) {
  const std::wstring locked = kFolder + L"locked.dll";
  Files().PutFile(locked, std::string_view("locked"));
  Files().PutFile(kExe, std::string_view("MZ"));
  Files().LockFile(locked);
  AddProgram(L"Foo", {}, {FileFinding(locked), FileFinding(kExe), FolderFinding(kFolder)});
  Click(Finding(0, 0));
  Click(Finding(0, 2));
  model.Delete(pump);
  const std::size_t firstRun = LogLines(TodaysLog()).size();

  Click(Finding(0, 1));
  model.Delete(pump);
  const Lines lines = LogLines(TodaysLog());
  const Lines second(lines.begin() + static_cast<std::ptrdiff_t>(firstRun), lines.end());
  EXPECT_NE(std::find(second.begin(), second.end(), L"(Reboot to Delete) Delete File " + locked), second.end());
  EXPECT_NE(std::find(second.begin(), second.end(), L"(Reboot to Delete) Delete Folder " + kFolder), second.end());
  EXPECT_NE(std::find(second.begin(), second.end(), L"Delete File " + kExe), second.end());
  EXPECT_EQ(Files().PendingDeletes().size(), 2u) << "nothing is scheduled twice";
}

TEST_F(PowerScanTest, AReadOnlyLeftoverIsDeletedOrShreddedAtOnce) {
  for (const bool shred : {false, true}) {
    SCOPED_TRACE(shred ? "shredding" : "deleting");
    const std::wstring readOnly = kFolder + (shred ? L"shred.ini" : L"plain.ini");
    Files().PutFile(readOnly, std::string_view("settings"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const TPowerScanRun run = EverythingChecked({FileFinding(readOnly)}, shred)->model.Delete(pump);
    EXPECT_EQ(run.removed, 1);
    EXPECT_EQ(run.scheduled, 0);
    EXPECT_FALSE(Files().Exists(readOnly));
  }
  EXPECT_TRUE(Files().PendingDeletes().empty());
}

TEST_F(PowerScanTest, ValueNamesAreExactAndTheBlankNameIsTheDefaultValue) {
  const std::wstring key = L"HKCU\\Software\\Classes\\.foo";
  Registry().PutString(key, L"", L"Foo.File");
  Registry().PutString(key, L"x", L"kept");
  Registry().PutString(key, L" x", L"gone");
  Registry().PutString(key, L"Content Type", L"text/foo");
  AddProgram(L"Foo",
             {ValueFinding(HKEY_CURRENT_USER, L"Software\\Classes\\.foo", L" ", L"Foo.File"),
              ValueFinding(HKEY_CURRENT_USER, L"Software\\Classes\\.foo", L" x", L"gone")},
             {});
  model.ClickSelectAll();
  model.Delete(pump);
  EXPECT_TRUE(Registry().HasKey(key));
  EXPECT_FALSE(Registry().GetValue(key, L""));
  EXPECT_FALSE(Registry().GetValue(key, L" x"));
  EXPECT_TRUE(Registry().GetValue(key, L"x"));
  EXPECT_TRUE(Registry().GetValue(key, L"Content Type"));
  EXPECT_TRUE(tree.Empty());
}

TEST_F(PowerScanTest, FailuresAreLoggedAsFailuresAndStayInTheTree) {
  Registry().PutString(L"HKCU\\Software\\Held", L"Path", L"c:\\foo");
  Registry().SetKeyAccess(L"HKCU\\Software\\Held", KEY_READ);
  Registry().PutKey(L"HKCU\\Software\\Stuck\\Inner");
  Registry().SetUndeletable(L"HKCU\\Software\\Stuck\\Inner");
  AddProgram(L"Foo",
             {ValueFinding(HKEY_CURRENT_USER, L"Software\\Held", L"Path", L"c:\\foo"),
              KeyFinding(HKEY_CURRENT_USER, L"Software\\Stuck")},
             {});
  model.ClickSelectAll();
  const TPowerScanRun run = model.Delete(pump);

  EXPECT_EQ(run.failed, 2);
  const Lines lines = AddedLines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[5], L"Failed to delete registry value HKEY_CURRENT_USER\\Software\\Held | Path - c:\\foo");
  EXPECT_EQ(lines[6], L"Failed to delete registry key HKEY_CURRENT_USER\\Software\\Stuck");
  // Nothing claims success: the findings stay checked and Delete can retry.
  EXPECT_EQ(tree.Programs()[0]->Text, L"Foo(2 items)");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(model.OnlyPendingLeft());
  EXPECT_TRUE(model.DeleteEnabled());
  EXPECT_FALSE(model.CloseRequested());
}

TEST_F(PowerScanTest, AnsweringNoChangesNothingAndLeavesNoDeletionRunning) {
  Registry().PutKey(L"HKCU\\Software\\Foo");
  AddProgram(L"Foo", {KeyFinding(HKEY_CURRENT_USER, L"Software\\Foo")}, {});
  model.ClickSelectAll();
  prompts.answer = false;
  const TPowerScanRun run = model.Delete(pump);
  EXPECT_FALSE(run.confirmed);
  EXPECT_FALSE(model.Deleting());
  EXPECT_TRUE(model.DraggingAllowed());
  EXPECT_TRUE(model.DeleteEnabled());
  EXPECT_FALSE(model.CloseRequested());
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Foo"));
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(Files().Exists(TodaysLog()));
  // Cancel now closes the window at once.
  EXPECT_TRUE(model.Cancel());
}

// Delete pumps messages per finding: a second Delete, a check box click or
// Select All that arrives meanwhile changes nothing under the running passes.
TEST_F(PowerScanTest, ClicksThatArriveWhileDeletingAreRefused) {
  for (const wchar_t* name : {L"One", L"Two"}) Registry().PutKey(std::wstring(L"HKCU\\Software\\") + name);
  TLeftoverNode& foo = AddProgram(
      L"Foo", {KeyFinding(HKEY_CURRENT_USER, L"Software\\One"), KeyFinding(HKEY_CURRENT_USER, L"Software\\Two")}, {});
  model.ClickSelectAll();
  int reentries = 0;
  pump.onMessages = [&](int) {
    ++reentries;
    EXPECT_FALSE(model.Delete(pump).confirmed);
    Click(foo);
    model.ClickSelectAll();
  };
  const TPowerScanRun run = model.Delete(pump);
  EXPECT_GT(reentries, 0);
  EXPECT_EQ(prompts.questions.size(), 1u) << "asked once";
  EXPECT_EQ(run.removed, 2);
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\One"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Two"));
  EXPECT_TRUE(tree.Empty());
}

TEST_F(PowerScanTest, CancelStopsAfterTheCurrentFindingAndKeepsTheLogSoFar) {
  for (const wchar_t* name : {L"One", L"Two", L"Three"}) Registry().PutKey(std::wstring(L"HKCU\\Software\\") + name);
  AddProgram(L"Foo",
             {KeyFinding(HKEY_CURRENT_USER, L"Software\\One"), KeyFinding(HKEY_CURRENT_USER, L"Software\\Two"),
              KeyFinding(HKEY_CURRENT_USER, L"Software\\Three")},
             {});
  model.ClickSelectAll();
  pump.onMessages = [this](int call) {
    EXPECT_TRUE(model.Deleting());
    EXPECT_GT(model.Progress(), 0);
    if (call == 2) {
      EXPECT_FALSE(model.Cancel());  // the window closes once Delete ends
    }
  };
  model.Delete(pump);
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\One"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Two"));
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Three"));
  EXPECT_EQ(AddedLines().back(), L"Deleted Registry Key HKEY_CURRENT_USER\\Software\\Two");
  EXPECT_FALSE(model.Deleting());
  EXPECT_TRUE(model.CloseRequested());
  EXPECT_TRUE(ShredStopRequested());
  model.Closed();
  EXPECT_FALSE(ShredStopRequested());
}

}  // namespace
}  // namespace orvix
