// The scan as a whole: which areas run, stopping, and the branch of the
// result tree a scan adds.
#include <gtest/gtest.h>

#include <vector>

#include "platform/texts.h"
#include "sim_fixture.h"
#include "uninstall/leftover_scan.h"
#include "uninstall/tree_checks.h"
#include "uninstall/regedit_scan.h"

namespace orvix::testing {
namespace {

// An area that records the views it ran in and can ask the scan to stop.
class TSpyArea : public TScanArea {
 public:
  struct Log {
    std::vector<int> runs;
    std::vector<bool> views;
  };
  TSpyArea(int number, bool needsKeyword, TScanViews views, Log& log, TScanAreaKind kind = sakRegistry)
      : number_(number), needsKeyword_(needsKeyword), views_(views), kind_(kind), log_(log) {}
  int Number() const override { return number_; }
  bool NeedsKeyword() const override { return needsKeyword_; }
  TScanViews Views() const override { return views_; }
  TScanAreaKind Kind() const override { return kind_; }
  void Run(TRegeditScanClasses& scan) override {
    log_.runs.push_back(number_);
    log_.views.push_back(scan.View64());
    if (stopHere) scan.Stop();
  }
  bool stopHere = false;

 private:
  int number_;
  bool needsKeyword_;
  TScanViews views_;
  TScanAreaKind kind_;
  Log& log_;
};

// A file area that records what the scan gives it.
class TFileProbe : public TScanArea {
 public:
  int Number() const override { return 21; }
  bool NeedsKeyword() const override { return false; }
  TScanAreaKind Kind() const override { return sakFiles; }
  void Run(TRegeditScanClasses& scan) override {
    location = scan.Record().InstallLocation;
    keyName = scan.UninstallKeyName();
  }
  std::wstring location = L"unset";
  std::wstring keyName = L"unset";
};

TSoftInfo Record(const wchar_t* location, bool x64 = false) {
  TSoftInfo record;
  record.DisplayName = L"Foo";
  record.InstallLocation = location;
  record.IsX64 = x64;
  record.RootName = L"HKEY_LOCAL_MACHINE";
  record.KeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{12345678-ABCD-EF01-2345-6789ABCDEF01}";
  return record;
}

class ScanOrderTest : public SimMachineTest {
 protected:
  std::vector<TScanAreaPtr> Areas() {
    std::vector<TScanAreaPtr> areas;
    areas.push_back(std::make_unique<TSpyArea>(1, true, svBoth, log_));
    areas.push_back(std::make_unique<TSpyArea>(2, false, svMachine64, log_));
    areas.push_back(std::make_unique<TSpyArea>(3, true, svEntry, log_));
    areas.push_back(std::make_unique<TSpyArea>(21, false, svEntry, log_, sakFiles));
    return areas;
  }
  TSpyArea::Log log_;
  TRegeditScanClasses scan_;
};

TEST_F(ScanOrderTest, AreasRunInOrderInTheViewsTheyAskFor) {
  scan_.Setup(nullptr, nullptr, Record(L"C:\\Program Files (x86)\\Foo"), nullptr);
  scan_.FullScan(Areas());
  EXPECT_EQ(log_.runs, (std::vector<int>{1, 1, 2, 3, 21}));
  EXPECT_EQ(log_.views, (std::vector<bool>{false, true, true, false, false}));
  EXPECT_EQ(scan_.ScanState(), ssIdle);
  EXPECT_FALSE(scan_.WasStopped());
}

TEST_F(ScanOrderTest, ProtectedInstallFolderRunsOnlyTheAreasWithoutKeyword) {
  scan_.Setup(nullptr, nullptr, Record(L"C:\\Program Files (x86)\\"), nullptr);
  EXPECT_EQ(scan_.Keyword(), L"");
  scan_.FullScan(Areas());
  EXPECT_EQ(log_.runs, (std::vector<int>{2, 21}));
}

TEST_F(ScanOrderTest, StopEndsTheScanBeforeTheNextAreaOrView) {
  scan_.Setup(nullptr, nullptr, Record(L"C:\\Program Files (x86)\\Foo"), nullptr);
  std::vector<TScanAreaPtr> areas = Areas();
  static_cast<TSpyArea&>(*areas[0]).stopHere = true;
  scan_.FullScan(areas);
  EXPECT_EQ(log_.runs, (std::vector<int>{1}));
  EXPECT_TRUE(scan_.WasStopped());
  EXPECT_EQ(scan_.ScanState(), ssIdle);
  // A new scan starts afresh.
  static_cast<TSpyArea&>(*areas[0]).stopHere = false;
  scan_.FullScan(areas);
  EXPECT_FALSE(scan_.WasStopped());
}

TEST_F(ScanOrderTest, FolderScanRunsTheFileAreasAloneWithoutUninstallKey) {
  TSoftInfo record = Record(L"C:\\Tools\\Foo\\foo.exe");
  scan_.Setup(nullptr, nullptr, record, nullptr);
  EXPECT_EQ(scan_.UninstallKeyName(), L"{12345678-ABCD-EF01-2345-6789ABCDEF01}");
  std::vector<TScanAreaPtr> areas = Areas();
  auto probe = std::make_unique<TFileProbe>();
  const TFileProbe& seen = *probe;
  areas.push_back(std::move(probe));
  scan_.FileScanOnly(areas);
  EXPECT_EQ(log_.runs, (std::vector<int>{21}));
  EXPECT_EQ(seen.location, L"C:\\Tools\\Foo\\");
  EXPECT_EQ(seen.keyName, L"");
}

TEST_F(ScanOrderTest, FolderScanKeepsAFolderWholeAndNeverTakesItsParent) {
  Machine().files.PutFolder(L"C:\\Tools\\Foo");
  Machine().files.PutFile(L"C:\\Tools\\Bar\\bar.exe", "MZ");
  const struct {
    const wchar_t* text;
    const wchar_t* location;
    const wchar_t* name;
  } cases[] = {
      {L"C:\\Tools\\Foo", L"C:\\Tools\\Foo\\", L"Foo"},
      {L"C:\\Tools\\Foo\\", L"C:\\Tools\\Foo\\", L"Foo"},
      {L"C:\\Tools\\Bar\\bar.exe", L"C:\\Tools\\Bar\\", L"bar.exe"},
      {L"C:\\Tools\\Gone", L"C:\\Tools\\", L"Gone"},  // nothing there to tell: the folder part
      {L"", L"", L""},
  };
  for (const auto& c : cases) {
    const TSoftInfo record = FolderScanRecord(c.text);
    EXPECT_EQ(record.InstallLocation, c.location) << c.text;
    EXPECT_EQ(record.DisplayName, c.name) << c.text;
    // The file areas see the same folder.
    std::vector<TScanAreaPtr> areas;
    areas.push_back(std::make_unique<TFileProbe>());
    TSoftInfo entry;
    entry.InstallLocation = c.text;
    scan_.Setup(nullptr, nullptr, entry, nullptr);
    scan_.FileScanOnly(areas);
    EXPECT_EQ(static_cast<const TFileProbe&>(*areas[0]).location, c.location) << c.text;
  }
}

TEST_F(SimMachineX86Test, ScanOfA32BitMachineRunsEveryAreaOnceInItsOnlyView) {
  TSpyArea::Log log;
  std::vector<TScanAreaPtr> areas;
  areas.push_back(std::make_unique<TSpyArea>(1, true, svBoth, log));
  areas.push_back(std::make_unique<TSpyArea>(2, false, svMachine64, log));
  TRegeditScanClasses scan;
  scan.Setup(nullptr, nullptr, Record(L"C:\\Program Files\\Foo", true), nullptr);
  scan.FullScan(areas);
  EXPECT_EQ(log.runs, (std::vector<int>{1, 2}));
  EXPECT_EQ(log.views, (std::vector<bool>{false, false}));
}

// --- ScanLeftovers and the result tree -------------------------------------------

// A machine where Foo left one COM class behind: its key, its server key
// and the server's path, each under HKLM and mirrored under HKCR.
class ScanLeftoversTest : public SimMachineX86Test {
 protected:
  void SetUp() override {
    Machine().ImportReg(
        LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"
)");
    entry_ = Record(L"C:\\Program Files\\Foo");
    entry_.DisplayIcon = L"C:\\Program Files\\Foo\\foo.exe";
  }

