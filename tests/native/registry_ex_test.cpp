// TRegistryEx: key lists without Wow6432Node, bounded string reads that
// never raise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "named_case.h"
#include "platform/registry.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

class RegistryExTest : public SimMachineTest {};

TEST_F(RegistryExTest, KeyNamesOfSoftwareIn64BitViewLeaveOutWow6432Node) {
  Registry().PutKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Foo");
  Registry().PutKey(L"HKLM\\SOFTWARE\\Vendor");
  TRegistryEx reg(KEY_READ | KEY_WOW64_64KEY);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKey(L"\\SOFTWARE", false));

  std::vector<std::wstring> names;
  reg.TRegistry::GetKeyNames(names);
  ASSERT_EQ(names, (std::vector<std::wstring>{L"Classes", L"Microsoft", L"Vendor", L"Wow6432Node"}));
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Classes", L"Microsoft", L"Vendor"}));
}

TEST_F(RegistryExTest, AnySpellingOfWow6432NodeIsLeftOut) {
  for (const wchar_t* name : {L"WOW6432NODE", L"wow6432node ", L" Wow6432Node", L"Wow6432Node2", L"Wow64", L"Other"}) {
    Registry().PutKey(std::wstring(L"HKCU\\Software\\Mixed\\") + name);
  }
  TRegistryEx reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Mixed", false));
  std::vector<std::wstring> names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Other", L"Wow64", L"Wow6432Node2"}));
}

struct ExStringCase : NamedCase {
  DWORD type;
  Bytes data;
  std::wstring expected;
};

class RegistryExReadTest : public RegistryExTest, public ::testing::WithParamInterface<ExStringCase> {};

TEST_P(RegistryExReadTest, ReadsThroughA2048ByteBufferWithoutRaising) {
  const ExStringCase& c = GetParam();
  Registry().PutValue(L"HKCU\\Software\\Ex", L"V", c.type, c.data);
  TRegistryEx reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Ex", false));
  std::wstring text;
  EXPECT_NO_THROW(text = reg.ReadString(L"V"));
  EXPECT_EQ(text, c.expected);
}

std::wstring Repeat(std::size_t count) { return std::wstring(count, L'x'); }
Bytes Terminated(const std::wstring& text) {
  Bytes bytes = ToUtf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Data, RegistryExReadTest,
    ::testing::Values(ExStringCase{{"Short"}, REG_SZ, Terminated(L"http://home/"), L"http://home/"},
                      ExStringCase{{"Exactly2048Bytes"}, REG_SZ, Terminated(Repeat(1023)), Repeat(1023)},
                      ExStringCase{{"LongerThan2048Bytes"}, REG_SZ, Terminated(Repeat(1024)), L""},
                      ExStringCase{{"Expandable"}, REG_EXPAND_SZ, Terminated(L"%TEMP%"), L"%TEMP%"},
                      ExStringCase{{"WrongType"}, REG_DWORD, Bytes{1, 0, 0, 0}, TRegistryEx::kReadErrorMarker}),
    CaseName{});

TEST_F(RegistryExTest, AnAbsentValueReadsEmpty) {
  Registry().PutKey(L"HKCU\\Software\\Ex");
  TRegistryEx reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Ex", false));
  EXPECT_EQ(reg.ReadString(L"Missing"), L"");
}

TEST_F(RegistryExTest, ThePlainClassReadsLongStringsWhole) {
  Registry().PutString(L"HKCU\\Software\\Ex", L"Long", Repeat(5000));
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(L"\\Software\\Ex", false));
  EXPECT_EQ(reg.ReadString(L"Long"), Repeat(5000));
}

}  // namespace
}  // namespace orvix::testing
