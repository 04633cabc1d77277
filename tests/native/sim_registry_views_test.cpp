// The simulated registry's views: what a 32-bit process reaches on a 64-bit
// machine, with and without KEY_WOW64_64KEY, and on a 32-bit machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

// Reads the value "Where" of a key opened through the platform's registry.
std::wstring WhereOpens(IRegistryApi& api, HKEY root, const std::wstring& subKey, REGSAM view) {
  HKEY key = 0;
  if (api.OpenKey(root, subKey, KEY_READ | view, &key) != ERROR_SUCCESS) return L"<not found>";
  BYTE data[256] = {};
  DWORD size = sizeof data - 2;
  DWORD type = 0;
  const LSTATUS status = api.QueryValue(key, L"Where", &type, data, &size);
  api.CloseKey(key);
  if (status != ERROR_SUCCESS) return L"<no value>";
  std::wstring text = FromUtf16Le(data, size);
  text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
  return text;
}

struct ViewCase : NamedCase {
  const wchar_t* subKey;    // under HKEY_LOCAL_MACHINE, as the program asks for it
  const wchar_t* stored32;  // the stored key the 32-bit view reaches on a 64-bit machine
};

class SimViewTest : public SimMachineTest, public ::testing::WithParamInterface<ViewCase> {
 protected:
  // Marks the key as asked for and its Wow6432Node twin, so that a read tells
  // which one was reached.
  void SetUp() override {
    const ViewCase& c = GetParam();
    const std::wstring asked = std::wstring(L"HKLM\\") + c.subKey;
    Registry().PutString(asked, L"Where", L"as asked");
    if (asked != std::wstring(L"HKLM\\") + c.stored32) {
      Registry().PutString(std::wstring(L"HKLM\\") + c.stored32, L"Where", L"redirected");
    }
  }
  std::wstring Expected32() const {
    return std::wstring(GetParam().subKey) == GetParam().stored32 ? L"as asked" : L"redirected";
  }
};

TEST_P(SimViewTest, The32BitViewOfA64BitMachineFollowsTheRedirector) {
  EXPECT_EQ(WhereOpens(Registry(), HKEY_LOCAL_MACHINE, GetParam().subKey, 0), Expected32());
  EXPECT_EQ(WhereOpens(Registry(), HKEY_LOCAL_MACHINE, GetParam().subKey, KEY_WOW64_32KEY), Expected32());
}

TEST_P(SimViewTest, The64BitViewReachesTheKeyAsAsked) {
  EXPECT_EQ(WhereOpens(Registry(), HKEY_LOCAL_MACHINE, GetParam().subKey, KEY_WOW64_64KEY), L"as asked");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SimViewTest,
    ::testing::Values(
        ViewCase{{"Software"}, L"SOFTWARE\\Vendor\\App", L"SOFTWARE\\Wow6432Node\\Vendor\\App"},
        ViewCase{{"SoftwareIgnoresCase"}, L"software\\vendor", L"SOFTWARE\\Wow6432Node\\vendor"},
        ViewCase{{"Uninstall"},
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo",
                 L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo"},
        ViewCase{{"SharedClients"}, L"SOFTWARE\\Clients\\Mail", L"SOFTWARE\\Clients\\Mail"},
        ViewCase{{"SharedAppPaths"},
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\foo.exe",
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\foo.exe"},
        ViewCase{{"SharedClassesExtension"}, L"SOFTWARE\\Classes\\.txt", L"SOFTWARE\\Classes\\.txt"},
        ViewCase{{"RedirectedClassesClsid"},
                 L"SOFTWARE\\Classes\\CLSID\\{1}",
                 L"SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{1}"},
        ViewCase{{"RedirectedClassesInterface"},
                 L"SOFTWARE\\Classes\\Interface\\{2}",
                 L"SOFTWARE\\Classes\\Wow6432Node\\Interface\\{2}"},
        ViewCase{{"ExplicitWow6432Node"}, L"SOFTWARE\\Wow6432Node\\Vendor", L"SOFTWARE\\Wow6432Node\\Vendor"},
        ViewCase{{"System"}, L"SYSTEM\\CurrentControlSet\\Services\\Foo", L"SYSTEM\\CurrentControlSet\\Services\\Foo"}),
    CaseName{});

class SimViewMiscTest : public SimMachineTest {};

TEST_F(SimViewMiscTest, UserClassesAreRedirectedLikeTheMachines) {
  Registry().PutString(L"HKCU\\Software\\Classes\\CLSID\\{1}", L"Where", L"as asked");
  Registry().PutString(L"HKCU\\Software\\Classes\\Wow6432Node\\CLSID\\{1}", L"Where", L"redirected");
  Registry().PutString(L"HKCU\\Software\\Vendor", L"Where", L"as asked");
  EXPECT_EQ(WhereOpens(Registry(), HKEY_CURRENT_USER, L"Software\\Classes\\CLSID\\{1}", 0), L"redirected");
  EXPECT_EQ(WhereOpens(Registry(), HKEY_CURRENT_USER, L"Software\\Classes\\CLSID\\{1}", KEY_WOW64_64KEY), L"as asked");
  EXPECT_EQ(WhereOpens(Registry(), HKEY_CURRENT_USER, L"Software\\Vendor", 0), L"as asked");
}

TEST_F(SimViewMiscTest, RelativeOpensFollowTheFlagsOfEachCall) {
  // Windows does not remember the view a parent handle was opened in.
  Registry().PutString(L"HKLM\\SOFTWARE\\Vendor\\App", L"Where", L"64");
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Vendor\\App", L"Where", L"32");
  HKEY vendor = 0;
  ASSERT_EQ(Registry().OpenKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vendor", KEY_READ | KEY_WOW64_64KEY, &vendor),
            ERROR_SUCCESS);
  EXPECT_EQ(WhereOpens(Registry(), vendor, L"App", KEY_WOW64_64KEY), L"64");
  EXPECT_EQ(WhereOpens(Registry(), vendor, L"App", 0), L"32");
  Registry().CloseKey(vendor);
}

TEST_F(SimViewMiscTest, CreatingInThe32BitViewLandsInWow6432Node) {
  HKEY key = 0;
  ASSERT_EQ(Registry().CreateKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\New\\App", KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  Registry().CloseKey(key);
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\New\\App"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\New"));
}

TEST_F(SimViewMiscTest, BothViewFlagsAtOnceAreRefused) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Vendor");
  HKEY key = 0;
  EXPECT_EQ(Registry().OpenKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vendor", KEY_READ | KEY_WOW64_RES, &key),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Registry().DeleteKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vendor", KEY_WOW64_RES), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Vendor"));
}

class SimX86ViewTest : public SimMachineX86Test {};

TEST_F(SimX86ViewTest, A32BitMachineHasOneViewWithoutWow6432Node) {
  Registry().PutString(L"HKLM\\SOFTWARE\\Vendor\\App", L"Where", L"as asked");
  for (REGSAM view : {REGSAM{0}, KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    EXPECT_EQ(WhereOpens(Registry(), HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vendor\\App", view), L"as asked") << view;
  }
  HKEY key = 0;
  ASSERT_EQ(Registry().CreateKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\CLSID\\{1}", KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  Registry().CloseKey(key);
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\CLSID\\{1}"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Wow6432Node"));
}

}  // namespace
}  // namespace orvix::testing