  TSoftInfo entry_;
  TLeftoverTree tree_;
};

// Counts window messages and presses Cancel after a number of them.
class TCancellingPump : public IPump {
 public:
  explicit TCancellingPump(int cancelAfter) : left_(cancelAfter) {}
  void ProcessMessages() override {
    ++calls;
    if (--left_ == 0 && scan != nullptr) scan->Stop();
  }
  bool StopRequested() override { return false; }
  TLeftoverScan* scan = nullptr;
  int calls = 0;

 private:
  int left_;
};

TEST_F(ScanLeftoversTest, BranchOfProgramCategoriesAndFindings) {
  TLeftoverScan scan;
  ASSERT_EQ(scan.ScanLeftovers(&entry_, tree_, L""), 6);
  ASSERT_EQ(tree_.Programs().size(), 1u);
  const TLeftoverNode& program = *tree_.Programs()[0];
  EXPECT_EQ(program.Text, L"Foo(6 items)");
  EXPECT_EQ(program.Data.NodeType, ntProgram);
  EXPECT_EQ(program.Data.ValueName, L"Foo");
  EXPECT_EQ(program.CheckState, csUnchecked);
  ASSERT_EQ(program.ImageIndex, 4);  // appended after the four pictures
  EXPECT_EQ(tree_.Images().At(4)->Kind, tikFileOwnIcon);
  EXPECT_EQ(tree_.Images().At(4)->Source, entry_.DisplayIcon);

  ASSERT_EQ(program.Children.size(), 1u);  // no file findings: no "File" category
  const TLeftoverNode& registry = *program.Children[0];
  EXPECT_EQ(registry.Text, L"Registry(6 items)");
  EXPECT_EQ(registry.Data.NodeType, ntRegistryCategory);
  EXPECT_EQ(registry.ImageIndex, tpRegistryCategory);
  EXPECT_EQ(registry.Parent, &program);
  ASSERT_EQ(registry.Children.size(), 6u);
  const TLeftoverNode& key = *registry.Children[0];
  EXPECT_EQ(key.Text, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}");
  EXPECT_EQ(key.ImageIndex, tpKey);
  EXPECT_EQ(key.Data.NodeType, ntFinding);
  EXPECT_EQ(key.Data.ItemKind, ikRegistry);
  EXPECT_EQ(key.Data.RootKey, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(key.Data.KeyPath, L"SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}");
  const TLeftoverNode& value = *registry.Children[2];
  EXPECT_EQ(value.ImageIndex, tpValue);
  EXPECT_EQ(value.Data.ValueName, L"");
  EXPECT_EQ(value.Data.ValueData, L"C:\\Program Files\\Foo\\foo.dll");
  EXPECT_EQ(value.Text, key.Text + L"\\InprocServer32 | Default - C:\\Program Files\\Foo\\foo.dll");
}

TEST_F(ScanLeftoversTest, FileCategoryAndCountsOfOne) {
  TRegFindings registry{TShowRegInfo{HKEY_CURRENT_USER, L"Software\\Foo", L"", L"", true}};
  TFileFindings files{TScanFileInfo{L"c:\\program files\\foo\\", 0, sfkFolder, 5},
                      TScanFileInfo{L"c:\\program files\\foo\\a.txt", 12, sfkFile, 6}};
  TTreeImageList icons;
  icons.Add(TTreeImage{tikFileOwnIcon, 0, L"first.exe", 0, false});
  icons.Add(TTreeImage{tikFileOwnIcon, 0, L"second.exe", 0, false});
  entry_.ImageIndex = 7;  // beyond the inventory's icons: the first one stands in
  AddProgramBranch(tree_, entry_, registry, files, &icons);
  const TLeftoverNode& program = *tree_.Programs()[0];
  EXPECT_EQ(program.Text, L"Foo(3 items)");
  EXPECT_EQ(tree_.Images().At(program.ImageIndex)->Source, L"first.exe");
  EXPECT_EQ(program.Children[0]->Text, L"Registry(1 item)");
  EXPECT_TRUE(program.Children[0]->Children[0]->Data.View64);
  const TLeftoverNode& file = *program.Children[1];
  EXPECT_EQ(file.Text, L"File(2 items)");
  EXPECT_EQ(file.ImageIndex, tpFileCategory);
  EXPECT_EQ(file.Data.NodeType, ntFileCategory);
  const TLeftoverNode& text = *file.Children[1];
  EXPECT_EQ(text.Text, L"c:\\program files\\foo\\a.txt");
  EXPECT_EQ(text.ImageIndex, 6);
  EXPECT_EQ(text.Data.ItemKind, ikFile);
  EXPECT_EQ(text.Data.FileSize, 12);
  EXPECT_EQ(text.Data.FileKind, sfkFile);
}

TEST_F(ScanLeftoversTest, CountsUseTheLanguageOnlyWhenItsFormatFits) {
  const TTextSource previous = SetTextSource([](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"p_FormatItems_M") return L"%s Eintr\u00E4ge";  // a broken translation
    if (key == L"p_FormatOneItem_M") return L"1 Eintrag";
    if (key == L"p_RegistryCaption_M") return L"Registrierung";
    return std::nullopt;
  });
  EXPECT_EQ(CountText(2), L"(2 items)");
  EXPECT_EQ(CountText(1), L"(1 Eintrag)");
  SetTextSource([](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"p_FormatItems_M") return L"%d Eintr\u00E4ge";
    return std::nullopt;
  });
  EXPECT_EQ(CountText(0), L"(0 Eintr\u00E4ge)");
  SetTextSource(previous);
}

TEST_F(ScanLeftoversTest, CancelLeavesNoBranch) {
  TCancellingPump pump(3);
  TLeftoverScan scan(&pump);
  pump.scan = &scan;
  EXPECT_EQ(scan.ScanLeftovers(&entry_, tree_, L""), 0);
  EXPECT_TRUE(scan.Cancelled());
  EXPECT_GE(pump.calls, 3);
  EXPECT_TRUE(tree_.Programs().empty());
  // The same scan without Cancel finds the class.
  pump.scan = nullptr;
  EXPECT_EQ(scan.ScanLeftovers(&entry_, tree_, L""), 6);
  EXPECT_FALSE(scan.Cancelled());
  EXPECT_EQ(tree_.Programs().size(), 1u);
}

TEST_F(ScanLeftoversTest, PumpThatAsksToStopCancelsToo) {
  struct TStopPump : IPump {
    void ProcessMessages() override {}
    bool StopRequested() override { return true; }
  } pump;
  TLeftoverScan scan(&pump);
  EXPECT_EQ(scan.ScanLeftovers(&entry_, tree_, L""), 0);
  EXPECT_TRUE(scan.Cancelled());
  EXPECT_TRUE(tree_.Programs().empty());
}

TEST_F(ScanLeftoversTest, ToolbarEntriesAreNeverScanned) {
  for (const wchar_t* command : {L"_SPECIAL_ORVIXTOOLBAR_", L"x _SPECIAL_TOOLBAR_ y"}) {
    entry_.UninstallString = command;
    EXPECT_EQ(TLeftoverScan().ScanLeftovers(&entry_, tree_, L""), 0);
  }
  EXPECT_TRUE(tree_.Programs().empty());
}

// Asked to scan a program that is still installed (its Uninstall key and
// its uninstaller are there), the scan shows its key, folder and files
// marked so; checking everything leaves them unchecked, a click on one
// checks it. Once the uninstaller is gone, nothing is marked.
TEST_F(ScanLeftoversTest, StillInstalledProgramsOwnFindingsAreMarkedAndLeftUnchecked) {
  const std::wstring key = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
  Machine().registry.PutString(L"HKLM" + key, L"DisplayName", L"Foo");
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\uninst.exe", "MZ");
  entry_.RootName = L"HKEY_LOCAL_MACHINE";
  entry_.KeyPath = key;
  entry_.UninstallString = L"\"C:\\Program Files\\Foo\\uninst.exe\" /x";

  ASSERT_GT(TLeftoverScan().ScanLeftovers(&entry_, tree_, L""), 0);
  std::vector<std::wstring> marked;
  std::vector<TLeftoverNode*> unmarked;
  ForEachNode(tree_, [&](TLeftoverNode& node) {
    if (node.Data.NodeType != ntFinding) return;
    if (node.Data.StillInstalled) {
      marked.push_back(node.Text);
    } else {
      unmarked.push_back(&node);
    }
  });
  const std::wstring uninstall = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
  EXPECT_EQ(marked, (std::vector<std::wstring>{uninstall + L" (still installed)",
                                               uninstall + L" | DisplayName - Foo (still installed)",
                                               L"c:\\program files\\foo\\ (still installed)",
                                               L"c:\\program files\\foo\\uninst.exe (still installed)"}));
  ASSERT_FALSE(unmarked.empty());  // the COM class another program could have left is no part of the install

  SetAllCheckStates(tree_, csChecked);
  ForEachNode(tree_, [](TLeftoverNode& node) {
    if (node.Data.NodeType == ntFinding) {
      EXPECT_EQ(node.CheckState, node.Data.StillInstalled ? csUnchecked : csChecked);
    }
  });
  EXPECT_EQ(tree_.Programs()[0]->CheckState, csPartlyChecked);
  TLeftoverNode& files = *tree_.Programs()[0]->Children[1];
  SetCheckState(*files.Children[0], csChecked);
  EXPECT_EQ(files.Children[0]->CheckState, csChecked);

  TLeftoverTree after;
  Machine().files.Remove(L"C:\\Program Files\\Foo\\uninst.exe");
  ASSERT_GT(TLeftoverScan().ScanLeftovers(&entry_, after, L""), 0);
  EXPECT_FALSE(AnyNodeIn(after, [](const TLeftoverNode& node) { return node.Data.StillInstalled; }));
}

}  // namespace
}  // namespace orvix::testing
