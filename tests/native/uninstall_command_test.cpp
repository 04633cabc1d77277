// orvix uninstall over the simulated machine: the uninstaller runs and is
// waited for, --scan and --delete all remove what it left, a program that
// cannot be uninstalled or found fails clearly, and the answers decide.
#include <gtest/gtest.h>

#include <deque>

#include "app/orvix_commands.h"
#include "app/uninstall_command.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall_entries.h"
#include "uninstall/quiet_command.h"
#include "uninstall/uninstall_log.h"

namespace orvix::testing {
namespace {

class UninstallCommandTest : public SimMachineX86Test {
 protected:
  void SetUp() override {
    Machine().ImportReg(kUninstallEntries);
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\uninst.exe", "MZ");
    // Foo's uninstaller hands over to a copy that removes its files and entry later.
    Machine().processes.RegisterExecutable(L"C:\\Program Files\\Foo\\uninst.exe", [](sim::SimProcessContext& self) {
      self.Start(L"C:\\Users\\Ann\\AppData\\Local\\Temp\\~nsu.tmp\\Un.exe");
    });
    Machine().processes.RegisterExecutable(
        L"C:\\Users\\Ann\\AppData\\Local\\Temp\\~nsu.tmp\\Un.exe", [](sim::SimProcessContext& self) {
          self.After(3000, [](sim::SimProcessContext&) {
            IFileSystem& files = CurrentPlatform().Files();
            files.DeleteFile(L"C:\\Program Files\\Foo\\uninst.exe");
            files.RemoveDirectory(L"C:\\Program Files\\Foo");
            RegDeleteKeyAt(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", false);
          });
        });
  }

  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"uninstall");
    return RunUninstallCommand(args, out, err, [this]() -> std::optional<std::wstring> {
      if (answers.empty()) return std::nullopt;
      std::wstring line = answers.front();
      answers.pop_front();
      return line;
    });
  }

