// orvix list, export and remove-entry over the simulated machine.
#include "app/software_commands.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/orvix_commands.h"
#include "inventory/analysis_cache.h"
#include "list_fixture.h"
#include "platform/file_helpers.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::DateOf;

const std::wstring kUninstall32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kUninstall64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kUninstallUser = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class SoftwareCommandsTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    testing::SetNow(Machine().clock, DateOf(2024, 3, 5, 10));
    Program(kUninstall32 + L"Editor", L"Editor", L"Ed Corp", L"2.0", 2048, L"20240301");
    Registry().PutString(kUninstall32 + L"Editor", L"HelpLink", L"https://ed.test/help");
    Program(kUninstall32 + L"EditorHelper", L"Editor Helper", L"Ed Corp", L"", 0, L"");
    Program(kUninstall32 + L"KB123", L"Security Update for Windows (KB123)", L"Microsoft Corporation", L"", 300, L"");
    Program(kUninstallUser + L"Notes", L"Caf\u00e9 \"Notes\"", L"", L"1.0", 0, L"20231224");
    Program(kUninstall64 + L"Video", L"Video Suite", L"Vid Inc", L"5.1", 120 * 1024, L"20231201");
    Registry().PutString(kUninstall64 + L"Video", L"InstallLocation", L"C:\\Program Files\\Video");
    Machine().files.PutFolder(L"C:\\Program Files\\Video");
  }

  void Program(const std::wstring& key, const std::wstring& name, const std::wstring& publisher,
               const std::wstring& version, DWORD sizeKb, const std::wstring& installDate) {
    Registry().PutString(key, L"DisplayName", name);
    Registry().PutString(key, L"UninstallString", L"\"C:\\Apps\\" + name + L"\\uninst.exe\"");
    if (!publisher.empty()) Registry().PutString(key, L"Publisher", publisher);
    if (!version.empty()) Registry().PutString(key, L"DisplayVersion", version);
    if (sizeKb != 0) Registry().PutDword(key, L"EstimatedSize", sizeKb);
    if (!installDate.empty()) Registry().PutString(key, L"InstallDate", installDate);
  }

  int Run(std::vector<std::wstring> args, std::vector<std::wstring> answers = {}) {
    out = StringOutput();
    err = StringOutput();
    const std::wstring& command = args[0];
    if (command == L"list") return RunListCommand(args, out, err);
    if (command == L"export") return RunExportCommand(args, out, err);
    std::size_t next = 0;
    return RunRemoveEntryCommand(args, out, err, [&]() -> std::optional<std::wstring> {
      if (next == answers.size()) return std::nullopt;
      return answers[next++];
    });
  }

  std::string Out() const { return testing::Narrow(out.Text()); }
  std::string Err() const { return testing::Narrow(err.Text()); }

  StringOutput out;
  StringOutput err;
};

TEST_F(SoftwareCommandsTest, ListPrintsATableOfTheCategoryInListOrder) {
  ASSERT_EQ(Run({L"list"}), 0) << Err();
  EXPECT_EQ(Out(),
            "Name              Version  Publisher  Size       Installed   Used\n"
            "Editor            2.0      Ed Corp    2.00 MB    3/1/2024    <unknown>\n"
            "Editor Helper     -        Ed Corp                           <unknown>\n"
            "Caf\u00e9 \"Notes\"      1.0                            12/24/2023  <unknown>\n"
            "Video Suite(x64)  5.1      Vid Inc    120.00 MB  12/1/2023   <unknown>\n"
            "\n"
            "4 programs\n");
  EXPECT_EQ(err.Text(), L"");

  const struct {
    std::vector<std::wstring> args;
    std::vector<std::string> names;
  } cases[] = {
      {{L"list", L"--category", L"all", L"--no-analysis"},
       {"Editor", "Editor Helper", "Caf\u00e9 \"Notes\"", "Video Suite"}},
      {{L"list", L"--category", L"recent"}, {"Editor"}},
      {{L"list", L"--category", L"large"}, {"Video Suite"}},
      {{L"list", L"--category", L"updates"}, {"Security Update for Windows (KB123)"}},
      {{L"list", L"--category", L"rarely"}, {}},
      {{L"list", L"--filter", L"EDITOR"}, {"Editor", "Editor Helper"}},
      {{L"list", L"--filter", L"help", L"--category", L"recent"}, {}},
      {{L"list", L"--category", L"UPDATES", L"--filter", L"kb1"}, {"Security Update for Windows (KB123)"}},
  };
  for (const auto& c : cases) {
    std::vector<std::wstring> args = c.args;
    args.push_back(L"--json");
    ASSERT_EQ(Run(args), 0) << Err();
    std::vector<std::string> names;
    for (const auto& entry : nlohmann::json::parse(Out())) names.push_back(entry["DisplayName"]);
    EXPECT_EQ(names, c.names) << testing::Narrow(c.args.back());
  }
  ASSERT_EQ(Run({L"list", L"--category", L"rarely"}), 0);
  EXPECT_EQ(Out(), "No programs listed.\n");
}

