// The deletion guard: whatever a caller asks to delete, protected and user
// folders, paths through links, hive tops and keys many programs share stay;
// and the review keeps them, logging why, even when they are checked.
#include "uninstall/deletion_guard.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "log_fixture.h"
#include "named_case.h"
#include "power_scan_prompts.h"
#include "scripted_pump.h"
#include "platform/sim/sim_faults.h"
#include "uninstall/power_scan_model.h"

namespace orvix::testing {
namespace {

struct KeyCase : NamedCase {
  HKEY root;
  const wchar_t* path;
  bool refused;
};

class GuardKeyTest : public SimMachineTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(GuardKeyTest, RefuseKey) {
  const TDeletionGuard guard;
  EXPECT_EQ(!guard.RefuseKey(GetParam().root, GetParam().path).empty(), GetParam().refused);
}

constexpr HKEY HKLM = HKEY_LOCAL_MACHINE;
constexpr HKEY HKCU = HKEY_CURRENT_USER;
constexpr HKEY HKCR = HKEY_CLASSES_ROOT;
constexpr HKEY HKU = HKEY_USERS;
const wchar_t* const kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

INSTANTIATE_TEST_SUITE_P(
    Keys, GuardKeyTest,
    ::testing::Values(
        KeyCase{{"Hive"}, HKLM, L"", true}, KeyCase{{"HiveWithBackslash"}, HKCU, L"\\", true},
        KeyCase{{"Software"}, HKLM, L"\\SOFTWARE", true}, KeyCase{{"System"}, HKLM, L"SYSTEM", true},
        KeyCase{{"ClassesRoot"}, HKCR, L"", true}, KeyCase{{"UserClasses"}, HKCU, L"Software\\Classes", true},
        KeyCase{{"Wow6432Node"}, HKLM, L"SOFTWARE\\Wow6432Node", true},
        KeyCase{{"UninstallKey"}, HKLM, kUninstall, true},
        KeyCase{{"UninstallKey32"}, HKLM, L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
        KeyCase{{"AboveUninstall"}, HKCU, L"Software\\Microsoft\\Windows", true},
        KeyCase{{"Microsoft"}, HKLM, L"SOFTWARE\\Microsoft", true},
        KeyCase{{"OtherUsersUninstall"}, HKU, L"S-1-5-21-1-2-3-1001\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
        KeyCase{{"OtherUsersHive"}, HKU, L"S-1-5-21-1-2-3-1001", true},
        KeyCase{{"RunKey"}, HKCU, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        KeyCase{{"ClsidRoot"}, HKCR, L"CLSID", true},
        KeyCase{{"ClsidRoot32"}, HKCR, L"Wow6432Node\\CLSID", true},
        KeyCase{{"UsersClassesClsid"}, HKU, L"S-1-5-21-1-2-3-1001_Classes\\CLSID", true},
        KeyCase{{"Services"}, HKLM, L"SYSTEM\\CurrentControlSet\\Services", true},
        KeyCase{{"ControlSet"}, HKLM, L"SYSTEM\\CurrentControlSet", true},
        KeyCase{{"DeviceEnumerator"}, HKLM, L"SYSTEM\\CurrentControlSet\\Enum\\Root", true},
        KeyCase{{"DeviceEnumeratorOfAControlSet"}, HKLM, L"SYSTEM\\ControlSet001\\Enum\\PCI", true},
        KeyCase{{"ProgramsLegacyDevice"}, HKLM, L"SYSTEM\\CurrentControlSet\\Enum\\Root\\LEGACY_FOOSERVICE", false},
        KeyCase{{"SharedClassHttp"}, HKCR, L"http", true}, KeyCase{{"SharedClassVerbs"}, HKCR, L"txtfile\\shell", true},
        KeyCase{{"SharedExtension"}, HKLM, L"SOFTWARE\\Classes\\.txt", true},
        // What a program owns may go.
        KeyCase{{"ProgramsEntry"}, HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", false},
        KeyCase{{"VendorKey"}, HKCU, L"Software\\FooSoft", false},
        KeyCase{{"ProgramsClsid"}, HKCR, L"CLSID\\{6A1F0C2E-9D7B-4E55-8B1A-3C2D4E5F6071}", false},
        KeyCase{{"ProgramsVerbOnSharedClass"}, HKCR, L"http\\shell\\FooBrowser", false},
        KeyCase{{"ProgramsService"}, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\FooService", false},
        KeyCase{{"ProgramsClass"}, HKCR, L"Foo.Document", false}),
    CaseName());

TEST(GuardedKeyFormTest, NamesOneKeyHoweverItIsReached) {
  const std::wstring clsid = L"software\\classes\\clsid\\{x}";
  EXPECT_EQ(GuardedKeyForm(HKEY_CLASSES_ROOT, L"CLSID\\{X}"), clsid);
  EXPECT_EQ(GuardedKeyForm(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{X}\\"), clsid);
  EXPECT_EQ(GuardedKeyForm(HKEY_USERS, L"S-1-5-18_Classes\\CLSID\\{X}"), clsid);
  EXPECT_EQ(GuardedKeyForm(HKEY_USERS, L"S-1-5-18"), L"");
  EXPECT_EQ(GuardedKeyForm(static_cast<HKEY>(0x1234), L"Software\\Foo"), L"");
}

class GuardFileTest : public SimMachineTest {
 protected:
  sim::SimFileSystem& Files() { return Machine().files; }
  std::wstring Folder(int csidl) { return Machine().shell.GetSpecialFolder(csidl); }
};

TEST_F(GuardFileTest, RefusesUserAndSystemFoldersAndWhatLiesBehindALink) {
  Files().PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  Files().PutFile(L"C:\\Users\\Ann\\Downloads\\setup.exe", "MZ");
  Files().MakeJunction(L"C:\\Program Files\\Foo\\docs", L"C:\\Users\\Ann\\Documents");
  Files().MakeJunction(L"C:\\Program Files\\Foo\\cache", L"C:\\Cache");
  Files().PutFile(L"C:\\Users\\Ann\\Documents\\letter.doc", "mine");
  Files().PutFile(L"C:\\Cache\\index.dat", "shared");
  const TDeletionGuard guard;
  for (const wchar_t* refused :
       {L"C:\\", L"C:\\Windows", L"C:\\Program Files", L"C:\\Program Files (x86)\\Common Files",
        L"C:\\Users\\Ann\\Downloads", L"C:\\Users\\Ann\\Downloads\\", L"C:\\Users\\Ann", L"C:\\Users\\Public\\Downloads",
        L"C:\\Users\\Ann\\AppData\\LocalLow", L"C:\\Users\\Ann\\Saved Games", L"C:\\Users\\Ann\\AppData\\Local\\Programs",
        L"C:\\Documents and Settings\\Ann\\My Documents", L"C:\\Program Files\\Foo\\docs\\letter.doc",
        L"C:\\Program Files\\Foo\\cache\\index.dat", L"C:\\Program Files\\Foo\\docs", L"relative\\foo.exe",
        L"C:\\Program Files\\Foo\\..\\..\\Users\\Ann\\Downloads"}) {
    EXPECT_FALSE(guard.RefuseFile(refused).empty()) << refused;
  }
  for (const wchar_t* allowed :
       {L"C:\\Program Files\\Foo\\foo.exe", L"C:\\Program Files\\Foo", L"C:\\Users\\Ann\\Downloads\\setup.exe",
        L"C:\\Program Files\\Foo\\cache", L"C:\\Users\\Ann\\AppData\\Roaming\\FooSoft"}) {
    EXPECT_EQ(guard.RefuseFile(allowed), L"") << allowed;
  }
}

TEST_F(GuardFileTest, AUserFolderThatIsItselfALinkStillHoldsWhatMayGo) {
  // As in a Wine prefix, whose Desktop links to the host's.
  const std::wstring desktop = Folder(CSIDL_DESKTOPDIRECTORY);
  Files().Remove(desktop);
  Files().MakeJunction(desktop, L"D:\\Host\\Desktop");
  Files().AddDrive(L'D', DRIVE_FIXED, 1ull << 30, 1ull << 29);
  Files().PutFile(L"D:\\Host\\Desktop\\Foo.lnk", "link");
  Files().MakeJunction(L"C:\\Program Files\\Foo\\desk", desktop);
  const TDeletionGuard guard;
  EXPECT_EQ(guard.RefuseFile(desktop + L"\\Foo.lnk"), L"");
  EXPECT_FALSE(guard.RefuseFile(desktop).empty());
  EXPECT_FALSE(guard.RefuseFile(L"C:\\Program Files\\Foo\\desk\\Foo.lnk").empty());
}

TEST_F(GuardFileTest, AFolderOnTheWayThatCannotBeCheckedMayBeALink) {
  Files().PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  const TDeletionGuard guard;
  sim::FaultyPlatform faulty(Machine());
  ScopedPlatform scope(faulty);
  faulty.faults.Add({.call = sim::SimCall::GetAttributes, .path = L"C:\\Program Files\\Foo"});

  EXPECT_FALSE(guard.RefuseFile(L"C:\\Program Files\\Foo\\foo.exe").empty());
  EXPECT_EQ(guard.RefuseFile(L"C:\\Program Files\\Bar\\bar.exe"), L"") << "a folder that is not there is no link";
}

TEST_F(GuardFileTest, EveryUsersFoldersAreProtectedWhereTheProfileListPutsThem) {
  Machine().ImportReg(
      L"Windows Registry Editor Version 5.00\n\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1001]\n"
      L"\"ProfileImagePath\"=\"C:\\\\Users\\\\Bob\"\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1002]\n"
      L"\"ProfileImagePath\"=\"D:\\\\Profiles\\\\Cleo\"\n");
  Files().AddDrive(L'D', DRIVE_FIXED, 1ull << 30, 1ull << 29);
  const TDeletionGuard guard;
  for (const wchar_t* refused : {L"C:\\Users\\Bob", L"C:\\Users\\Bob\\Downloads", L"C:\\Users\\Bob\\AppData",
                                 L"D:\\Profiles\\Cleo\\Documents", L"D:\\Profiles\\Cleo\\AppData\\Roaming", L"D:\\Profiles"}) {
    EXPECT_FALSE(guard.RefuseFile(refused).empty()) << refused;
  }
  EXPECT_EQ(guard.RefuseFile(L"C:\\Users\\Bob\\AppData\\Roaming\\FooSoft"), L"");
}

class GuardReviewTest : public LogTest {
 protected:
  FakePowerScanPrompts prompts;
  TLeftoverTree tree;
  ScriptedPump pump;
};

TEST_F(GuardReviewTest, CheckedFindingsThatAreNotTheProgramsStayAndTheLogSaysWhy) {
  const std::wstring downloads = L"C:\\Users\\Ann\\Downloads";
  Machine().files.PutFile(downloads + L"\\holiday.jpg", "mine");
  Machine().files.PutFile(downloads + L"\\FooSetup.exe", "MZ");
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  Machine().registry.PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other",
                               L"DisplayName", L"Other");
  Machine().registry.PutString(L"HKCU\\Software\\FooSoft", L"Path", L"C:\\Program Files\\Foo");
  AddProgramBranch(tree, Entry(L"Foo"),
                   {{HKEY_LOCAL_MACHINE, kUninstall, L"", L"", true}, {HKEY_CURRENT_USER, L"Software\\FooSoft", L"", L"", false}},
                   {{L"C:\\Program Files\\Foo\\foo.exe", 0, sfkFile, 0}, {downloads + L"\\FooSetup.exe", 0, sfkFile, 0},
                    {downloads, 0, sfkFolder, 0}},
                   nullptr);
  TPowerScanModel model(tree, prompts);
  model.ClickSelectAll();
  const TPowerScanRun run = model.Delete(pump);

  EXPECT_EQ(run.refused, 2);  // the Uninstall key and the Downloads folder
  EXPECT_TRUE(Machine().registry.HasKey(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other"));
  EXPECT_FALSE(Machine().registry.HasKey(L"HKCU\\Software\\FooSoft"));
  EXPECT_TRUE(Machine().files.IsFolder(downloads));
  EXPECT_EQ(Machine().files.ListNames(downloads), std::vector<std::wstring>{L"holiday.jpg"});
  EXPECT_TRUE(Machine().files.PendingDeletes().empty());
  const std::vector<std::wstring> lines = LogLines(TodaysLog());
  const auto refusedLine = [&](const std::wstring& item) {
    for (const std::wstring& line : lines) {
      if (line.starts_with(L"Refused to delete " + item + L" (")) return true;
    }
    return false;
  };
  EXPECT_TRUE(refusedLine(L"HKEY_LOCAL_MACHINE\\" + std::wstring(kUninstall)));
  EXPECT_TRUE(refusedLine(downloads));
}

}  // namespace
}  // namespace orvix::testing
