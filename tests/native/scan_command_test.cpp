// orvix scan over the simulated machine: which program it scans, and the
// findings printed in the order of the review tree, as text and as JSON.
#include "app/scan_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "app/orvix_commands.h"
#include "inventory/software_info.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/leftover_scan.h"

namespace orvix {
namespace {

const std::wstring kUninstall64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kUninstall32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kClsid = L"{F0000000-0000-0000-0000-000000000001}";

// Foo, a 64-bit program, left its COM class and its folder behind.
class ScanCommandTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Program(kUninstall64 + L"Foo", L"Foo", L"C:\\Program Files\\Foo");
    Program(kUninstall32 + L"FooTools", L"Foo Tools", L"C:\\Program Files (x86)\\Foo Tools");
    Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\CLSID\\" + kClsid + L"\\InprocServer32", L"",
                         L"C:\\Program Files\\Foo\\foo.dll");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.log", "log");
  }

  // `orvix scan NAME --json` of a 32-bit entry with no InstallLocation;
  // a discarded value when the scan fails.
  nlohmann::json ScanEntryWithoutLocation(const std::wstring& name, const std::wstring& command) {
    Registry().PutString(kUninstall32 + name, L"DisplayName", name);
    Registry().PutString(kUninstall32 + name, L"UninstallString", command);
    EXPECT_EQ(Run({L"scan", name, L"--json"}), ecOk) << Err();
    return nlohmann::json::parse(Out(), nullptr, false);
  }

  void Program(const std::wstring& key, const std::wstring& name, const std::wstring& location) {
    Registry().PutString(key, L"DisplayName", name);
    Registry().PutString(key, L"UninstallString", location + L"\\uninst.exe");
    Registry().PutString(key, L"InstallLocation", location);
  }

  int Run(std::vector<std::wstring> args) {
    out = StringOutput();
    err = StringOutput();
    return RunOrvixCommand(args, out, err);
  }
  std::string Out() const { return testing::Narrow(out.Text()); }
  std::string Err() const { return testing::Narrow(err.Text()); }

  // Foo's branch as the review window would get it.
  const TLeftoverNode& FooBranch() {
    TSoftwareInfo inventory;
    const auto foo = std::find_if(inventory.Items().begin(), inventory.Items().end(),
                                  [](const auto& entry) { return entry->DisplayName == L"Foo"; });
    EXPECT_NE(foo, inventory.Items().end());
    EXPECT_GT(TLeftoverScan().ScanLeftovers(foo->get(), tree_, L""), 0);
    return *tree_.Programs().back();
  }

  StringOutput out;
  StringOutput err;

 private:
  TLeftoverTree tree_;
};

TEST_F(ScanCommandTest, JsonHoldsEveryFindingInTreeOrder) {
  ASSERT_EQ(Run({L"scan", L"FOO", L"--json"}), ecOk) << Err();
  const nlohmann::json json = nlohmann::json::parse(Out());
  EXPECT_EQ(json["program"], "Foo");

  const TLeftoverNode& branch = FooBranch();
  ASSERT_EQ(branch.Children.size(), 2u);
  const auto& registryNodes = branch.Children[0]->Children;
  const auto& fileNodes = branch.Children[1]->Children;
  ASSERT_EQ(json["registry"].size(), registryNodes.size());
  for (std::size_t i = 0; i < registryNodes.size(); ++i) {
    EXPECT_EQ(json["registry"][i]["text"], testing::Narrow(registryNodes[i]->Text));
  }
  ASSERT_EQ(json["files"].size(), fileNodes.size());
  for (std::size_t i = 0; i < fileNodes.size(); ++i) {
    EXPECT_EQ(json["files"][i]["path"], testing::Narrow(fileNodes[i]->Data.FilePath));
  }

  // A key: no value, no data; then a value (the default one has an empty name).
  const std::string clsidKey = "SOFTWARE\\Classes\\CLSID\\" + testing::Narrow(kClsid);
  EXPECT_EQ(json["registry"][0]["root"], "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(json["registry"][0]["key"], clsidKey);
  EXPECT_TRUE(json["registry"][0]["value"].is_null());
  EXPECT_TRUE(json["registry"][0]["data"].is_null());
  EXPECT_EQ(json["registry"][0]["view"], "64");
  const auto server = std::find_if(json["registry"].begin(), json["registry"].end(),
                                   [](const nlohmann::json& f) { return f["data"] == "C:\\Program Files\\Foo\\foo.dll"; });
  ASSERT_NE(server, json["registry"].end());
  EXPECT_EQ((*server)["value"], "");
  EXPECT_EQ((*server)["key"], clsidKey + "\\InprocServer32");

  EXPECT_EQ(json["files"][0], nlohmann::json::parse(R"({"path": "c:\\program files\\foo\\", "kind": "folder", "size": 0})"));
  EXPECT_EQ(json["files"][1],
            nlohmann::json::parse(R"({"path": "c:\\program files\\foo\\foo.log", "kind": "file", "size": 3})"));
}

TEST_F(ScanCommandTest, JsonNamesADefaultValueByTheEmptyName) {
  // A default value among the findings: the one of Foo's uninstall key.
  Registry().PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"", L"Foo");
  ASSERT_EQ(Run({L"scan", L"Foo", L"--json"}), ecOk) << Err();
  const nlohmann::json json = nlohmann::json::parse(Out());
  int defaults = 0;
  for (const nlohmann::json& finding : json["registry"]) {
    if (finding["value"].is_null()) continue;
    EXPECT_NE(finding["value"], " ") << finding.dump();
    if (finding["key"] == "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo" && finding["value"] == "")
      ++defaults;
  }
  EXPECT_GE(defaults, 1) << json.dump();
}