TEST_F(SoftwareCommandsTest, ListJsonCarriesEveryFieldUnderItsName) {
  ASSERT_EQ(Run({L"list", L"--json", L"--filter", L"video"}), 0) << Err();
  EXPECT_EQ(Out(),
            "[{\"DisplayName\":\"Video Suite\",\"Publisher\":\"Vid Inc\",\"DisplayVersion\":\"5.1\","
            "\"HelpLink\":\"-\",\"URLInfoAbout\":\"\",\"URLUpdateInfo\":\"\","
            "\"UninstallString\":\"\\\"C:\\\\Apps\\\\Video Suite\\\\uninst.exe\\\"\","
            "\"InstallLocation\":\"C:\\\\Program Files\\\\Video\",\"DisplayIcon\":\"\",\"IconIndex\":0,"
            "\"Readme\":\"\",\"RootName\":\"HKEY_LOCAL_MACHINE\","
            "\"KeyPath\":\"\\\\SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Video\","
            "\"Size\":125829120,\"SizeText\":\"120.00 MB\",\"InstallDate\":\"2023-12-01\","
            "\"InstallDateText\":\"12/1/2023\",\"IsX64\":true,\"IsUpdate\":false,\"IsSystemComponent\":false,"
            "\"IsToolbar\":false,\"UseRange\":\"audUnknown\",\"UseRate\":\"aurUnknown\"}]\n");

  ASSERT_EQ(Run({L"list", L"--json"}), 0);
  const auto all = nlohmann::ordered_json::parse(Out());
  ASSERT_EQ(all.size(), 4u);
  const auto& notes = all[2];
  EXPECT_EQ(notes["DisplayName"], "Caf\u00e9 \"Notes\"");
  EXPECT_EQ(notes["Publisher"], " ");
  EXPECT_EQ(notes["RootName"], "HKEY_CURRENT_USER");
  EXPECT_EQ(notes["InstallDate"], "2023-12-24");
  EXPECT_TRUE(all[1]["InstallDate"].is_null()) << "no install date is null";
  EXPECT_EQ(all[1]["Size"], 0);
  EXPECT_EQ(all[1]["SizeText"], "");
}

TEST_F(SoftwareCommandsTest, ListTakesWhatTheSoftwareCacheKnows) {
  const std::wstring helperCommand = L"\"C:\\Apps\\Editor Helper\\uninst.exe\"";
  const std::wstring cache = L"[Editor Helper]\r\nInstallDate=1/15/2024\r\nMD5=" +
                             CacheMd5(L"1/15/2024", helperCommand) +
                             L"\r\nAppUseRange=audMore\r\nAppUseRate=aurRarely\r\nsize=73400320\r\n"
                             L"[Video Suite]\r\nInstallDate=1/1/2020\r\nMD5=stale\r\nAppUseRate=aurRarely\r\n";
  ASSERT_TRUE(ForceDirectories(L"C:\\Users\\Ann\\AppData\\Roaming\\Orvix\\Orvix Uninstaller"));
  Machine().files.PutFile(SoftwareCachePath(), EncodeTextFile(cache, TextEncoding::Utf16LeBom));

  ASSERT_EQ(Run({L"list", L"--no-analysis", L"--category", L"rarely", L"--json"}), 0) << Err();
  const auto rarely = nlohmann::json::parse(Out());
  ASSERT_EQ(rarely.size(), 1u) << Out() << " (a section whose MD5 does not match is ignored)";
  EXPECT_EQ(rarely[0]["DisplayName"], "Editor Helper");
  EXPECT_EQ(rarely[0]["InstallDate"], "2024-01-15");
  EXPECT_EQ(rarely[0]["Size"], 73400320);
  EXPECT_EQ(rarely[0]["UseRange"], "audMore");
  EXPECT_EQ(rarely[0]["UseRate"], "aurRarely");
  ASSERT_EQ(Run({L"list", L"--no-analysis", L"--filter", L"helper"}), 0);
  EXPECT_NE(Out().find("Editor Helper  -        Ed Corp    70.00 MB  1/15/2024  rarely\n"), std::string::npos) << Out();
}

