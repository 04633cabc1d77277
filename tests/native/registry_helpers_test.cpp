// The one-call registry helpers: they pick the view, never raise and leave
// no key open (the fixture checks the last).
#include "platform/registry_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kUninstall = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class RegistryHelpersTest : public SimMachineTest {
 protected:
  // The same entry in both views of a 64-bit machine, and one under the user.
  void SetUp() override {
    Registry().PutString(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"DisplayName",
                         L"Foo x64");
    Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo",
                         L"DisplayName", L"Foo x86");
    Registry().PutString(L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"DisplayName",
                         L"Foo user");
  }
  static std::wstring Foo() { return std::wstring(kUninstall) + L"\\Foo"; }
};

TEST_F(RegistryHelpersTest, ReadStringAtChoosesTheView) {
  EXPECT_EQ(RegReadStringAt(L"HKEY_LOCAL_MACHINE", Foo(), L"DisplayName", false), L"Foo x86");
  EXPECT_EQ(RegReadStringAt(L"HKEY_LOCAL_MACHINE", Foo(), L"DisplayName", true), L"Foo x64");
  EXPECT_EQ(RegReadStringAt(L"hkey_local_machine", Foo(), L"DisplayName", true), L"Foo x64");
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo(), L"DisplayName", false), L"Foo user");
}

TEST_F(RegistryHelpersTest, ReadStringAtAnswersEmptyInsteadOfFailing) {
  Registry().PutDword(L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"Size", 7);
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo(), L"Size", false), L"");  // wrong type
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo(), L"Missing", false), L"");
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo() + L"\\Missing", L"DisplayName", false), L"");
  EXPECT_EQ(RegReadStringAt(L"HKLM", Foo(), L"DisplayName", true), L"");  // unknown root name
  Registry().SetKeyAccess(L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", 0);
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo(), L"DisplayName", false), L"");
}

