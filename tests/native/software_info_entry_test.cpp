// Which Uninstall keys are programs, and what their entries say.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "inventory/uninstall_entry.h"
#include "named_case.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kStored = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* kKeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct KeyCase : NamedCase {
  const wchar_t* keyName;
  const wchar_t* displayName;  // nullptr: no such value
  const wchar_t* uninstall;
  const wchar_t* publisher;
  int systemComponent;            // -1: no such value
  const wchar_t* listedCommand;   // nullptr: not a listed program
  bool isUpdate = false;
  bool isToolbar = false;
};

class UninstallKeyTest : public SimMachineX86Test, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(UninstallKeyTest, DecidesWhetherTheKeyIsAProgram) {
  const KeyCase& row = GetParam();
  const std::wstring stored = std::wstring(kStored) + row.keyName;
  Registry().PutKey(stored);
  if (row.displayName) Registry().PutString(stored, L"DisplayName", row.displayName);
  if (row.uninstall) Registry().PutString(stored, L"UninstallString", row.uninstall);
  if (row.publisher) Registry().PutString(stored, L"Publisher", row.publisher);
  if (row.systemComponent >= 0)
    Registry().PutDword(stored, L"SystemComponent", static_cast<DWORD>(row.systemComponent));

  const std::optional<TSoftInfo> entry =
      ReadUninstallEntry(L"HKEY_LOCAL_MACHINE", std::wstring(kKeyPath) + row.keyName, false);
  ASSERT_EQ(entry.has_value(), row.listedCommand != nullptr);
  if (!entry) return;
  EXPECT_EQ(Narrow(entry->UninstallString), Narrow(row.listedCommand));
  EXPECT_EQ(entry->IsUpdate, row.isUpdate);
  EXPECT_EQ(entry->IsToolbar, row.isToolbar);
  EXPECT_EQ(entry->IsSystemComponent, row.systemComponent == 1);
}

constexpr const wchar_t* kCode = L"{1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}";
constexpr const wchar_t* kMs = L"Microsoft Corporation";

