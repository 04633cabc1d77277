// The simulated registry through its Win32-style interface: the merged
// HKEY_CLASSES_ROOT, enumeration order, deleted keys, locked keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_fixture.h"

namespace orvix::testing {
namespace {

class SimRegistryTest : public SimMachineTest {
 protected:
  // Opens a key for the test; the fixture closes what is still open.
  HKEY Open(HKEY parent, const std::wstring& subKey, REGSAM access = KEY_ALL_ACCESS | KEY_WOW64_64KEY) {
    HKEY key = 0;
    const LSTATUS status = Registry().OpenKey(parent, subKey, access, &key);
    EXPECT_EQ(status, ERROR_SUCCESS) << "opening " << std::string(subKey.begin(), subKey.end());
    if (key != 0) opened_.push_back(key);
    return key;
  }
  void TearDown() override {
    for (HKEY key : opened_) Registry().CloseKey(key);
    SimMachineTest::TearDown();
  }

  std::vector<std::wstring> KeyNames(HKEY key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (DWORD i = 0; Registry().EnumKey(key, i, &name) == ERROR_SUCCESS; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::wstring> ValueNames(HKEY key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (DWORD i = 0; Registry().EnumValue(key, i, &name) == ERROR_SUCCESS; ++i) names.push_back(name);
    return names;
  }
  std::wstring ReadText(HKEY key, const std::wstring& name) {
    DWORD size = 0;
    if (Registry().QueryValue(key, name, nullptr, nullptr, &size) != ERROR_SUCCESS) return L"<absent>";
    Bytes data(size);
    EXPECT_EQ(Registry().QueryValue(key, name, nullptr, data.data(), &size), ERROR_SUCCESS);
    std::wstring text = FromUtf16Le(data);
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  void Write(HKEY key, const std::wstring& name, const std::wstring& text) {
    Bytes data = ToUtf16Le(text + L'\0');
    ASSERT_EQ(Registry().SetValue(key, name, REG_SZ, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
  }

 private:
  std::vector<HKEY> opened_;
};

// HKEY_CLASSES_ROOT shows the user's classes over the machine's.
class SimClassesRootTest : public SimRegistryTest {
 protected:
  void SetUp() override {
    Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\.foo", L"", L"machine.foo");
    Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\.foo", L"Content Type", L"text/machine");
    Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\.foo", L"PerceivedType", L"text");
    Registry().PutString(L"HKCU\\Software\\Classes\\.foo", L"", L"user.foo");
    Registry().PutString(L"HKCU\\Software\\Classes\\.foo", L"UserOnly", L"1");
    for (const wchar_t* name : {L"Machine.B", L"Both", L"shell"}) {
      Registry().PutKey(std::wstring(L"HKLM\\SOFTWARE\\Classes\\.foo\\") + name);
    }
    for (const wchar_t* name : {L"user.a", L"BOTH", L"Zed"}) {
      Registry().PutKey(std::wstring(L"HKCU\\Software\\Classes\\.foo\\") + name);
    }
  }
};

TEST_F(SimClassesRootTest, TheUsersValueWinsAndTheMachinesShowsThrough) {
  const HKEY foo = Open(HKEY_CLASSES_ROOT, L".foo");
  EXPECT_EQ(ReadText(foo, L""), L"user.foo");
  EXPECT_EQ(ReadText(foo, L"Content Type"), L"text/machine");
  EXPECT_EQ(ReadText(foo, L"UserOnly"), L"1");
  EXPECT_EQ(ValueNames(foo), (std::vector<std::wstring>{L"", L"UserOnly", L"Content Type", L"PerceivedType"}));
}

TEST_F(SimClassesRootTest, SubKeysAreTheSortedUnionWithTheUsersSpelling) {
  const HKEY foo = Open(HKEY_CLASSES_ROOT, L".foo");
  EXPECT_EQ(KeyNames(foo), (std::vector<std::wstring>{L"BOTH", L"Machine.B", L"shell", L"user.a", L"Zed"}));
  RegKeyInfo info;
  ASSERT_EQ(Registry().QueryInfoKey(foo, &info), ERROR_SUCCESS);
  EXPECT_EQ(info.subKeys, 5u);
  EXPECT_EQ(info.values, 4u);
}

TEST_F(SimClassesRootTest, WritesGoWhereTheKeyExists) {
  Write(Open(HKEY_CLASSES_ROOT, L".foo"), L"New", L"user");
  Write(Open(HKEY_CLASSES_ROOT, L".foo\\shell"), L"New", L"machine");
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\Classes\\.foo", L"New"), L"user");
  EXPECT_EQ(Registry().GetString(L"HKLM\\SOFTWARE\\Classes\\.foo\\shell", L"New"), L"machine");
  EXPECT_FALSE(Registry().GetValue(L"HKLM\\SOFTWARE\\Classes\\.foo", L"New").has_value());
}

TEST_F(SimClassesRootTest, AKeyOfOnlyOneSideOpens) {
  Registry().PutString(L"HKLM\\SOFTWARE\\Classes\\.bar", L"", L"machine.bar");
  EXPECT_EQ(ReadText(Open(HKEY_CLASSES_ROOT, L".bar"), L""), L"machine.bar");
  EXPECT_EQ(ReadText(Open(HKEY_CLASSES_ROOT, L".foo\\user.a"), L""), L"<absent>");
  HKEY missing = 0;
  EXPECT_EQ(Registry().OpenKey(HKEY_CLASSES_ROOT, L".none", KEY_READ, &missing), ERROR_FILE_NOT_FOUND);
}

TEST_F(SimRegistryTest, EnumerationIsSortedForKeysAndInCreationOrderForValues) {
  for (const wchar_t* name : {L"delta", L"Charlie", L"bravo", L"ALPHA", L"echo"}) {
    Registry().PutKey(std::wstring(L"HKCU\\Software\\Order\\") + name);
  }
  for (const wchar_t* name : {L"z", L"y", L"A", L"b"}) Registry().PutDword(L"HKCU\\Software\\Order", name, 0);
  Registry().PutDword(L"HKCU\\Software\\Order", L"Z", 1);  // rewrites z in place

  const HKEY order = Open(HKEY_CURRENT_USER, L"Software\\Order");
  EXPECT_EQ(KeyNames(order), (std::vector<std::wstring>{L"ALPHA", L"bravo", L"Charlie", L"delta", L"echo"}));
  EXPECT_EQ(ValueNames(order), (std::vector<std::wstring>{L"z", L"y", L"A", L"b"}));
  std::wstring name;
  EXPECT_EQ(Registry().EnumKey(order, 5, &name), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(Registry().EnumValue(order, 4, &name), ERROR_NO_MORE_ITEMS);
}

// An open key lists what is there now, whoever changed it since the last listing.
TEST_F(SimRegistryTest, AnOpenKeysListingFollowsEveryChange) {
  Registry().PutKey(L"HKCU\\Software\\Live\\b");
  Registry().PutDword(L"HKCU\\Software\\Live", L"x", 0);
  const HKEY live = Open(HKEY_CURRENT_USER, L"Software\\Live");
  EXPECT_EQ(KeyNames(live), (std::vector<std::wstring>{L"b"}));
  EXPECT_EQ(ValueNames(live), (std::vector<std::wstring>{L"x"}));

  Registry().PutKey(L"HKCU\\Software\\Live\\a");
  HKEY created = 0;
  ASSERT_EQ(Registry().CreateKey(live, L"c", KEY_ALL_ACCESS, &created), ERROR_SUCCESS);
  Registry().CloseKey(created);
  Registry().RemoveValue(L"HKCU\\Software\\Live", L"x");
  const BYTE data[] = {0, 0};
  ASSERT_EQ(Registry().SetValue(live, L"y", REG_SZ, data, 2), ERROR_SUCCESS);
  EXPECT_EQ(KeyNames(live), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(ValueNames(live), (std::vector<std::wstring>{L"y"}));

  ASSERT_EQ(Registry().DeleteKey(live, L"b", 0), ERROR_SUCCESS);
  EXPECT_EQ(KeyNames(live), (std::vector<std::wstring>{L"a", L"c"}));
}

TEST_F(SimRegistryTest, AHandleToADeletedKeyReportsKeyDeleted) {
  Registry().PutString(L"HKCU\\Software\\Doomed", L"V", L"x");
  const HKEY doomed = Open(HKEY_CURRENT_USER, L"Software\\Doomed");
  ASSERT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Doomed", 0), ERROR_SUCCESS);

  DWORD size = 0;
  std::wstring name;
  RegKeyInfo info;
  const BYTE data[] = {0, 0};
  EXPECT_EQ(Registry().QueryValue(doomed, L"V", nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(Registry().EnumValue(doomed, 0, &name), ERROR_KEY_DELETED);
  EXPECT_EQ(Registry().QueryInfoKey(doomed, &info), ERROR_KEY_DELETED);
  EXPECT_EQ(Registry().SetValue(doomed, L"W", REG_SZ, data, 2), ERROR_KEY_DELETED);

  // A new key of the same name is another key.
  Registry().PutKey(L"HKCU\\Software\\Doomed");
  EXPECT_EQ(Registry().EnumValue(doomed, 0, &name), ERROR_KEY_DELETED);
}

TEST_F(SimRegistryTest, RemovingATreeInvalidatesHandlesBelowIt) {
  Registry().PutString(L"HKCU\\Software\\Tree\\Sub\\Leaf", L"V", L"x");
  const HKEY leaf = Open(HKEY_CURRENT_USER, L"Software\\Tree\\Sub\\Leaf");
  Registry().RemoveKey(L"HKCU\\Software\\Tree");
  DWORD size = 0;
  EXPECT_EQ(Registry().QueryValue(leaf, L"V", nullptr, nullptr, &size), ERROR_KEY_DELETED);
}

TEST_F(SimRegistryTest, ARootCannotBeRemoved) {
  for (const wchar_t* root : {L"HKLM", L"HKEY_CURRENT_USER", L"HKCR"}) {
    EXPECT_THROW(Registry().RemoveKey(root), std::invalid_argument) << root;
  }
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes"));
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Classes"));
}

TEST_F(SimRegistryTest, AKeyWithSubKeysIsNotDeleted) {
  Registry().PutKey(L"HKCU\\Software\\Parent\\Child");
  EXPECT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Parent", 0), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Parent\\Child"));
  EXPECT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Parent\\Child", 0), ERROR_SUCCESS);
  EXPECT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Parent", 0), ERROR_SUCCESS);
  EXPECT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Parent", 0), ERROR_FILE_NOT_FOUND);
}

TEST_F(SimRegistryTest, LockedKeysRefuseWhatTheyDoNotAllow) {
  Registry().PutString(L"HKCU\\Software\\Locked", L"V", L"x");
  Registry().SetKeyAccess(L"HKCU\\Software\\Locked", KEY_READ);
  HKEY key = 0;
  EXPECT_EQ(Registry().OpenKey(HKEY_CURRENT_USER, L"Software\\Locked", KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(Registry().CreateKey(HKEY_CURRENT_USER, L"Software\\Locked\\Sub", KEY_ALL_ACCESS, &key),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(Registry().DeleteKey(HKEY_CURRENT_USER, L"Software\\Locked", 0), ERROR_ACCESS_DENIED);

  const HKEY readable = Open(HKEY_CURRENT_USER, L"Software\\Locked", KEY_READ);
  EXPECT_EQ(ReadText(readable, L"V"), L"x");
  const BYTE data[] = {0, 0};
  EXPECT_EQ(Registry().SetValue(readable, L"W", REG_SZ, data, 2), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Registry().DeleteValue(readable, L"V"), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Locked\\Sub"));

  Registry().SetKeyAccess(L"HKCU\\Software\\Locked", 0);
  EXPECT_EQ(Registry().OpenKey(HKEY_CURRENT_USER, L"Software\\Locked", KEY_QUERY_VALUE, &key), ERROR_ACCESS_DENIED);
}

TEST_F(SimRegistryTest, AHandleGrantsOnlyTheRightsItWasOpenedWith) {
  Registry().PutString(L"HKCU\\Software\\Open", L"V", L"x");
  const HKEY queryOnly = Open(HKEY_CURRENT_USER, L"Software\\Open", KEY_QUERY_VALUE);
  std::wstring name;
  EXPECT_EQ(Registry().EnumKey(queryOnly, 0, &name), ERROR_ACCESS_DENIED);
  HKEY sub = 0;
  EXPECT_EQ(Registry().CreateKey(queryOnly, L"Sub", KEY_ALL_ACCESS, &sub), ERROR_ACCESS_DENIED);
  const HKEY enumOnly = Open(HKEY_CURRENT_USER, L"Software\\Open", KEY_ENUMERATE_SUB_KEYS);
  DWORD size = 0;
  EXPECT_EQ(Registry().QueryValue(enumOnly, L"V", nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
}

TEST_F(SimRegistryTest, QueryValueReportsTheSizeNeeded) {
  Registry().PutString(L"HKCU\\Software\\Q", L"V", L"abcdef");  // 14 bytes with the NUL
  const HKEY q = Open(HKEY_CURRENT_USER, L"Software\\Q");
  BYTE small[4] = {};
  DWORD size = sizeof small;
  DWORD type = 0;
  EXPECT_EQ(Registry().QueryValue(q, L"V", &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(Registry().QueryValue(q, L"Absent", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(SimRegistryTest, HandlesAreCountedUntilClosed) {
  Registry().PutKey(L"HKCU\\Software\\Count");
  HKEY a = 0;
  HKEY b = 0;
  ASSERT_EQ(Registry().OpenKey(HKEY_CURRENT_USER, L"Software\\Count", KEY_READ, &a), ERROR_SUCCESS);
  ASSERT_EQ(Registry().OpenKey(a, L"", KEY_READ, &b), ERROR_SUCCESS);
  EXPECT_NE(a, b);
  EXPECT_EQ(Registry().OpenHandleCount(), 2u);
  EXPECT_EQ(Registry().CloseKey(a), ERROR_SUCCESS);
  EXPECT_EQ(Registry().CloseKey(a), ERROR_INVALID_HANDLE);
  EXPECT_EQ(Registry().CloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);  // predefined keys stay
  EXPECT_EQ(Registry().CloseKey(b), ERROR_SUCCESS);
  EXPECT_EQ(Registry().OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace orvix::testing
