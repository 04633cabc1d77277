// The registry class and helpers against Wine's real registry in a 64-bit
// prefix, where this 32-bit program sees two views of HKLM\SOFTWARE. Setup
// and checks of physical places go through raw advapi32 calls; every key a
// test makes is removed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "windows/raw_registry.h"

namespace orvix {
namespace {

using test::kOwnView;
using test::kView32;
using test::kView64;
using test::TestKey;

const std::wstring kHklm = L"HKEY_LOCAL_MACHINE";
const std::wstring kHkcu = L"HKEY_CURRENT_USER";
const std::wstring kHkcr = L"HKEY_CLASSES_ROOT";

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return SameText(n, name); });
}

std::vector<std::wstring> KeyNames(TRegistry& reg, const std::wstring& rootName, const std::wstring& path,
                                   bool view64) {
  reg.SetRootKey(RootKeyFromName(rootName));
  if (view64) reg.Access |= KEY_WOW64_64KEY;
  std::vector<std::wstring> names;
  if (reg.OpenKeyReadOnly(path)) reg.GetKeyNames(names);
  return names;
}

TEST(RegistryViews, IsWow64InA64BitPrefix) { EXPECT_TRUE(IsWow64()); }

// A key written through one view of HKLM\SOFTWARE, looked for from both.
struct ViewCase {
  const char* name;
  bool writeIn64;
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class RegistryViewWrite : public ::testing::TestWithParam<ViewCase> {};

TEST_P(RegistryViewWrite, LandsInItsOwnViewOnly) {
  const bool in64 = GetParam().writeIn64;
  const std::wstring name = test::UniqueKeyName();
  const std::wstring path = L"\\SOFTWARE\\" + name;
  const std::wstring underWow = L"\\SOFTWARE\\Wow6432Node\\" + name;
  TestKey cleanup(kHklm + path, in64 ? kView64 : kView32);
  {
    TRegistry reg;
    reg.SetRootKey(RootKeyFromName(kHklm));
    if (in64) reg.Access |= KEY_WOW64_64KEY;
    ASSERT_TRUE(reg.OpenKey(path, true));
  }
  EXPECT_EQ(RegKeyExistsAt(kHklm, path, true), in64);
  EXPECT_EQ(RegKeyExistsAt(kHklm, path, false), !in64);
  // The 32-bit view's key is SOFTWARE\Wow6432Node of the 64-bit view.
  EXPECT_EQ(RegKeyExistsAt(kHklm, underWow, true), !in64);
  EXPECT_EQ(test::RawKeyExists(kHklm + underWow, kView64), !in64);
}

INSTANTIATE_TEST_SUITE_P(BothViews, RegistryViewWrite,
                         ::testing::Values(ViewCase{"View32", false}, ViewCase{"View64", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryViews, SamePathHoldsOneKeyPerView) {
  const std::wstring name = test::UniqueKeyName();
  const std::wstring path = L"\\SOFTWARE\\" + name;
  TestKey key64(kHklm + path, kView64);
  TestKey key32(kHklm + path, kView32);
  for (const bool view64 : {false, true}) {
    TRegistry reg;
    reg.SetRootKey(RootKeyFromName(kHklm));
    if (view64) reg.Access |= KEY_WOW64_64KEY;
    ASSERT_TRUE(reg.OpenKey(path, true));
    reg.WriteString(L"Writer", view64 ? L"64" : L"32");
  }
  EXPECT_EQ(RegReadStringAt(kHklm, path, L"Writer", false), L"32");
  EXPECT_EQ(RegReadStringAt(kHklm, path, L"Writer", true), L"64");
  EXPECT_EQ(RegReadStringAt(kHklm, L"\\SOFTWARE\\Wow6432Node\\" + name, L"Writer", true), L"32");
  EXPECT_EQ(test::RawReadString(kHklm + L"\\SOFTWARE\\Wow6432Node\\" + name, L"Writer", kView64), L"32");
}

// Where a key that a 32-bit program creates below an existing parent is
// found from the 64-bit view. Windows shares some keys between the views
// and redirects others; Wine's choice differs for a few, as noted.
struct RedirectionCase {
  const char* name;
  const wchar_t* root;
  const wchar_t* parent;           // as the 32-bit program names it
  const wchar_t* parentIn64View;   // the same key, seen from the 64-bit view
  bool asOnWindows;
};

void PrintTo(const RedirectionCase& c, std::ostream* os) { *os << c.name; }

class RegistryRedirection : public ::testing::TestWithParam<RedirectionCase> {};

TEST_P(RegistryRedirection, A32BitKeyIsFoundWhereWineKeepsIt) {
  const RedirectionCase& c = GetParam();
  if (!c.asOnWindows && !test::RunningUnderWine()) GTEST_SKIP() << "Wine's own redirection";
  const std::wstring name = test::UniqueKeyName();
  const std::wstring path = std::wstring(c.parent) + L"\\" + name;
  const std::wstring pathIn64 = std::wstring(c.parentIn64View) + L"\\" + name;
  TestKey cleanup(c.root + path, kView32);
  ASSERT_TRUE(test::RawCreateKey(c.root + path, kView32));

  EXPECT_TRUE(RegKeyExistsAt(c.root, path, false));
  EXPECT_TRUE(RegKeyExistsAt(c.root, pathIn64, true));
  if (pathIn64 != path) {
    EXPECT_FALSE(RegKeyExistsAt(c.root, path, true));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Wine, RegistryRedirection,
    ::testing::Values(
        // File types and most of SOFTWARE\Classes: shared, as on Windows.
        RedirectionCase{"ClassesShared", L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes", L"\\SOFTWARE\\Classes", true},
        // CLSID and Interface: redirected to Classes\Wow6432Node, as on Windows.
        RedirectionCase{"ClsidRedirected", L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\CLSID",
                        L"\\SOFTWARE\\Classes\\Wow6432Node\\CLSID", true},
        RedirectionCase{"InterfaceRedirected", L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\Interface",
                        L"\\SOFTWARE\\Classes\\Wow6432Node\\Interface", true},
        // App Paths: shared, as on Windows.
        RedirectionCase{"AppPathsShared", L"HKEY_LOCAL_MACHINE",
                        L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
                        L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", true},
        // Windows shares SOFTWARE\Clients. Wine 8 redirects it like any other
        // key: its shared link sits at Wow6432Node\Microsoft\Clients instead.
        RedirectionCase{"ClientsRedirected", L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Clients",
                        L"\\SOFTWARE\\Wow6432Node\\Clients", false},
        // Windows redirects the user's CLSID keys to the user's
        // Classes\Wow6432Node\CLSID. Wine 8 keeps one set of user class keys.
        RedirectionCase{"UserClsidShared", L"HKEY_CURRENT_USER", L"\\Software\\Classes\\CLSID",
                        L"\\Software\\Classes\\CLSID", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClassesRoot, ShowsTheMachineClassesAndUnderWineNotTheUsers) {
  const std::wstring machine = test::UniqueKeyName();
  const std::wstring user = test::UniqueKeyName();
  TestKey machineKey(kHklm + L"\\SOFTWARE\\Classes\\" + machine, kOwnView);
  TestKey userKey(kHkcu + L"\\Software\\Classes\\" + user, kOwnView);
  ASSERT_TRUE(test::RawCreateKey(machineKey.Text(), kOwnView));
  ASSERT_TRUE(test::RawCreateKey(userKey.Text(), kOwnView));

  EXPECT_TRUE(RegKeyExistsAt(kHkcr, L"\\" + machine, false));
  // Windows merges HKCU\Software\Classes over the machine's classes. Wine 8
  // does not: its HKEY_CLASSES_ROOT is HKLM\Software\Classes alone, so a
  // per-user class key is invisible there.
  EXPECT_EQ(RegKeyExistsAt(kHkcr, L"\\" + user, false), !test::RunningUnderWine());
}

TEST(RegListKeyTree, ListsARealTreeBreadthFirstParentsFirst) {
  const std::wstring name = test::UniqueKeyName();
  const std::wstring start = L"\\Software\\" + name;
  TestKey root(kHkcu + start, kOwnView);
  // Made deepest-first and out of order: the listing follows the registry's
  // enumeration order, level by level.
  for (const wchar_t* relative : {L"B\\B1", L"A\\A2", L"A\\A1\\Deep"}) {
    ASSERT_TRUE(test::RawCreateKey(root / relative, kOwnView));
  }
  std::vector<std::wstring> list;
  EXPECT_EQ(RegListKeyTree(kHkcu, start, list, false), 7);
  const std::vector<std::wstring> expected{start,           start + L"\\A",     start + L"\\B",
                                           start + L"\\A\\A1", start + L"\\A\\A2", start + L"\\B\\B1",
                                           start + L"\\A\\A1\\Deep"};
  EXPECT_EQ(list, expected);
}

class RegDeleteKeyAtView : public ::testing::TestWithParam<ViewCase> {};

TEST_P(RegDeleteKeyAtView, DeletesTheDeepTreeOfItsViewAndLeavesTheOther) {
  const bool deleteIn64 = GetParam().writeIn64;
  const std::wstring path = L"\\SOFTWARE\\" + test::UniqueKeyName();
  TestKey tree64(kHklm + path, kView64);
  TestKey tree32(kHklm + path, kView32);
  for (const unsigned view : {kView64, kView32}) {
    for (const wchar_t* relative : {L"L1\\L2\\L3\\L4", L"L1\\Side", L"Other"}) {
      ASSERT_TRUE(test::RawCreateKey(tree64 / relative, view));
    }
    ASSERT_TRUE(test::RawSetString(tree64 / L"L1\\L2\\L3\\L4", L"Leaf", L"x", view));
  }
  std::vector<std::wstring> other;
  ASSERT_EQ(RegListKeyTree(kHklm, path, other, !deleteIn64), 7);

  EXPECT_TRUE(RegDeleteKeyAt(kHklm, path, deleteIn64));
  EXPECT_FALSE(RegKeyExistsAt(kHklm, path, deleteIn64));
  std::vector<std::wstring> otherAfter;
  RegListKeyTree(kHklm, path, otherAfter, !deleteIn64);
  EXPECT_EQ(otherAfter, other);
  EXPECT_EQ(RegReadStringAt(kHklm, path + L"\\L1\\L2\\L3\\L4", L"Leaf", !deleteIn64), L"x");
  // Gone already: still an answer of true.
  EXPECT_TRUE(RegDeleteKeyAt(kHklm, path, deleteIn64));
}

INSTANTIATE_TEST_SUITE_P(BothViews, RegDeleteKeyAtView,
                         ::testing::Values(ViewCase{"View32", false}, ViewCase{"View64", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TRegistryExKeyNames, LeaveWow6432NodeOutOfThe64BitSoftwareKey) {
  TRegistry plain;
  const std::vector<std::wstring> all = KeyNames(plain, kHklm, L"\\SOFTWARE", true);
  ASSERT_TRUE(Contains(all, L"Wow6432Node")) << "nothing for the filter to leave out";

  TRegistryEx ex;
  const std::vector<std::wstring> filtered = KeyNames(ex, kHklm, L"\\SOFTWARE", true);
  EXPECT_FALSE(Contains(filtered, L"Wow6432Node"));
  std::vector<std::wstring> expected = all;
  std::erase_if(expected, [](const std::wstring& n) { return SameText(n, L"Wow6432Node"); });
  EXPECT_EQ(filtered, expected);
}

TEST(TRegistryExKeyNames, The32BitSoftwareKeyHasNoWow6432Node) {
  // The 32-bit view of SOFTWARE is Wow6432Node itself, on Wine as on Windows.
  TRegistry plain;
  const std::vector<std::wstring> names = KeyNames(plain, kHklm, L"\\SOFTWARE", false);
  EXPECT_FALSE(names.empty());
  EXPECT_FALSE(Contains(names, L"Wow6432Node"));
}

TEST(TRegistryExReadString, ReadsThroughA2048ByteBuffer) {
  TestKey key(kHkcu + L"\\Software\\" + test::UniqueKeyName(), kOwnView);
  const std::wstring fits(1023, L'f');      // 2048 bytes with its NUL
  const std::wstring tooLong(1024, L't');   // 2050 bytes with its NUL
  ASSERT_TRUE(test::RawSetString(key.Text(), L"Fits", fits, kOwnView));
  ASSERT_TRUE(test::RawSetString(key.Text(), L"TooLong", tooLong, kOwnView));
  ASSERT_TRUE(test::RawSetDword(key.Text(), L"Number", 7, kOwnView));

  const struct {
    const wchar_t* value;
    std::wstring expected;
  } cases[] = {
      {L"Fits", fits},
      {L"TooLong", L""},
      {L"Absent", L""},
      {L"Number", TRegistryEx::kReadErrorMarker},  // the type check's error, caught
  };
  TRegistryEx ex;
  ex.SetRootKey(RootKeyFromName(kHkcu));
  std::wstring path = key.Text().substr(kHkcu.size());
  ASSERT_TRUE(ex.OpenKeyReadOnly(path));
  for (const auto& c : cases) EXPECT_EQ(ex.ReadString(c.value), c.expected) << c.value;

  // The limit is TRegistryEx's own.
  EXPECT_EQ(RegReadStringAt(kHkcu, path, L"TooLong", false), tooLong);
}

}  // namespace
}  // namespace orvix