INSTANTIATE_TEST_SUITE_P(
    Keys, UninstallKeyTest,
    ::testing::Values(
        KeyCase{{"Ordinary"}, L"Foo", L"Foo", L"C:\\Foo\\unins.exe", L"Foo Ltd", -1, L"C:\\Foo\\unins.exe"},
        KeyCase{{"NoName"}, L"Foo", nullptr, L"C:\\Foo\\unins.exe", nullptr, -1, nullptr},
        KeyCase{{"BlankName"}, L"Foo", L"   ", L"C:\\Foo\\unins.exe", nullptr, -1, nullptr},
        KeyCase{{"NoCommand"}, L"Foo", L"Foo", nullptr, nullptr, -1, nullptr},
        KeyCase{{"OwnBrowserProtection"}, L"Guard", L" orvix browser PROTECTION ", L"C:\\Orvix\\g.exe", nullptr, -1,
                nullptr},
        KeyCase{{"InstallSwitchBecomesRemove"}, L"Msi", L"Msi", L"msiexec.exe /i{ABC} MSIEXEC.EXE /Iq", nullptr, -1,
                L"MsiExec.exe /X{ABC} MsiExec.exe /Xq"},
        KeyCase{{"ProductCodeWithoutCommand"}, kCode, L"Code", nullptr, nullptr, 0,
                L"MsiExec.exe /X {1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}"},
        KeyCase{{"ProductCodeWithoutComponentValue"}, kCode, L"Code", nullptr, nullptr, -1,
                L"MsiExec.exe /X {1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}"},
        KeyCase{{"ProductCodeOfASystemComponent"}, kCode, L"Code", nullptr, nullptr, 1, nullptr},
        KeyCase{{"ComponentWithItsOwnCommandStays"}, L"Comp", L"Comp", L"C:\\c.exe", nullptr, 1, L"C:\\c.exe"},
        KeyCase{{"Regsvr32ByMicrosoft"}, L"Ctl", L"Ctl", L"regsvr32 /u x.ocx", kMs, -1, nullptr},
        KeyCase{{"Regsvr32CapitalisedByMicrosoft"}, L"Ctl", L"Ctl", L"Regsvr32 /u x.ocx", kMs, -1,
                L"Regsvr32 /u x.ocx"},
        KeyCase{{"Regsvr32ByAnother"}, L"Ctl", L"Ctl", L"regsvr32 /u x.ocx", L"Foo Ltd", -1, L"regsvr32 /u x.ocx"},
        KeyCase{{"Hotfix"}, L"KB1", L"Update for Windows (KB123456)", L"C:\\u.exe", kMs, -1, L"C:\\u.exe", true},
        KeyCase{{"HotfixOfAnyPublisher"}, L"KB2", L"Foo (kb99)", L"C:\\u.exe", nullptr, -1, L"C:\\u.exe", true},
        KeyCase{{"ServicePackByMicrosoft"}, L"SP", L"Office Service Pack 2", L"C:\\u.exe", L"MICROSOFT", -1,
                L"C:\\u.exe", true},
        KeyCase{{"ServicePackByAnother"}, L"SP", L"Tools Service Pack 2", L"C:\\u.exe", L"Foo Ltd", -1, L"C:\\u.exe"},
        KeyCase{{"Toolbar"}, L"TB", L"Foo Toolbar", L"C:\\t.exe", nullptr, -1, L"C:\\t.exe", false, true},
        KeyCase{{"ToolDashBar"}, L"TB", L"Search Tool-bar", L"C:\\t.exe", nullptr, -1, L"C:\\t.exe", false, true},
        KeyCase{{"ToolSpaceBar"}, L"TB", L"Shopping Tool Bar 2.1", L"C:\\t.exe", nullptr, -1, L"C:\\t.exe", false,
                true},
        KeyCase{{"OwnToolbarUninstaller"}, L"TB", L"Search Helper", L"\"C:\\Orvix\\v9orvix.exe\" /u", nullptr, -1,
                L"\"C:\\Orvix\\v9orvix.exe\" /u", false, true},
        KeyCase{{"ToolboxIsNoToolbar"}, L"TB", L"Foo Toolbox", L"C:\\t.exe", nullptr, -1, L"C:\\t.exe"}),
    CaseName());

class UninstallEntryTest : public SimMachineTest {
 protected:
  std::wstring Put(const std::wstring& keyName) {
    const std::wstring stored =
        L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + keyName;
    Registry().PutString(stored, L"DisplayName", L"  Foo Editor\t");
    Registry().PutString(stored, L"UninstallString", L"\"C:\\Program Files (x86)\\Foo\\unins.exe\"");
    return stored;
  }
  std::optional<TSoftInfo> Read(const std::wstring& keyName, bool view64 = false) {
    return ReadUninstallEntry(L"HKEY_LOCAL_MACHINE", std::wstring(kKeyPath) + keyName, view64);
  }
};

