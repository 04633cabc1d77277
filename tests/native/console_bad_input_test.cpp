// Every command of orvix.exe given a wrong command line, a name that stands
// for no program or for several, or a path that leads nowhere (non-Latin,
// longer than MAX_PATH, or holding format directives): a message on stderr
// that names the mistake, a non-zero exit code, and the machine exactly as
// it was. Every prompt is answered "y", so a command that went ahead anyway
// would show in the snapshot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/orvix_commands.h"
#include "machine_snapshot.h"
#include "named_case.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

const std::wstring kUninstall = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kPrograms = L"C:\\Program Files (x86)\\";
const std::wstring kDataFolder = L"C:\\Users\\Ann\\AppData\\Roaming\\Orvix\\Orvix Uninstaller\\";
const std::wstring kNotes = L"C:\\Users\\Ann\\Documents\\notes.txt";
// Longer than MAX_PATH, and missing.
const std::wstring kLongFolder = L"C:\\Tools\\" + std::wstring(130, L'a') + L"\\" + std::wstring(130, L'b');
const std::wstring kFormatText = L"%s%n%d%x";

class ConsoleBadInputTest : public SimMachineTest {
 protected:
  void SetUp() override {
    AddProgram(L"Foo", L"Foo", kPrograms + L"Foo");
    AddProgram(L"FooHelper", L"Foo Helper", kPrograms + L"Foo Helper");
    AddProgram(L"TextEditor", L"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440 \u0422\u0435\u043a\u0441\u0442\u0430",
               kPrograms + L"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440\\\u0422\u0435\u043a\u0441\u0442");
    AddProgram(L"CodeEditor", L"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440 \u041a\u043e\u0434\u0430",
               kPrograms + L"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440\\\u041a\u043e\u0434");
    Machine().files.PutFile(kNotes, "mine");
    // The program has run before: its data folder and a day's log exist.
    Machine().files.PutFile(kDataFolder + L"Log\\2013-05-31.log", "log");
  }

  // A program whose uninstaller, were it run, deletes the program.
  void AddProgram(const std::wstring& key, const std::wstring& name, const std::wstring& folder) {
    Registry().PutString(kUninstall + key, L"DisplayName", name);
    Registry().PutString(kUninstall + key, L"UninstallString", folder + L"\\unins.exe");
    Registry().PutString(kUninstall + key, L"InstallLocation", folder);
    Machine().files.PutFile(folder + L"\\unins.exe", "MZ");
    Machine().files.PutFile(folder + L"\\app.exe", "MZ");
    Machine().processes.RegisterExecutable(folder + L"\\unins.exe", [folder](sim::SimProcessContext&) {
      CurrentPlatform().Files().DeleteFile(folder + L"\\app.exe");
    });
  }

  StringOutput out;
  StringOutput err;
};

struct BadInput : NamedCase {
  std::vector<std::wstring> args;
  int code;
  std::wstring message;  // a part of what stderr must say
};

class ConsoleBadInput : public ConsoleBadInputTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(ConsoleBadInput, FailsWithAMessageAndChangesNothing) {
  const std::string before = MachineSnapshot(Machine());
  const int code = RunOrvixCommand(GetParam().args, out, err, []() -> std::optional<std::wstring> { return L"y"; });
  EXPECT_EQ(code, GetParam().code) << Narrow(err.Text());
  EXPECT_EQ(err.Text().rfind(L"orvix: ", 0), 0u) << "stderr: " << Narrow(err.Text());
  EXPECT_NE(err.Text().find(GetParam().message), std::wstring::npos)
      << "stderr: " << Narrow(err.Text()) << "\nexpected: " << Narrow(GetParam().message);
  EXPECT_EQ(SnapshotChanges(before, MachineSnapshot(Machine())), "");
  EXPECT_TRUE(Machine().processes.StartedCommandLines().empty()) << "an uninstaller was started";
}

const std::wstring kEditor = L"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440";  // both editors' first word
const std::wstring kCyrillicPath = L"C:\\\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b\\\u043d\u0435\u0442.exe";