TEST_F(ScanCommandTest, TextShowsTheBranchAsTheReviewTreeDoes) {
  ASSERT_EQ(Run({L"scan", L"Foo"}), ecOk) << Err();
  const TLeftoverNode& branch = FooBranch();
  std::wstring expected = branch.Text + L"\n";
  for (const auto& category : branch.Children) {
    expected += L"  " + category->Text + L"\n";
    for (const auto& finding : category->Children) expected += L"    " + finding->Text + L"\n";
  }
  EXPECT_EQ(out.Text(), expected);
  EXPECT_NE(Out().find("    c:\\program files\\foo\\foo.log\n"), std::string::npos) << Out();

  // Nothing to offer: a program of the Windows folder.
  Machine().files.PutFile(L"C:\\Windows\\notepad.exe", "MZ");
  ASSERT_EQ(Run({L"scan", L"--folder", L"C:\\Windows\\notepad.exe"}), ecOk) << Err();
  EXPECT_EQ(Out(), "No leftovers of notepad.exe were found.\n");
  ASSERT_EQ(Run({L"scan", L"--folder", L"C:\\Windows\\notepad.exe", L"--json"}), ecOk) << Err();
  EXPECT_EQ(Out(), "{\"program\":\"notepad.exe\",\"registry\":[],\"files\":[]}\n");
}

TEST_F(ScanCommandTest, FolderScanReportsFilesOnly) {
  Machine().files.PutFile(L"C:\\Tools\\Bar\\bar.exe", "MZ");
  ASSERT_EQ(Run({L"scan", L"--folder", L"C:\\Tools\\Bar\\bar.exe", L"--json"}), ecOk) << Err();
  EXPECT_EQ(nlohmann::json::parse(Out()), nlohmann::json::parse(R"({"program": "bar.exe", "registry": [], "files": [
      {"path": "c:\\tools\\bar\\", "kind": "folder", "size": 0},
      {"path": "c:\\tools\\bar\\bar.exe", "kind": "file", "size": 2}]})"));
  // The folder of a program that has an entry: still the files alone.
  ASSERT_EQ(Run({L"scan", L"--folder", L"C:\\Program Files\\Foo"}), ecOk) << Err();
  EXPECT_EQ(Out(), "Foo(2 items)\n  File(2 items)\n    c:\\program files\\foo\\\n    c:\\program files\\foo\\foo.log\n");
}

// Its uninstaller removed Gone's folder but left the entry and the COM
// class pointing into it: the entry's recorded location still leads there.
TEST_F(ScanCommandTest, AProgramWhoseFolderIsGoneIsScannedByTheLocationItsEntryRecords) {
  Program(kUninstall64 + L"Gone", L"Gone", L"C:\\Program Files\\Gone");
  const std::wstring clsid = L"HKLM\\SOFTWARE\\Classes\\CLSID\\{F0000000-0000-0000-0000-000000000002}";
  Registry().PutString(clsid + L"\\InprocServer32", L"", L"C:\\Program Files\\Gone\\gone.dll");
  ASSERT_EQ(Run({L"scan", L"Gone", L"--json"}), ecOk) << Err();
  const nlohmann::json json = nlohmann::json::parse(Out());
  EXPECT_TRUE(std::any_of(json["registry"].begin(), json["registry"].end(), [&](const nlohmann::json& f) {
    return f["key"] == testing::Narrow(clsid.substr(5)) && f["value"].is_null();
  })) << Out();
  EXPECT_EQ(json["files"], nlohmann::json::array());
}

