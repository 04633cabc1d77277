// TRegistry: opening keys, the read-only fallback, KeyExists and closing.
#include <gtest/gtest.h>

#include "named_case.h"
#include "platform/registry.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

class RegistryOpenTest : public SimMachineTest {
 protected:
  void SetUp() override { Registry().PutString(L"HKCU\\Software\\Foo\\Bar", L"Name", L"bar"); }
};

TEST_F(RegistryOpenTest, AbsoluteAndRelativeOpensTrackTheCurrentPath) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Foo", false));
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo");

  ASSERT_TRUE(reg.OpenKey(L"Bar", false));
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo\\Bar");
  EXPECT_EQ(reg.ReadString(L"Name"), L"bar");

  // An absolute path starts at the root again, whatever is open.
  ASSERT_TRUE(reg.OpenKey(L"\\Software", false));
  EXPECT_EQ(reg.CurrentPath(), L"Software");
}

TEST_F(RegistryOpenTest, RelativePathWithNoKeyOpenStartsAtTheRoot) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"Software\\Foo\\Bar", false));
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo\\Bar");
  EXPECT_EQ(reg.ReadString(L"Name"), L"bar");
}

TEST_F(RegistryOpenTest, FailedOpenKeepsThePreviousKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Foo\\Bar", false));
  EXPECT_FALSE(reg.OpenKey(L"\\Software\\Missing", false));
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo\\Bar");
  EXPECT_EQ(reg.ReadString(L"Name"), L"bar");
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Missing"));
}

TEST_F(RegistryOpenTest, CanCreateMakesTheWholePath) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\New\\Deep", true));
  reg.WriteString(L"Made", L"yes");
  reg.CloseKey();
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\New\\Deep", L"Made"), L"yes");
}

TEST_F(RegistryOpenTest, SetRootKeyClosesTheOpenKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Foo", false));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_EQ(reg.CurrentPath(), L"");
  EXPECT_EQ(Registry().OpenHandleCount(), 0u);
}

// Which read-only mask opens a key that grants only some rights.
struct ReadOnlyCase : NamedCase {
  REGSAM allowed;
  bool opens;
  REGSAM accessAfter;  // without the view bit
};

class OpenKeyReadOnlyTest : public RegistryOpenTest, public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(OpenKeyReadOnlyTest, FallsBackToNarrowerMasksKeepingTheViewBits) {
  const ReadOnlyCase& c = GetParam();
  Registry().SetKeyAccess(L"HKCU\\Software\\Foo\\Bar", c.allowed);
  TRegistry reg(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  EXPECT_EQ(reg.OpenKeyReadOnly(L"\\Software\\Foo\\Bar"), c.opens);
  if (c.opens) {
    EXPECT_EQ(reg.Access, c.accessAfter | KEY_WOW64_64KEY);
    EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo\\Bar");
    EXPECT_EQ(reg.ReadString(L"Name"), L"bar");
  } else {
    EXPECT_EQ(reg.CurrentKey(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Masks, OpenKeyReadOnlyTest,
                         ::testing::Values(ReadOnlyCase{{"FullRights"}, KEY_ALL_ACCESS, true, KEY_READ},
                                           ReadOnlyCase{{"ReadWithoutNotify"},
                                                        READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                                        true,
                                                        READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS},
                                           ReadOnlyCase{{"QueryOnly"}, KEY_QUERY_VALUE, true, KEY_QUERY_VALUE},
                                           ReadOnlyCase{{"NoRights"}, 0, false, 0}),
                         CaseName{});

TEST_F(RegistryOpenTest, KeyExistsLeavesAccessAndTheOpenKeyAlone) {
  // KeyExists asks only for query and enumerate rights.
  Registry().SetKeyAccess(L"HKCU\\Software\\Foo\\Bar", READ_CONTROL | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
  TRegistry reg(KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Foo", false));

  EXPECT_TRUE(reg.KeyExists(L"Bar"));
  EXPECT_TRUE(reg.KeyExists(L"\\Software\\Foo\\Bar"));
  EXPECT_FALSE(reg.KeyExists(L"\\Software\\Foo\\Missing"));
  EXPECT_FALSE(reg.OpenKey(L"Bar", false)) << "the key grants no write rights";

  EXPECT_EQ(reg.Access, KEY_ALL_ACCESS | KEY_WOW64_64KEY);
  EXPECT_EQ(reg.CurrentPath(), L"Software\\Foo");
  reg.CloseKey();
  EXPECT_EQ(Registry().OpenHandleCount(), 0u);
}

TEST_F(RegistryOpenTest, ClosingFlushesOnlyWhenWritesAreNotLazy) {
  {
    TRegistry lazy;
    ASSERT_TRUE(lazy.OpenKey(L"\\Software\\Foo", false));
  }
  EXPECT_EQ(Registry().FlushCount(), 0u);

  TRegistry eager;
  eager.LazyWrite = false;
  ASSERT_TRUE(eager.OpenKey(L"\\Software\\Foo", false));
  ASSERT_TRUE(eager.OpenKey(L"Bar", false));  // closes the first key
  EXPECT_EQ(Registry().FlushCount(), 1u);
  eager.CloseKey();
  EXPECT_EQ(Registry().FlushCount(), 2u);
}

}  // namespace
}  // namespace orvix::testing