INSTANTIATE_TEST_SUITE_P(
    Commands, ConsoleBadInput,
    ::testing::Values(
        BadInput{{"NoCommand"}, {}, ecUsage, L"no command given"},
        BadInput{{"UnknownCommand"}, {L"frobnicate"}, ecUsage, L"unknown command: frobnicate"},
        BadInput{{"FormatTextAsCommand"}, {kFormatText}, ecUsage, L"unknown command: " + kFormatText},
        BadInput{{"HelpWithMore"}, {L"--help", L"list"}, ecUsage, L"--help takes nothing after it, got: list"},

        BadInput{{"AboutWithMore"}, {L"about", L"now"}, ecUsage, L"about takes no arguments, got: now"},

        BadInput{{"KeysWithoutKey"}, {L"keys"}, ecUsage, L"keys needs a key"},
        BadInput{{"KeysTwoKeys"}, {L"keys", L"HKEY_LOCAL_MACHINE\\SOFTWARE", L"HKEY_USERS"}, ecUsage,
                 L"keys takes one key, got another: HKEY_USERS"},
        BadInput{{"KeysUnknownOption"}, {L"keys", L"HKEY_LOCAL_MACHINE\\SOFTWARE", L"--32"}, ecUsage,
                 L"unknown option for keys: --32"},
        BadInput{{"KeysUnknownRoot"}, {L"keys", L"HKEY_NOWHERE\\" + kFormatText}, ecUsage,
                 L"not a registry key (it must begin with a root name such as HKEY_LOCAL_MACHINE): HKEY_NOWHERE\\" +
                     kFormatText},
        BadInput{{"KeysMissingKey"}, {L"keys", L"HKEY_CURRENT_USER\\" + kFormatText}, ecFailed,
                 L"no such key: HKEY_CURRENT_USER\\" + kFormatText},
        BadInput{{"KeysLongKey"}, {L"keys", L"HKEY_LOCAL_MACHINE\\" + std::wstring(300, L'k')}, ecFailed,
                 L"no such key: HKEY_LOCAL_MACHINE\\kkk"},

        BadInput{{"ListWithArgument"}, {L"list", L"all"}, ecUsage, L"list takes no arguments, got: all"},
        BadInput{{"ListCategoryWithoutValue"}, {L"list", L"--category"}, ecUsage, L"list --category needs a value"},
        BadInput{{"ListUnknownCategory"}, {L"list", L"--category", kFormatText}, ecUsage,
                 L"unknown category: " + kFormatText + L" (use all, recent, large, rarely or updates)"},
        BadInput{{"ListFilterWithoutValue"}, {L"list", L"--filter"}, ecUsage, L"list --filter needs a value"},
        BadInput{{"ListUnknownOption"}, {L"list", L"--verbose"}, ecUsage, L"unknown option for list: --verbose"},

        BadInput{{"ExportWithoutFile"}, {L"export"}, ecUsage, L"export needs a file to write"},
        BadInput{{"ExportTwoFiles"}, {L"export", L"C:\\a.txt", L"C:\\b.txt"}, ecUsage,
                 L"export takes one file, got another: C:\\b.txt"},
        BadInput{{"ExportUnknownOption"}, {L"export", L"--utf8"}, ecUsage, L"unknown option for export: --utf8"},
        BadInput{{"ExportIntoMissingFolder"}, {L"export", L"C:\\Reports\\" + kFormatText + L".txt"}, ecFailed,
                 L"cannot write C:\\Reports\\" + kFormatText + L".txt: the folder does not exist"},
        BadInput{{"ExportOverAFolder"}, {L"export", kPrograms + L"Foo"}, ecFailed,
                 L"cannot write " + kPrograms + L"Foo: it is a folder"},
        BadInput{{"ExportNonLatinPath"}, {L"export", kCyrillicPath}, ecFailed,
                 L"cannot write " + kCyrillicPath + L": the folder does not exist"},
        BadInput{{"ExportLongPath"}, {L"export", kLongFolder + L"\\list.txt"}, ecFailed,
                 L"cannot write " + kLongFolder + L"\\list.txt: the folder does not exist"},

        BadInput{{"RemoveEntryWithoutName"}, {L"remove-entry", L"--yes"}, ecUsage,
                 L"remove-entry needs the name of an installed program"},
        BadInput{{"RemoveEntryBlankName"}, {L"remove-entry", L"  "}, ecUsage,
                 L"remove-entry needs the name of an installed program"},
        BadInput{{"RemoveEntryTwoNames"}, {L"remove-entry", L"Foo", L"Helper"}, ecUsage,
                 L"remove-entry takes one name, got another: Helper"},
        BadInput{{"RemoveEntryUnknownOption"}, {L"remove-entry", L"Foo", L"--force"}, ecUsage,
                 L"unknown option for remove-entry: --force"},
        BadInput{{"RemoveEntryNoMatch"}, {L"remove-entry", kFormatText, L"--yes"}, ecFailed,
                 L"no installed program matches: " + kFormatText},
        BadInput{{"RemoveEntrySeveralMatch"}, {L"remove-entry", L"Fo", L"--yes"}, ecFailed,
                 L"2 installed programs match \"Fo\"; give the whole name of one:\n  Foo\n  Foo Helper\n"},
        BadInput{{"RemoveEntrySeveralNonLatin"}, {L"remove-entry", kEditor, L"--yes"}, ecFailed,
                 L"2 installed programs match \"" + kEditor + L"\""},

        BadInput{{"ScanWithoutName"}, {L"scan"}, ecUsage, L"scan needs the name of an installed program, or --folder PATH"},
        BadInput{{"ScanTwoNames"}, {L"scan", L"Foo", L"Helper"}, ecUsage, L"scan takes one name, got another: Helper"},
        BadInput{{"ScanUnknownOption"}, {L"scan", L"Foo", L"--xml"}, ecUsage, L"unknown option for scan: --xml"},
        BadInput{{"ScanFolderWithoutPath"}, {L"scan", L"--folder"}, ecUsage, L"scan --folder needs a path"},
        BadInput{{"ScanRelativeFolder"}, {L"scan", L"--folder", L"Foo"}, ecUsage, L"scan --folder needs a full path"},
        BadInput{{"ScanNameAndFolder"}, {L"scan", L"Foo", L"--folder", kPrograms + L"Foo"}, ecUsage,
                 L"scan takes a program's name or --folder PATH, not both"},
        BadInput{{"ScanNoMatch"}, {L"scan", kFormatText}, ecFailed, L"no installed program matches: " + kFormatText},
        BadInput{{"ScanPartOfSeveralNames"}, {L"scan", L"Fo"}, ecFailed,
                 L"no installed program is named \"Fo\"; give the whole name of one of these:\n  Foo\n  Foo Helper\n"},
        BadInput{{"ScanPartOfNonLatinNames"}, {L"scan", kEditor}, ecFailed,
                 L"no installed program is named \"" + kEditor + L"\""},
        BadInput{{"ScanMissingFolder"}, {L"scan", L"--folder", L"C:\\Tools\\" + kFormatText}, ecFailed,
                 L"cannot scan C:\\Tools\\" + kFormatText + L": no such file or folder"},
        BadInput{{"ScanNonLatinFolder"}, {L"scan", L"--folder", kCyrillicPath}, ecFailed,
                 L"cannot scan " + kCyrillicPath + L": no such file or folder"},
        BadInput{{"ScanLongFolder"}, {L"scan", L"--folder", kLongFolder}, ecFailed,
                 L"cannot scan " + kLongFolder + L": no such file or folder"},

        BadInput{{"ShredWithoutPath"}, {L"shred", L"--yes"}, ecUsage, L"shred needs at least one file or folder"},
        BadInput{{"ShredUnknownOption"}, {L"shred", kNotes, L"--now"}, ecUsage, L"unknown option for shred: --now"},
        BadInput{{"ShredMissingFile"}, {L"shred", L"C:\\Users\\Ann\\" + kFormatText + L".txt", L"--yes"}, ecFailed,
                 L"no such file or folder: C:\\Users\\Ann\\" + kFormatText + L".txt"},
        BadInput{{"ShredOneOfTwoMissing"}, {L"shred", kNotes, L"C:\\Users\\Ann\\gone.txt", L"--yes"}, ecFailed,
                 L"no such file or folder: C:\\Users\\Ann\\gone.txt"},
        BadInput{{"ShredNonLatinPath"}, {L"shred", kCyrillicPath, L"--yes"}, ecFailed,
                 L"no such file or folder: " + kCyrillicPath},
        BadInput{{"ShredLongPath"}, {L"shred", kLongFolder + L"\\x.txt", L"--yes"}, ecFailed,
                 L"no such file or folder: " + kLongFolder},

        BadInput{{"LogsUnknownAction"}, {L"logs", L"purge"}, ecUsage, L"unknown logs action: purge"},
        BadInput{{"LogsUnknownOption"}, {L"logs", L"--all"}, ecUsage, L"unknown option for logs: --all"},
        BadInput{{"LogsShowWithoutDate"}, {L"logs", L"show"}, ecUsage, L"logs show needs a date"},
        BadInput{{"LogsShowImpossibleDate"}, {L"logs", L"show", L"2013-13-45"}, ecUsage,
                 L"not a date in the form yyyy-mm-dd: 2013-13-45"},
        BadInput{{"LogsShowShortDate"}, {L"logs", L"show", L"2013-5-31"}, ecUsage,
                 L"not a date in the form yyyy-mm-dd: 2013-5-31"},
        BadInput{{"LogsShowFormatText"}, {L"logs", L"show", kFormatText}, ecUsage,
                 L"not a date in the form yyyy-mm-dd: " + kFormatText},
        BadInput{{"LogsDeleteMissingLog"}, {L"logs", L"delete", L"2013-05-30", L"--yes"}, ecFailed,
                 L"no uninstall log for 2013-05-30"},
        BadInput{{"LogsListWithMore"}, {L"logs", L"list", L"extra"}, ecUsage, L"too many words for logs list: extra"},
        BadInput{{"LogsDeleteAllWithMore"}, {L"logs", L"delete-all", L"2013-05-31", L"--yes"}, ecUsage,
                 L"too many words for logs delete-all: 2013-05-31"},

        BadInput{{"UninstallWithoutName"}, {L"uninstall", L"--yes"}, ecUsage,
                 L"uninstall needs the name of an installed program"},
        BadInput{{"UninstallEmptyName"}, {L"uninstall", L"", L"--yes"}, ecUsage,
                 L"uninstall takes program names, got an empty one"},
        BadInput{{"UninstallUnknownOption"}, {L"uninstall", L"Foo", L"--force"}, ecUsage,
                 L"unknown option for uninstall: --force"},
        BadInput{{"UninstallDeleteWithoutValue"}, {L"uninstall", L"Foo", L"--scan", L"--delete"}, ecUsage,
                 L"uninstall --delete needs all or none"},
        BadInput{{"UninstallDeleteSome"}, {L"uninstall", L"Foo", L"--scan", L"--delete", kFormatText}, ecUsage,
                 L"uninstall --delete takes all or none, got: " + kFormatText},
        BadInput{{"UninstallDeleteWithoutScan"}, {L"uninstall", L"Foo", L"--delete", L"all"}, ecUsage,
                 L"uninstall --delete needs --scan"},
        BadInput{{"UninstallShredWithoutDelete"}, {L"uninstall", L"Foo", L"--shred"}, ecUsage,
                 L"uninstall --shred needs --delete all"},
        BadInput{{"UninstallSharedFolderOkWithoutDelete"}, {L"uninstall", L"Foo", L"--scan", L"--shared-folder-ok"},
                 ecUsage, L"uninstall --shared-folder-ok needs --delete all"},
        BadInput{{"UninstallNoMatch"}, {L"uninstall", kFormatText, L"--yes"}, ecFailed,
                 L"no installed program matches: " + kFormatText},
        BadInput{{"UninstallPartOfSeveralNames"}, {L"uninstall", L"Fo", L"--yes"}, ecFailed,
                 L"no installed program is named \"Fo\""},
        BadInput{{"UninstallOneOfTwoMissing"}, {L"uninstall", L"Foo", L"Bar", L"--scan", L"--delete", L"all", L"--yes"},
                 ecFailed, L"no installed program matches: Bar"},
        BadInput{{"UninstallPartOfNonLatinNames"}, {L"uninstall", kEditor, L"--yes"}, ecFailed,
                 L"no installed program is named \"" + kEditor + L"\""},

        BadInput{{"ForcedWithoutPath"}, {L"forced", L"--yes"}, ecUsage, L"forced needs a file, folder or shortcut"},
        BadInput{{"ForcedRelativePath"}, {L"forced", L"app.exe"}, ecUsage, L"forced needs a full path (C:\\...), got: app.exe"},
        BadInput{{"ForcedTwoPaths"}, {L"forced", kPrograms + L"Foo", kNotes}, ecUsage,
                 L"forced takes one path, got another: " + kNotes},
        BadInput{{"ForcedDeleteWithoutValue"}, {L"forced", kNotes, L"--delete"}, ecUsage, L"--delete takes the word all"},
        BadInput{{"ForcedDeleteNone"}, {L"forced", kNotes, L"--delete", L"none"}, ecUsage, L"--delete takes the word all"},
        BadInput{{"ForcedUnknownOption"}, {L"forced", kNotes, L"--scan"}, ecUsage, L"unknown option for forced: --scan"},
        BadInput{{"ForcedSharedFolderOkWithoutDelete"}, {L"forced", kNotes, L"--shared-folder-ok"}, ecUsage,
                 L"forced --shared-folder-ok needs --delete all"},
        BadInput{{"ForcedMissingFile"}, {L"forced", L"C:\\Tools\\" + kFormatText + L".exe", L"--yes"}, ecFailed,
                 L"C:\\Tools\\" + kFormatText + L".exe (no such file or folder)"},
        BadInput{{"ForcedNonLatinPath"}, {L"forced", kCyrillicPath, L"--yes"}, ecFailed,
                 kCyrillicPath + L" (no such file or folder)"},
        BadInput{{"ForcedLongPath"}, {L"forced", kLongFolder + L"\\x.exe", L"--yes"}, ecFailed,
                 kLongFolder + L"\\x.exe (no such file or folder)"},
        BadInput{{"ForcedDriveRoot"}, {L"forced", L"C:\\", L"--delete", L"all", L"--yes"}, ecFailed, L"Invalid path"},
        BadInput{{"ForcedWindowsFolder"}, {L"forced", L"C:\\Windows", L"--delete", L"all", L"--yes"}, ecFailed,
                 L"Invalid path"}),
    CaseName());

}  // namespace
}  // namespace orvix::testing
