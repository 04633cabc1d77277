// Root key names and the text forms of registry locations.
#include <gtest/gtest.h>

#include <string>

#include "platform/registry_helpers.h"

namespace orvix::testing {
namespace {

TEST(RootKeyNames, NamesAndHandlesMapBothWays) {
  const struct {
    const wchar_t* name;
    HKEY handle;
  } roots[] = {{L"HKEY_CLASSES_ROOT", 0x80000000u},
               {L"HKEY_CURRENT_USER", 0x80000001u},
               {L"HKEY_LOCAL_MACHINE", 0x80000002u},
               {L"HKEY_USERS", 0x80000003u},
               {L"HKEY_CURRENT_CONFIG", 0x80000005u}};
  for (const auto& root : roots) {
    EXPECT_EQ(RootKeyFromName(root.name), root.handle) << root.name;
    EXPECT_EQ(RootKeyName(root.handle), root.name);
  }
}

TEST(RootKeyNames, LookupIgnoresCaseButNothingElse) {
  EXPECT_EQ(RootKeyFromName(L"hkey_local_machine"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RootKeyFromName(L"Hkey_Current_User"), HKEY_CURRENT_USER);
  for (const wchar_t* name : {L"HKLM", L"", L" HKEY_LOCAL_MACHINE", L"HKEY_LOCAL_MACHINE\\", L"HKEY_DYN_DATA"}) {
    EXPECT_EQ(RootKeyFromName(name), kUnknownRoot) << "'" << name << "'";
  }
  EXPECT_EQ(kUnknownRoot, static_cast<HKEY>(-1));
  EXPECT_EQ(RootKeyName(0x80000004u), L"");  // HKEY_PERFORMANCE_DATA is not one of ours
  EXPECT_EQ(RootKeyName(kUnknownRoot), L"");
}

struct ItemTextCase {
  HKEY root;
  const wchar_t* keyPath;
  const wchar_t* valueName;
  const wchar_t* data;
  const wchar_t* expected;
};

TEST(RegItemText, JoinsRootKeyValueAndData) {
  const ItemTextCase cases[] = {
      // Findings keep key paths without the leading backslash; records of
      // installed software keep it. Both show one separator.
      {HKEY_CURRENT_USER, L"\\Software\\Foo", L"Path", L"C:\\Foo",
       L"HKEY_CURRENT_USER\\Software\\Foo | Path - C:\\Foo"},
      {HKEY_CURRENT_USER, L"Software\\Foo", L"Path", L"C:\\Foo", L"HKEY_CURRENT_USER\\Software\\Foo | Path - C:\\Foo"},
      {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Foo", L"", L"C:\\Foo", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo | Default - C:\\Foo"},
      {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Foo", L"Empty", L"", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo | Empty - "},
      {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Foo", L"", L"", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo"},
      {HKEY_USERS, L"", L"", L"", L"HKEY_USERS\\"},
      {kUnknownRoot, L"Software\\Foo", L"", L"", L"\\Software\\Foo"},
  };
  for (const ItemTextCase& c : cases) {
    EXPECT_EQ(RegItemText(c.root, c.keyPath, c.valueName, c.data), c.expected);
  }
}

TEST(SplitKeyText, SeparatesRootNameAndKeyPath) {
  const struct {
    const wchar_t* text;
    bool ok;
    const wchar_t* root;
    const wchar_t* path;
  } cases[] = {
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo", true, L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Foo"},
      {L"hkey_current_user\\Software\\Foo\\", true, L"HKEY_CURRENT_USER", L"\\Software\\Foo"},
      {L"HKEY_USERS", true, L"HKEY_USERS", L""},
      {L"HKEY_USERS\\", true, L"HKEY_USERS", L"\\"},
      {L"HKLM\\SOFTWARE", false, L"", L""},
      {L"\\SOFTWARE\\Foo", false, L"", L""},
  };
  for (const auto& c : cases) {
    std::wstring root;
    std::wstring path;
    EXPECT_EQ(SplitKeyText(c.text, root, path), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(root, c.root) << c.text;
    EXPECT_EQ(path, c.path) << c.text;
  }
}

}  // namespace
}  // namespace orvix::testing