TEST_F(UninstallEntryTest, MissingTextsGetPlaceholders) {
  Put(L"Bare");
  const std::optional<TSoftInfo> entry = Read(L"Bare");
  ASSERT_TRUE(entry);
  EXPECT_EQ(Narrow(entry->DisplayName), "Foo Editor");
  EXPECT_EQ(Narrow(entry->HelpLink), "-");
  EXPECT_EQ(Narrow(entry->Publisher), " ");
  EXPECT_EQ(Narrow(entry->DisplayVersion), "-");
  EXPECT_EQ(entry->Size, 0);
  EXPECT_EQ(Narrow(entry->SizeText), "");
  EXPECT_EQ(entry->InstallDate, 0);
  EXPECT_EQ(Narrow(entry->InstallDateText), "");
  EXPECT_EQ(Narrow(entry->InstallLocation), "");
  EXPECT_EQ(Narrow(entry->RootName), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Narrow(entry->KeyPath), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bare");
  EXPECT_FALSE(entry->IsX64);
  EXPECT_FALSE(entry->Hidden);
  EXPECT_EQ(entry->LastAccessDate, NowLocal());
  EXPECT_FALSE(Read(L"Bare", true)) << "the key lives in the 32-bit view only";
}

TEST_F(UninstallEntryTest, ReadsTheKeysTexts) {
  const std::wstring key = Put(L"Full");
  Machine().locale.shortDateFormat = L"dd.MM.yyyy";
  Registry().PutString(key, L"HelpLink", L" https://foo.example/help ");
  Registry().PutString(key, L"Publisher", L" Foo Ltd ");
  Registry().PutString(key, L"DisplayVersion", L" 2.1 ");
  Registry().PutString(key, L"URLInfoAbout", L" https://foo.example ");
  Registry().PutString(key, L"URLUpdateInfo", L"https://foo.example/update");
  Registry().PutString(key, L"DisplayIcon", L"C:\\Program Files (x86)\\Foo\\foo.exe,1");
  Registry().PutString(key, L"Readme", L"C:\\Program Files (x86)\\Foo\\readme.txt");
  Registry().PutString(key, L"InstallDate", L"20231231");
  Registry().PutDword(key, L"EstimatedSize", 2048);
  Registry().PutDword(key, L"SystemComponent", 1);

  const std::optional<TSoftInfo> entry = Read(L"Full");
  ASSERT_TRUE(entry);
  EXPECT_EQ(Narrow(entry->HelpLink), "https://foo.example/help");
  EXPECT_EQ(Narrow(entry->Publisher), "Foo Ltd");
  EXPECT_EQ(Narrow(entry->DisplayVersion), "2.1");
  EXPECT_EQ(Narrow(entry->URLInfoAbout), " https://foo.example ") << "kept as read";
  EXPECT_EQ(Narrow(entry->URLUpdateInfo), "https://foo.example/update");
  EXPECT_EQ(Narrow(entry->DisplayIcon), "C:\\Program Files (x86)\\Foo\\foo.exe,1");
  EXPECT_EQ(entry->IconIndex, 0);
  EXPECT_EQ(Narrow(entry->Readme), "C:\\Program Files (x86)\\Foo\\readme.txt");
  EXPECT_EQ(entry->InstallDate, *EncodeDate(2023, 12, 31));
  EXPECT_EQ(Narrow(entry->InstallDateText), "31.12.2023");
  EXPECT_EQ(entry->Size, 2097152);
  EXPECT_EQ(Narrow(entry->SizeText), "2.00 MB");
  EXPECT_TRUE(entry->IsSystemComponent);
}

TEST_F(UninstallEntryTest, SizeAndDateThatMeanNothingLeaveTheTextsEmpty) {
  const std::wstring key = Put(L"Odd");
  Registry().PutDword(key, L"EstimatedSize", 0xFFFFFFFFu);
  Registry().PutString(key, L"InstallDate", L"12/31/2023");
  const std::optional<TSoftInfo> entry = Read(L"Odd");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Size, -1024) << "sign-extended, so that the analysis measures it";
  EXPECT_EQ(Narrow(entry->SizeText), "");
  EXPECT_EQ(entry->InstallDate, 0);
  EXPECT_EQ(Narrow(entry->InstallDateText), "");
}

TEST_F(UninstallEntryTest, InstallLocationIsCleanedUnlessItIsAFolder) {
  Machine().files.PutFolder(L"C:\\Program Files (x86)\\Foo");
  struct {
    const wchar_t* written;
    const char* read;
  } const rows[] = {
      {L"C:\\Program Files (x86)\\Foo\\", "C:\\Program Files (x86)\\Foo\\"},
      {L"c:\\program files (x86)\\foo", "c:\\program files (x86)\\foo"},
      {L"\"C:\\Program Files (x86)\\Foo\"", "C:\\Program Files (x86)\\Foo"},
      {L"C:\\Program Files (x86)\\Gone", ""},
  };
  for (const auto& row : rows) {
    Registry().PutString(Put(L"Loc"), L"InstallLocation", row.written);
    const std::optional<TSoftInfo> entry = Read(L"Loc");
    ASSERT_TRUE(entry);
    EXPECT_EQ(Narrow(entry->InstallLocation), row.read) << Narrow(row.written);
  }
}

}  // namespace
}  // namespace orvix::testing