  bool FooEntryExists() {
    return RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo",
                          false);
  }
  // Foo Plugin lives in Foo's folder: deleting Foo's leftovers would take it.
  void AddFooPlugin() {
    const std::wstring plugin = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FooPlugin";
    Registry().PutString(plugin, L"DisplayName", L"Foo Plugin");
    Registry().PutString(plugin, L"UninstallString", L"C:\\Program Files\\Foo\\Plugin\\uninst.exe");
    Registry().PutString(plugin, L"InstallLocation", L"C:\\Program Files\\Foo\\Plugin");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\Plugin\\plugin.dll", "MZ");
  }
  bool ClsidExists() { return RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", kFooClsidKey, false); }
  std::wstring Log() {
    TLogLines lines;
    ReadLogLines(UninstallLogPath(NowLocal()), lines);
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\n";
    return text;
  }

  std::deque<std::wstring> answers;
  StringOutput out;
  StringOutput err;
};

TEST_F(UninstallCommandTest, UninstallsScansAndDeletesEverythingFound) {
  EXPECT_EQ(Run({L"foo", L"--scan", L"--delete", L"all", L"--yes"}), ecOk) << Narrow(err.Text());
  EXPECT_FALSE(FooEntryExists()) << "the copy's work was waited for";
  EXPECT_FALSE(DirectoryExists(L"C:\\Program Files\\Foo"));
  EXPECT_FALSE(ClsidExists());
  EXPECT_NE(out.Text().find(L"Uninstalled Foo."), std::wstring::npos) << Narrow(out.Text());
  EXPECT_NE(out.Text().find(L"HKEY_LOCAL_MACHINE"), std::wstring::npos) << "the findings are printed";
  const std::wstring log = Log();
  EXPECT_NE(log.find(L"[Foo]\n"), std::wstring::npos) << Narrow(log);
  EXPECT_NE(log.find(L"Deleted Registry Key HKEY_LOCAL_MACHINE" + std::wstring(kFooClsidKey)), std::wstring::npos)
      << Narrow(log);
}

TEST_F(UninstallCommandTest, ScanWithoutDeleteOnlyPrints) {
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--yes"}), ecOk) << Narrow(err.Text());
  EXPECT_FALSE(FooEntryExists());
  EXPECT_TRUE(ClsidExists());
  EXPECT_NE(out.Text().find(L"InprocServer32"), std::wstring::npos) << Narrow(out.Text());
}

TEST_F(UninstallCommandTest, AFolderSharedWithAnotherProgramIsDeletedOnlyWhenThatIsAcknowledged) {
  AddFooPlugin();
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--delete", L"all", L"--yes"}), ecFailed);
  EXPECT_FALSE(FooEntryExists()) << "the uninstaller ran";
  EXPECT_TRUE(ClsidExists()) << "nothing found was deleted";
  EXPECT_TRUE(Machine().files.Exists(L"C:\\Program Files\\Foo\\Plugin\\plugin.dll"));
  const std::wstring refusal = err.Text();
  EXPECT_NE(refusal.find(L"orvix: more than one installed program uses this program's folder; nothing was deleted."),
            std::wstring::npos)
      << Narrow(refusal);
  // The plugin's folder is its own program's: the scan never offers it, nor
  // the folder that holds it whole.
  for (const wchar_t* shared : {L"\n  c:\\program files\\foo\\  (", L"plugin.dll"}) {
    EXPECT_EQ(refusal.find(shared), std::wstring::npos) << Narrow(refusal);
  }
  EXPECT_TRUE(refusal.ends_with(L"add --shared-folder-ok to delete them all anyway.\n")) << Narrow(refusal);
  EXPECT_EQ(Log().find(L"Deleted"), std::wstring::npos) << Narrow(Log());
}

TEST_F(UninstallCommandTest, AcknowledgingTheSharedFolderDeletesWhatWasFound) {
  AddFooPlugin();
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--delete", L"all", L"--yes", L"--shared-folder-ok"}), ecOk) << Narrow(err.Text());
  EXPECT_FALSE(ClsidExists());
}

TEST_F(UninstallCommandTest, TheAnswersDecide) {
  answers = {L"n"};
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--delete", L"all"}), ecFailed);
  EXPECT_TRUE(FooEntryExists()) << "nothing was run";
  EXPECT_TRUE(Machine().processes.StartedCommandLines().empty());

  answers = {L"y", L"n"};  // uninstall, but keep the leftovers
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--delete", L"all"}), ecFailed);
  EXPECT_FALSE(FooEntryExists());
  EXPECT_TRUE(ClsidExists());
}

TEST_F(UninstallCommandTest, AnUninstallerThatCannotStartFailsAndIsNotScanned) {
  EXPECT_EQ(Run({L"Gone", L"--scan", L"--delete", L"all", L"--yes"}), ecFailed);
  EXPECT_NE(err.Text().find(L"the uninstaller of Gone could not be started"), std::wstring::npos)
      << Narrow(err.Text());
  EXPECT_NE(out.Text().find(L"not scanned"), std::wstring::npos) << Narrow(out.Text());
  EXPECT_NE(Log().find(L"The uninstaller could not be started"), std::wstring::npos);
}

// --quiet runs the recorded quiet command, or the uninstaller with the silent
// switch of its kind; an uninstaller of no known kind is not run at all.
TEST_F(UninstallCommandTest, QuietUsesTheSilentSwitchOfTheUninstallersKindOrRefuses) {
  const std::wstring uninstaller = L"C:\\Program Files\\Foo\\uninst.exe";
  const std::wstring quoted = L"\"" + uninstaller + L"\"";
  const struct {
    const char* kind;
    std::string bytes;
    const wchar_t* quietCommand;  // nullptr: none, refused
    std::wstring ran;
  } cases[] = {
      {"unknown", "MZ plain program", nullptr, L""},
      {"NSIS", std::string("MZ\0\0NullsoftInst\0", 18), nullptr, quoted + L" /S"},
      {"Inno Setup", "MZ Inno Setup Uninstaller", nullptr, quoted + L" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"},
      {"recorded", "MZ plain program", L"\"C:\\Program Files\\Foo\\uninst.exe\" --silent",
       quoted + L" --silent"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    Machine().ImportReg(kUninstallEntries);
    Machine().files.PutFile(uninstaller, c.bytes);
    const std::wstring key = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
    if (c.quietCommand != nullptr) Registry().PutString(key, L"QuietUninstallString", c.quietCommand);
    err = StringOutput();
    const std::size_t startedBefore = Machine().processes.StartedCommandLines().size();

    const int code = Run({L"Foo", L"--quiet", L"--yes"});
    const std::vector<std::wstring> started = Machine().processes.StartedCommandLines();
    if (c.ran.empty()) {
      EXPECT_EQ(code, ecFailed);
      EXPECT_NE(err.Text().find(L"takes no silent switch"), std::wstring::npos) << Narrow(err.Text());
      EXPECT_EQ(started.size(), startedBefore) << "nothing runs";
      EXPECT_TRUE(FooEntryExists());
    } else {
      EXPECT_EQ(code, ecOk) << Narrow(err.Text());
      ASSERT_GT(started.size(), startedBefore);
      EXPECT_EQ(started[startedBefore], c.ran);
    }
  }
}

TEST_F(UninstallCommandTest, AnUninstallerThatLeavesItsProgramInstalledFailsAndIsNotScanned) {
  Machine().processes.RegisterExecutable(L"C:\\Program Files\\Foo\\uninst.exe", [](sim::SimProcessContext&) {});
  EXPECT_EQ(Run({L"Foo", L"--scan", L"--delete", L"all", L"--yes"}), ecFailed);
  EXPECT_NE(err.Text().find(L"the uninstaller ended but Foo is still installed"), std::wstring::npos)
      << Narrow(err.Text());
  EXPECT_NE(out.Text().find(L"not scanned"), std::wstring::npos) << Narrow(out.Text());
  EXPECT_TRUE(FooEntryExists());
  EXPECT_TRUE(FileExists(L"C:\\Program Files\\Foo\\uninst.exe"));
}

TEST_F(UninstallCommandTest, CommandLineAndNameErrors) {
  const struct {
    std::vector<std::wstring> args;
    int code;
    const wchar_t* message;
  } cases[] = {
      {{}, ecUsage, L"uninstall needs the name of an installed program"},
      {{L"Foo", L"--delete", L"all"}, ecUsage, L"--delete needs --scan"},
      {{L"Foo", L"--scan", L"--delete", L"some"}, ecUsage, L"takes all or none"},
      {{L"Foo", L"--shred"}, ecUsage, L"--shred needs --delete all"},
      {{L"Foo", L"--scan", L"--shared-folder-ok"}, ecUsage, L"uninstall --shared-folder-ok needs --delete all"},
      {{L"Foo", L"--now"}, ecUsage, L"unknown option for uninstall: --now"},
      {{L"Nothing", L"--yes"}, ecFailed, L"no installed program matches: Nothing"},
      {{L"Fo", L"--yes"}, ecFailed, L"no installed program is named \"Fo\""},
  };
  for (const auto& c : cases) {
    err = StringOutput();
    EXPECT_EQ(Run(c.args), c.code) << Narrow(c.message);
    EXPECT_NE(err.Text().find(c.message), std::wstring::npos) << Narrow(err.Text());
  }
  EXPECT_TRUE(Machine().processes.StartedCommandLines().empty());
}

// A program is still installed while its Uninstall key is there and so is
// its uninstaller; for a Windows Installer command, while the installer
// still lists the product the key is named after.
TEST_F(SimMachineX86Test, StillInstalledByKeyAndUninstallerOrTheInstallersProductList) {
  const std::wstring uninstall = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const std::wstring code = L"{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}";
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\uninst.exe", "MZ");
  for (const wchar_t* key : {L"Foo", L"{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}", L"Bar"})
    Registry().PutString(L"HKLM" + uninstall + key, L"DisplayName", key);
  const struct {
    const char* name;
    const wchar_t* key;
    const wchar_t* command;
    bool registered;  // the product in the installer's list
    bool installed;
  } cases[] = {
      {"uninstaller there", L"Foo", L"\"C:\\Program Files\\Foo\\uninst.exe\" /x", false, true},
      {"uninstaller gone", L"Foo", L"\"C:\\Program Files\\Foo\\gone.exe\" /x", false, false},
      {"key gone", L"Gone", L"\"C:\\Program Files\\Foo\\uninst.exe\"", false, false},
      {"product listed", code.c_str(), L"MsiExec.exe /X{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}", true, true},
      {"product not listed", code.c_str(), L"MsiExec.exe /X{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}", false, false},
      {"key named otherwise", L"Bar", L"MsiExec.exe /X{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}", false, true},
  };
  const std::wstring product = L"HKLM\\SOFTWARE\\Classes\\Installer\\Products\\25C7E0B34A19F6D4E872C5A1F9406B3D";
  for (const auto& c : cases) {
    if (c.registered) {
      Registry().PutString(product, L"ProductName", L"Viewer");
    } else {
      Registry().RemoveKey(product);
    }
    TSoftInfo entry;
    entry.RootName = L"HKEY_LOCAL_MACHINE";
    entry.KeyPath = uninstall + c.key;
    EXPECT_EQ(IsStillInstalled(entry, c.command), c.installed) << c.name;
  }
}

}  // namespace
}  // namespace orvix::testing