// Most installers record no InstallLocation: the scan goes by the folder of
// the uninstall command, as the analysis measures it, unless that folder is
// shared or protected.
TEST_F(ScanCommandTest, AnEntryWithoutLocationIsScannedByItsUninstallCommandsFolder) {
  Machine().files.PutFile(L"C:\\Program Files (x86)\\Bar\\uninst.exe", "MZ");
  Machine().files.PutFile(L"C:\\Program Files (x86)\\Bar\\bar.exe", "MZ");
  Machine().files.PutFile(L"C:\\Users\\Ann\\Downloads\\baz-setup.exe", "MZ");
  Machine().files.PutFile(L"C:\\Users\\Ann\\Downloads\\holiday.jpg", "mine");
  Machine().files.PutFile(L"C:\\Program Files (x86)\\Common Files\\InstallShield\\Driver\\11\\Intel 32\\Ctor.dll", "MZ");
  const struct {
    const wchar_t* name;
    const wchar_t* command;
    const char* folderFound;  // nullptr: no folder is walked
  } cases[] = {
      {L"Bar", LR"("C:\Program Files (x86)\Bar\uninst.exe" /uninstall /log="C:\x y.txt")",
       "c:\\program files (x86)\\bar\\"},
      {L"Baz", LR"("C:\Users\Ann\Downloads\baz-setup.exe" /remove)", nullptr},
      {L"Qux", LR"(RunDll32 C:\Program Files (x86)\Common Files\InstallShield\Driver\11\Intel 32\Ctor.dll,LaunchSetup)",
       nullptr},
      {L"Msi", L"MsiExec.exe /X{F0000000-0000-0000-0000-0000000000AA}", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.name));
    const nlohmann::json json = ScanEntryWithoutLocation(c.name, c.command);
    if (c.folderFound == nullptr) {
      EXPECT_EQ(json["files"], nlohmann::json::array());
    } else {
      ASSERT_FALSE(json["files"].empty()) << Out();
      EXPECT_EQ(json["files"][0]["path"], c.folderFound);
    }
  }
}

// Once the program's own uninstaller removed its folder, what still points
// into that folder is found by the command's folder all the same; a command
// in a protected folder still gives nothing.
TEST_F(ScanCommandTest, AnEntryWithoutLocationWhoseFolderIsGoneIsScannedByTheCommandsFolder) {
  const std::wstring clsids = L"HKLM\\SOFTWARE\\Classes\\CLSID\\{F0000000-0000-0000-0000-00000000000";
  Registry().PutString(clsids + L"3}\\InprocServer32", L"", L"C:\\Program Files (x86)\\Quux\\quux.dll");
  Registry().PutString(clsids + L"4}\\InprocServer32", L"", L"C:\\Program Files (x86)\\Quux2\\quux.dll");
  Registry().PutString(clsids + L"5}\\InprocServer32", L"", L"C:\\Users\\Ann\\Downloads\\tool.dll");
  const struct {
    const wchar_t* name;
    const wchar_t* command;
    const char* clsidFound;  // nullptr: nothing is found
  } cases[] = {
      {L"Quux", LR"("C:\Program Files (x86)\Quux\uninst.exe" /S)", "SOFTWARE\\Classes\\CLSID\\{F0000000-0000-0000-0000-000000000003}"},
      {L"Gone Tool", LR"("C:\Users\Ann\Downloads\tool-setup.exe" /remove)", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.name));
    const nlohmann::json json = ScanEntryWithoutLocation(c.name, c.command);
    std::vector<std::string> clsidKeys;  // the machine's class keys found, without their sub-keys
    for (const auto& f : json["registry"]) {
      const std::string key = f["key"];
      if (f["root"] == "HKEY_LOCAL_MACHINE" && key.find("CLSID") != std::string::npos && key.ends_with("}") &&
          f["value"].is_null())
        clsidKeys.push_back(key);
    }
    EXPECT_EQ(clsidKeys, c.clsidFound == nullptr ? std::vector<std::string>{} : std::vector<std::string>{c.clsidFound})
        << Out();
    EXPECT_EQ(json["files"], nlohmann::json::array());
  }
}

TEST_F(ScanCommandTest, WrongNamesAndCommandLinesExplainThemselves) {
  const struct {
    std::vector<std::wstring> args;
    int code;
    const char* message;
  } cases[] = {
      {{L"scan", L"Fo"}, ecFailed,
       "no installed program is named \"Fo\"; give the whole name of one of these:\n  Foo Tools\n  Foo(x64)\n"},
      {{L"scan", L"Nothing Like It"}, ecFailed, "no installed program matches: Nothing Like It"},
      {{L"scan", L"--folder", L"C:\\Tools\\Gone"}, ecFailed, "cannot scan C:\\Tools\\Gone: no such file or folder"},
      {{L"scan"}, ecUsage, "scan needs the name of an installed program, or --folder PATH"},
      {{L"scan", L"Foo", L"Tools"}, ecUsage, "scan takes one name, got another: Tools"},
      {{L"scan", L"Foo", L"--folder", L"C:\\Tools"}, ecUsage, "scan takes a program's name or --folder PATH, not both"},
      {{L"scan", L"--folder"}, ecUsage, "scan --folder needs a path"},
      {{L"scan", L"--folder", L"Tools\\Bar"}, ecUsage, "scan --folder needs a full path"},
      {{L"scan", L"Foo", L"--yes"}, ecUsage, "unknown option for scan: --yes"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.message;
    EXPECT_NE(Err().find(std::string("orvix: ") + c.message), std::string::npos) << Err();
    EXPECT_EQ(out.Text(), L"") << c.message;
  }
  ASSERT_EQ(Run({L"--help"}), ecOk);
  EXPECT_NE(Out().find("scan --folder PATH [--json]"), std::string::npos);
}

}  // namespace
}  // namespace orvix
