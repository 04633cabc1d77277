// TRegistry::DeleteKey: whole trees, in the view of Access, never a root.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

class RegistryDeleteTest : public SimMachineTest {
 protected:
  // HKCU\Software\Tree with three levels of keys and values, and a sibling.
  void SetUp() override {
    for (const wchar_t* key : {L"Tree\\A\\A1\\A1x", L"Tree\\A\\A2", L"Tree\\B", L"Tree\\C\\C1"}) {
      Registry().PutString(std::wstring(L"HKCU\\Software\\") + key, L"Name", key);
    }
    Registry().PutDword(L"HKCU\\Software\\Tree", L"Top", 1);
    Registry().PutDword(L"HKCU\\Software\\Sibling", L"Keep", 1);
  }
};

TEST_F(RegistryDeleteTest, DeletesADeepTree) {
  TRegistry reg;
  EXPECT_TRUE(reg.DeleteKey(L"\\Software\\Tree"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Tree"));
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Sibling"));
  EXPECT_EQ(Registry().SubKeyNames(L"HKCU\\Software"), (std::vector<std::wstring>{L"Classes", L"Microsoft", L"Sibling"}));
}

TEST_F(RegistryDeleteTest, RelativeDeleteKeepsTheOpenKeyUsable) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Tree", false));
  EXPECT_TRUE(reg.DeleteKey(L"A"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Tree\\A"));
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Tree");
  EXPECT_EQ(reg.ReadInteger(L"Top"), 1);
  std::vector<std::wstring> names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"C"}));
}

TEST_F(RegistryDeleteTest, AnUndeletableKeyKeepsItsAncestorsButNotItsCousins) {
  Registry().SetUndeletable(L"HKCU\\Software\\Tree\\A\\A1\\A1x");
  TRegistry reg;
  EXPECT_FALSE(reg.DeleteKey(L"\\Software\\Tree"));
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Tree\\A\\A1\\A1x"));
  EXPECT_EQ(Registry().SubKeyNames(L"HKCU\\Software\\Tree"), std::vector<std::wstring>{L"A"});
  EXPECT_EQ(Registry().SubKeyNames(L"HKCU\\Software\\Tree\\A"), std::vector<std::wstring>{L"A1"});
}

TEST_F(RegistryDeleteTest, AMissingKeyIsNotDeleted) {
  TRegistry reg;
  EXPECT_FALSE(reg.DeleteKey(L"\\Software\\Missing"));
}

// A path that names no sub-key would otherwise empty the whole root (or the
// open key) before failing on the root itself.
TEST_F(RegistryDeleteTest, APathNamingNoSubKeyDeletesNothing) {
  for (const wchar_t* path : {L"", L"\\", L"\\\\"}) {
    TRegistry reg;
    EXPECT_FALSE(reg.DeleteKey(path)) << "path '" << path << "'";
    ASSERT_TRUE(reg.OpenKey(L"\\Software\\Tree", false));
    EXPECT_FALSE(reg.DeleteKey(path)) << "relative path '" << path << "'";
  }
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Tree\\A\\A1\\A1x"));
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Sibling"));
}

// On a 64-bit machine the same path names two keys; Access picks one.
class RegistryDeleteViewTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Registry().PutString(L"HKLM\\SOFTWARE\\Foo\\Sub", L"View", L"64");
    Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo\\Sub", L"View", L"32");
  }
};

TEST_F(RegistryDeleteViewTest, The64BitViewDeletesOnlyThe64BitKey) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  reg.Access |= KEY_WOW64_64KEY;
  EXPECT_TRUE(reg.DeleteKey(L"\\SOFTWARE\\Foo"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Foo"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo\\Sub"));
}

TEST_F(RegistryDeleteViewTest, TheDefaultViewDeletesOnlyThe32BitKey) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(reg.DeleteKey(L"\\SOFTWARE\\Foo"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Foo\\Sub"));
}

}  // namespace
}  // namespace orvix::testing