TEST_F(RegistryHelpersTest, ReadStringAtOpensKeysThatAllowOnlyQueries) {
  Registry().SetKeyAccess(L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", KEY_QUERY_VALUE);
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", Foo(), L"DisplayName", false), L"Foo user");
}

TEST_F(RegistryHelpersTest, ReadIntegerAtSignExtendsAndAnswersZeroOnFailure) {
  Registry().PutDword(L"HKLM\\SOFTWARE\\Foo", L"All", 0xFFFFFFFFu);
  Registry().PutDword(L"HKLM\\SOFTWARE\\Foo", L"Big", 0x7FFFFFFFu);
  Registry().PutString(L"HKLM\\SOFTWARE\\Foo", L"Text", L"12");
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo", L"All", true), -1);
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo", L"Big", true), 0x7FFFFFFF);
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo", L"Text", true), 0);
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo", L"Missing", true), 0);
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo", L"All", false), 0) << "32-bit view";
}

TEST_F(RegistryHelpersTest, ReadIntegerAtReadsUnderTheCurrentUserForAnyOtherRootSpelling) {
  Registry().PutDword(L"HKLM\\SOFTWARE\\Counter", L"N", 1);
  Registry().PutDword(L"HKCU\\SOFTWARE\\Counter", L"N", 2);
  EXPECT_EQ(RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Counter", L"N", true), 1);
  EXPECT_EQ(RegReadIntegerAt(L"hkey_local_machine", L"\\SOFTWARE\\Counter", L"N", true), 2);
  EXPECT_EQ(RegReadIntegerAt(L"nonsense", L"\\SOFTWARE\\Counter", L"N", true), 2);
}

TEST_F(RegistryHelpersTest, KeyExistsAt) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Only64");
  EXPECT_TRUE(RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Only64", true));
  EXPECT_FALSE(RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Only64", false));
  EXPECT_TRUE(RegKeyExistsAt(L"hkey_local_machine", Foo(), false));
  EXPECT_FALSE(RegKeyExistsAt(L"HKLM", Foo(), false));
}

TEST_F(RegistryHelpersTest, ValueExistsAt) {
  EXPECT_TRUE(RegValueExistsAt(L"HKEY_LOCAL_MACHINE", Foo(), L"DisplayName", true));
  EXPECT_TRUE(RegValueExistsAt(L"HKEY_LOCAL_MACHINE", Foo(), L"displayname", false));
  EXPECT_FALSE(RegValueExistsAt(L"HKEY_LOCAL_MACHINE", Foo(), L"Missing", true));
  EXPECT_FALSE(RegValueExistsAt(L"HKEY_LOCAL_MACHINE", Foo() + L"\\Missing", L"DisplayName", true));
  EXPECT_FALSE(RegValueExistsAt(L"HKLM", Foo(), L"DisplayName", true));
}

TEST_F(RegistryHelpersTest, DeleteKeyAtRemovesTheTreeInOneView) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo\\Sub\\Deeper");
  EXPECT_TRUE(RegDeleteKeyAt(L"HKEY_LOCAL_MACHINE", Foo(), true));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo"));

  EXPECT_TRUE(RegDeleteKeyAt(HKEY_LOCAL_MACHINE, Foo(), false));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo"));
}

TEST_F(RegistryHelpersTest, DeleteKeyAtAnswers) {
  EXPECT_TRUE(RegDeleteKeyAt(L"HKEY_CURRENT_USER", L"\\Software\\Absent", false));
  EXPECT_FALSE(RegDeleteKeyAt(L"HKLM", Foo(), true));
  EXPECT_FALSE(RegDeleteKeyAt(kUnknownRoot, Foo(), true));
  EXPECT_FALSE(RegDeleteKeyAt(static_cast<HKEY>(0x1234), Foo(), true));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo"));
}

TEST_F(RegistryHelpersTest, DeleteKeyAtAnswersFalseWhenPartOfTheTreeStays) {
  const std::wstring tree = L"HKCU\\Software\\Tree";
  Registry().PutKey(tree + L"\\Locked\\Inner");
  Registry().PutKey(tree + L"\\Free\\Inner");
  Registry().SetUndeletable(tree + L"\\Locked\\Inner");
  EXPECT_FALSE(RegDeleteKeyAt(L"HKEY_CURRENT_USER", L"\\Software\\Tree", false));
  EXPECT_TRUE(Registry().HasKey(tree + L"\\Locked\\Inner"));
  EXPECT_FALSE(Registry().HasKey(tree + L"\\Free"));
}

TEST_F(RegistryHelpersTest, DeleteValueAtTakesTheNameAsItIs) {
  const std::wstring key = L"HKCU\\Software\\Vals";
  Registry().PutString(key, L"Path", L"C:\\Foo");
  Registry().PutString(key, L" Path\t", L"C:\\Bar");
  Registry().PutString(key, L"", L"default");
  EXPECT_TRUE(RegDeleteValueAt(HKEY_CURRENT_USER, L"\\Software\\Vals", L" Path\t", false));
  EXPECT_FALSE(Registry().GetValue(key, L" Path\t").has_value());
  EXPECT_TRUE(Registry().GetValue(key, L"Path").has_value());
  // The single blank stands for the key's default value.
  EXPECT_TRUE(RegDeleteValueAt(HKEY_CURRENT_USER, L"\\Software\\Vals", L" ", false));
  EXPECT_FALSE(Registry().GetValue(key, L"").has_value());
  EXPECT_TRUE(Registry().GetValue(key, L"Path").has_value());
}

TEST_F(RegistryHelpersTest, DeleteValueAtAnswersTrueWhenThereIsNothingToDelete) {
  Registry().PutKey(L"HKCU\\Software\\Vals");
  EXPECT_TRUE(RegDeleteValueAt(HKEY_CURRENT_USER, L"\\Software\\Vals", L"Absent", false));
  EXPECT_TRUE(RegDeleteValueAt(HKEY_CURRENT_USER, L"\\Software\\NoSuchKey", L"Path", false));
}

// A value that stays because its key refuses writes was not deleted.
TEST_F(RegistryHelpersTest, DeleteValueAtAnswersFalseWhenTheKeyRefusesWrites) {
  const std::wstring key = L"HKCU\\Software\\Vals";
  Registry().PutString(key, L"Path", L"C:\\Foo");
  Registry().SetKeyAccess(key, KEY_READ);
  EXPECT_FALSE(RegDeleteValueAt(HKEY_CURRENT_USER, L"\\Software\\Vals", L"Path", false));
  EXPECT_TRUE(Registry().GetValue(key, L"Path").has_value());
}

TEST_F(RegistryHelpersTest, DeleteValueAtUsesTheView) {
  Registry().PutDword(L"HKLM\\SOFTWARE\\Foo", L"V", 64);
  Registry().PutDword(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo", L"V", 32);
  EXPECT_TRUE(RegDeleteValueAt(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Foo", L"V", true));
  EXPECT_FALSE(Registry().GetValue(L"HKLM\\SOFTWARE\\Foo", L"V").has_value());
  EXPECT_TRUE(Registry().GetValue(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo", L"V").has_value());
}

class ListKeyTreeTest : public SimMachineTest {
 protected:
  void SetUp() override {
    for (const wchar_t* key : {L"b\\b2\\b2a", L"b\\b1", L"A\\a1\\a1a\\a1a1", L"c"}) {
      Registry().PutKey(std::wstring(L"HKCU\\Software\\Root\\") + key);
    }
  }
};

TEST_F(ListKeyTreeTest, ListsBreadthFirstParentsBeforeChildren) {
  std::vector<std::wstring> list{L"stale"};
  const int count = RegListKeyTree(L"HKEY_CURRENT_USER", L"\\Software\\Root", list, false);
  const std::vector<std::wstring> expected{
      L"\\Software\\Root",
      L"\\Software\\Root\\A",
      L"\\Software\\Root\\b",
      L"\\Software\\Root\\c",
      L"\\Software\\Root\\A\\a1",
      L"\\Software\\Root\\b\\b1",
      L"\\Software\\Root\\b\\b2",
      L"\\Software\\Root\\A\\a1\\a1a",
      L"\\Software\\Root\\b\\b2\\b2a",
      L"\\Software\\Root\\A\\a1\\a1a\\a1a1",
  };
  EXPECT_EQ(list, expected);
  EXPECT_EQ(count, static_cast<int>(expected.size()));
}

TEST_F(ListKeyTreeTest, AnUnreadableKeyIsListedButNotEntered) {
  Registry().SetKeyAccess(L"HKCU\\Software\\Root\\A", 0);
  std::vector<std::wstring> list;
  RegListKeyTree(L"HKEY_CURRENT_USER", L"\\Software\\Root", list, false);
  const std::vector<std::wstring> expected{
      L"\\Software\\Root",        L"\\Software\\Root\\A",     L"\\Software\\Root\\b",          L"\\Software\\Root\\c",
      L"\\Software\\Root\\b\\b1", L"\\Software\\Root\\b\\b2", L"\\Software\\Root\\b\\b2\\b2a",
  };
  EXPECT_EQ(list, expected);
}

TEST_F(ListKeyTreeTest, AMissingStartKeyOrUnknownRootListsOnlyTheStart) {
  std::vector<std::wstring> list;
  EXPECT_EQ(RegListKeyTree(L"HKEY_CURRENT_USER", L"\\Software\\Absent", list, false), 1);
  EXPECT_EQ(list, std::vector<std::wstring>{L"\\Software\\Absent"});
  EXPECT_EQ(RegListKeyTree(L"HKCU", L"\\Software\\Root", list, false), 1);
  EXPECT_EQ(list, std::vector<std::wstring>{L"\\Software\\Root"});
}

TEST_F(ListKeyTreeTest, WalksTheChosenView) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Vendor\\Only64");
  Registry().PutKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Vendor\\Only32");
  std::vector<std::wstring> list;
  RegListKeyTree(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Vendor", list, true);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"\\SOFTWARE\\Vendor", L"\\SOFTWARE\\Vendor\\Only64"}));
  RegListKeyTree(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Vendor", list, false);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"\\SOFTWARE\\Vendor", L"\\SOFTWARE\\Vendor\\Only32"}));
}

TEST(IsWow64, OnlyA64BitMachineRunsUsUnderWow64) {
  {
    CurrentSimMachine x64(MachineOf(sim::Bitness::x64));
    EXPECT_TRUE(IsWow64());
  }
  CurrentSimMachine x86(MachineOf(sim::Bitness::x86));
  EXPECT_FALSE(IsWow64());
}

class OpenInRegistryEditorTest : public SimMachineTest {};

TEST_F(OpenInRegistryEditorTest, PassesTheKeyInTheEditorsForm) {
  const struct {
    const wchar_t* keyText;
    const wchar_t* expected;
  } cases[] = {
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo", L"My\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo"},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\", L"My\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo"},
      {L"\\HKEY_CURRENT_USER\\Software", L"\\HKEY_CURRENT_USER\\Software"},
      {L"HKEY_USERS", L"My\\HKEY_USERS"},
  };
  for (const auto& c : cases) {
    Machine().registryEditor.requests.clear();
    EXPECT_TRUE(OpenInRegistryEditor(c.keyText, L"DisplayName", true));
    ASSERT_EQ(Machine().registryEditor.requests.size(), 1u);
    const RegistryEditorRequest& request = Machine().registryEditor.requests[0];
    EXPECT_EQ(request.keyText, c.expected);
    EXPECT_EQ(request.valueName, L"DisplayName");
    EXPECT_TRUE(request.view64);
  }
}

}  // namespace
}  // namespace orvix::testing