TEST_F(SoftwareCommandsTest, HiddenEntriesAreNeverPrinted) {
  // The same name in both views: the 64-bit one is a duplicate, hidden.
  Program(kUninstall64 + L"Editor", L"Editor", L"Ed Corp", L"2.0", 2048, L"20240301");
  ASSERT_EQ(Run({L"list", L"--json", L"--filter", L"Editor"}), 0);
  const auto entries = nlohmann::json::parse(Out());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0]["IsX64"], false);
  EXPECT_EQ(entries[1]["DisplayName"], "Editor Helper");
}

TEST_F(SoftwareCommandsTest, ExportWritesTheListOfEveryVisibleEntry) {
  ASSERT_EQ(Run({L"export", L"C:/Users/Ann/Documents/software.txt"}), 0) << Err();
  EXPECT_EQ(Out(), "Exported 5 programs to C:/Users/Ann/Documents/software.txt\n");
  const auto bytes = Machine().files.FileBytes(L"C:\\Users\\Ann\\Documents\\software.txt");
  ASSERT_TRUE(bytes);
  ASSERT_GT(bytes->size(), 2u);
  EXPECT_EQ((*bytes)[0], 0xFF);
  EXPECT_EQ((*bytes)[1], 0xFE);
  const std::wstring text = FromUtf16Le(bytes->data() + 2, bytes->size() - 2);
  EXPECT_NE(text.find(L"Exported Time:03-05-2024 10:00:00\r\n"), std::wstring::npos) << testing::Narrow(text);
  EXPECT_NE(text.find(L"Software Name: Security Update for Windows (KB123)\r\n"), std::wstring::npos)
      << "updates are exported whatever the page shows";
  EXPECT_NE(
      text.find(L"Software Name: Video Suite\r\nVersion: 5.1\r\nPublisher: Vid Inc\r\n"
                L"Install Time: 12/1/2023\r\nSize: 120.00 MB\r\nHelp info: -\r\n"
                L"Registry Key: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Video\r\n"
                L"Uninstall Command: \"C:\\Apps\\Video Suite\\uninst.exe\"\r\n"),
      std::wstring::npos);
}

TEST_F(SoftwareCommandsTest, RemoveEntryDeletesTheKeyOfTheOneProgramNamed) {
  const std::wstring key = kUninstall32 + L"Editor";
  ASSERT_EQ(Run({L"remove-entry", L"editor"}, {L"n"}), 1) << "declined";
  EXPECT_EQ(Out(),
            "Editor: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Editor\n"
            "Are you sure to remove the selected program entry? [y/N] Nothing was removed.\n");
  EXPECT_TRUE(Registry().HasKey(key));

  ASSERT_EQ(Run({L"remove-entry", L"editor"}), 1) << "no answer at the end of the input";
  EXPECT_TRUE(Registry().HasKey(key));

  ASSERT_EQ(Run({L"remove-entry", L"editor"}, {L" Yes "}), 0) << Err() << "the exact name wins over Editor Helper";
  EXPECT_FALSE(Registry().HasKey(key));
  EXPECT_TRUE(Registry().HasKey(kUninstall32 + L"EditorHelper"));
  EXPECT_NE(Out().find("Removed the entry of Editor.\n"), std::string::npos) << Out();

  ASSERT_EQ(Run({L"remove-entry", L"--yes", L"suite"}), 0) << Err() << "the only name that contains it";
  EXPECT_EQ(Out(),
            "Video Suite(x64): HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Video"
            " (64-bit view)\nRemoved the entry of Video Suite(x64).\n");
  EXPECT_FALSE(Registry().HasKey(kUninstall64 + L"Video"));
  EXPECT_TRUE(Registry().HasKey(kUninstall64)) << "only the entry's own key goes";

  ASSERT_EQ(Run({L"list", L"--json"}), 0);
  EXPECT_EQ(nlohmann::json::parse(Out()).size(), 2u);
}

TEST_F(SoftwareCommandsTest, ErrorsGoToStandardErrorWithTheirExitCodes) {
  Registry().SetUndeletable(kUninstallUser + L"Notes");
  const std::wstring locked = L"C:\\Users\\Ann\\Documents\\locked.txt";
  Machine().files.PutFile(locked, std::string_view("old"));
  Machine().files.LockFile(locked, 0);
  const struct {
    std::vector<std::wstring> args;
    int code;
    const char* message;
  } cases[] = {
      {{L"list", L"--verbose"}, 2, "unknown option for list: --verbose"},
      {{L"list", L"extra"}, 2, "list takes no arguments, got: extra"},
      {{L"list", L"--category"}, 2, "list --category needs a value"},
      {{L"list", L"--category", L"big"}, 2, "unknown category: big (use all, recent, large, rarely or updates)"},
      {{L"list", L"--filter"}, 2, "list --filter needs a value"},
      {{L"export"}, 2, "export needs a file to write"},
      {{L"export", L"a.txt", L"b.txt"}, 2, "export takes one file, got another: b.txt"},
      {{L"export", L"--force", L"a.txt"}, 2, "unknown option for export: --force"},
      {{L"export", L"C:\\No Such Folder\\a.txt"},
       1,
       "cannot write C:\\No Such Folder\\a.txt: the folder does not exist"},
      {{L"export", L"C:\\Users"}, 1, "cannot write C:\\Users: it is a folder"},
      {{L"export", locked},
       1,
       "cannot write C:\\Users\\Ann\\Documents\\locked.txt (access denied, or the file is in use)"},
      {{L"remove-entry"}, 2, "remove-entry needs the name of an installed program"},
      {{L"remove-entry", L"Video", L"Suite"}, 2, "remove-entry takes one name, got another: Suite"},
      {{L"remove-entry", L"--force", L"Video"}, 2, "unknown option for remove-entry: --force"},
      {{L"remove-entry", L"Photo Studio", L"--yes"}, 1, "no installed program matches: Photo Studio"},
      {{L"remove-entry", L"e", L"--yes"},
       1,
       "5 installed programs match \"e\"; give the whole name of one:\n"
       "  Editor\n  Editor Helper\n  Security Update for Windows (KB123)\n"
       "  Caf\u00e9 \"Notes\"\n  Video Suite(x64)\n"},
      {{L"remove-entry", L"notes", L"--yes"},
       1,
       "could not delete the key HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\"
       "Windows\\CurrentVersion\\Uninstall\\Notes"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << c.message;
    EXPECT_NE(Err().find(std::string("orvix: ") + c.message), std::string::npos) << Err();
    if (c.code == 2) {
      EXPECT_EQ(out.Text(), L"") << c.message;
      EXPECT_NE(Err().find("orvix --help"), std::string::npos);
    }
  }
  EXPECT_TRUE(Registry().HasKey(kUninstallUser + L"Notes"));
  EXPECT_EQ(Machine().files.FileText(locked), "old");
}

TEST_F(SoftwareCommandsTest, TheConsoleRoutesAndDocumentsTheCommands) {
  ASSERT_EQ(RunOrvixCommand({L"--help"}, out, err), 0);
  for (const wchar_t* usage : {L"  list [--category all|recent|large|rarely|updates] [--filter TEXT] [--json]",
                               L"  export FILE", L"  remove-entry NAME [--yes]"}) {
    EXPECT_NE(out.Text().find(usage), std::wstring::npos) << testing::Narrow(usage);
  }
  out = StringOutput();
  ASSERT_EQ(RunOrvixCommand({L"list", L"--json", L"--category", L"large"}, out, err), 0) << Err();
  EXPECT_EQ(nlohmann::json::parse(Out()).size(), 1u);
  out = StringOutput();
  const TReadLine yes = [] { return std::optional<std::wstring>(L"y"); };
  ASSERT_EQ(RunOrvixCommand({L"remove-entry", L"Video Suite"}, out, err, yes), 0) << Err();
  EXPECT_FALSE(Registry().HasKey(kUninstall64 + L"Video"));
}

}  // namespace
}  // namespace orvix
