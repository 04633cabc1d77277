// TRegistry: reading, writing and listing values and sub-keys.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "named_case.h"
#include "platform/registry.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kKey = L"HKCU\\Software\\Values";

Bytes Utf16(std::wstring_view text) { return ToUtf16Le(text); }

// The registry error a call raises, or "" when it raises none.
template <typename Fn>
std::wstring RaisedMessage(Fn&& fn) {
  try {
    fn();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return {};
}

class RegistryValuesTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Registry().PutKey(kKey);
    ASSERT_TRUE(reg.OpenKey(L"\\Software\\Values", false));
  }
  void TearDown() override {
    reg.CloseKey();
    SimMachineTest::TearDown();
  }
  void Put(DWORD type, Bytes data) { Registry().PutValue(kKey, L"V", type, std::move(data)); }

  TRegistry reg;
};

struct StringCase : NamedCase {
  DWORD type;
  Bytes data;
  std::wstring expected;
};

class ReadStringTest : public RegistryValuesTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(ReadStringTest, ReadsUpToTheFirstNul) {
  Put(GetParam().type, GetParam().data);
  EXPECT_EQ(reg.ReadString(L"V"), GetParam().expected);
  // The one-query read agrees, whatever the length; no text is no text.
  EXPECT_EQ(reg.QueryString(L"V").value_or(L""), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Data, ReadStringTest,
    ::testing::Values(
        StringCase{{"Terminated"}, REG_SZ, Utf16(std::wstring(L"abc\0", 4)), L"abc"},
        StringCase{{"NulInside"}, REG_SZ, Utf16(std::wstring(L"ab\0cd\0", 6)), L"ab"},
        StringCase{{"NoTerminator"}, REG_SZ, Utf16(L"abc"), L"abc"},
        StringCase{{"OddByteCount"}, REG_SZ, Bytes{'a', 0, 'b', 0, 'c'}, L"ab"},
        StringCase{{"Empty"}, REG_SZ, Bytes{}, L""},
        StringCase{{"OnlyNul"}, REG_SZ, Bytes{0, 0}, L""},
        StringCase{
            {"ExpandStringUnexpanded"}, REG_EXPAND_SZ, Utf16(std::wstring(L"%WINDIR%\\x\0", 11)), L"%WINDIR%\\x"},
        StringCase{{"LongerThanAFirstTry"}, REG_SZ, Utf16(std::wstring(700, L'x') + L'\0'), std::wstring(700, L'x')},
        StringCase{{"NonAscii"}, REG_SZ, Utf16(std::wstring(L"Caf\u00e9 \u0416\0", 7)), L"Caf\u00e9 \u0416"},
        // A value that holds no bytes reads as empty before its type is looked at.
        StringCase{{"EmptyOfOtherType"}, REG_BINARY, Bytes{}, L""}),
    CaseName{});

TEST_F(RegistryValuesTest, ReadStringOfAnAbsentValueIsEmpty) {
  EXPECT_EQ(reg.ReadString(L"Missing"), L"");
  EXPECT_EQ(reg.QueryString(L"Missing"), std::nullopt);
}

TEST_F(RegistryValuesTest, ReadStringOfAnotherTypeRaises) {
  for (DWORD type : {REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_QWORD}) {
    Put(type, Bytes{1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(RaisedMessage([&] { reg.ReadString(L"V"); }), L"Invalid data type for 'V'") << "type " << type;
    EXPECT_EQ(reg.QueryString(L"V"), std::nullopt) << "type " << type;
  }
}

struct IntegerCase : NamedCase {
  DWORD type;
  Bytes data;
  std::int32_t value;   // when no error is raised
  std::wstring raised;  // the error text, or ""
};

class ReadIntegerTest : public RegistryValuesTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(ReadIntegerTest, ReadsExactlyFourBytesOfDword) {
  const IntegerCase& c = GetParam();
  Put(c.type, c.data);
  std::int32_t value = 0;
  EXPECT_EQ(RaisedMessage([&] { value = reg.ReadInteger(L"V"); }), c.raised);
  if (c.raised.empty()) {
    EXPECT_EQ(value, c.value);
  }
  EXPECT_EQ(reg.QueryInteger(L"V"), c.raised.empty() ? std::optional(c.value) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Data, ReadIntegerTest,
    ::testing::Values(
        IntegerCase{{"Dword"}, REG_DWORD, Bytes{0x78, 0x56, 0x34, 0x12}, 0x12345678, L""},
        IntegerCase{{"AllOnesIsMinusOne"}, REG_DWORD, Bytes{0xFF, 0xFF, 0xFF, 0xFF}, -1, L""},
        IntegerCase{{"ShortString"}, REG_SZ, Utf16(std::wstring(L"1\0", 2)), 0, L"Invalid data type for 'V'"},
        IntegerCase{{"LongString"}, REG_SZ, Utf16(std::wstring(L"12345\0", 6)), 0, L"Invalid data type for 'V'"},
        IntegerCase{{"BinaryOfFourBytes"}, REG_BINARY, Bytes{1, 0, 0, 0}, 0, L"Invalid data type for 'V'"},
        IntegerCase{{"Qword"}, REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, 0, L"Invalid data type for 'V'"},
        // A REG_DWORD of the wrong size holds no 32-bit number.
        IntegerCase{{"DwordTooShort"}, REG_DWORD, Bytes{1, 2}, 0, L"Failed to get data for 'V'"},
        IntegerCase{{"DwordTooLong"}, REG_DWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, 0, L"Failed to get data for 'V'"},
        IntegerCase{{"DwordEmpty"}, REG_DWORD, Bytes{}, 0, L"Failed to get data for 'V'"}),
    CaseName{});

TEST_F(RegistryValuesTest, ReadIntegerOfAnAbsentValueRaises) {
  EXPECT_EQ(RaisedMessage([&] { reg.ReadInteger(L"Missing"); }), L"Failed to get data for 'Missing'");
  EXPECT_EQ(reg.QueryInteger(L"Missing"), std::nullopt);
}

TEST_F(RegistryValuesTest, WriteStringStoresTheTerminatingNul) {
  for (const std::wstring& text : {std::wstring(L"C:\\Program Files\\Foo"), std::wstring()}) {
    reg.WriteString(L"S", text);
    EXPECT_EQ(reg.GetDataType(L"S"), rdString);
    EXPECT_EQ(reg.GetDataSize(L"S"), static_cast<int>((text.size() + 1) * 2));
    EXPECT_EQ(reg.ReadString(L"S"), text);
  }
}

TEST_F(RegistryValuesTest, WriteIntegerStoresALittleEndianDword) {
  reg.WriteInteger(L"I", -2);
  const auto stored = Registry().GetValue(kKey, L"I");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->type, REG_DWORD);
  EXPECT_EQ(stored->data, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(reg.ReadInteger(L"I"), -2);
}

TEST_F(RegistryValuesTest, WritesToAKeyOpenedReadOnlyRaise) {
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\Software\\Values"));
  EXPECT_EQ(RaisedMessage([&] { reg.WriteString(L"S", L"x"); }), L"Failed to set data for 'S'");
  EXPECT_EQ(RaisedMessage([&] { reg.WriteInteger(L"I", 1); }), L"Failed to set data for 'I'");
  EXPECT_FALSE(Registry().GetValue(kKey, L"S").has_value());
}

TEST_F(RegistryValuesTest, DataTypesAndSizes) {
  const struct {
    DWORD type;
    TRegDataType expected;
  } cases[] = {{REG_SZ, rdString},     {REG_EXPAND_SZ, rdExpandString},  {REG_DWORD, rdInteger},
               {REG_BINARY, rdBinary}, {REG_MULTI_SZ, rdUnknown},        {REG_QWORD, rdUnknown},
               {REG_NONE, rdUnknown},  {REG_DWORD_BIG_ENDIAN, rdUnknown}};
  for (const auto& c : cases) {
    Put(c.type, Bytes{1, 2, 3});
    EXPECT_EQ(reg.GetDataType(L"V"), c.expected) << "type " << c.type;
    EXPECT_EQ(reg.GetDataSize(L"V"), 3);
    EXPECT_TRUE(reg.ValueExists(L"v")) << "value names ignore case";
  }
  EXPECT_EQ(reg.GetDataType(L"Missing"), rdUnknown);
  EXPECT_EQ(reg.GetDataSize(L"Missing"), -1);
  EXPECT_FALSE(reg.ValueExists(L"Missing"));
}

TEST_F(RegistryValuesTest, NameListsReplaceTheirContentInIndexOrder) {
  for (const wchar_t* name : {L"beta", L"Alpha", L"gamma", L"_under", L"Beta2"}) {
    Registry().PutKey(std::wstring(kKey) + L"\\" + name);
  }
  for (const wchar_t* name : {L"z", L"a", L"M"}) Registry().PutDword(kKey, name, 1);

  std::vector<std::wstring> names{L"stale"};
  reg.GetKeyNames(names);
  // Sorted ignoring case, by upper-case code: '_' (0x5F) comes after the letters.
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"beta", L"Beta2", L"gamma", L"_under"}));

  names = {L"stale"};
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"z", L"a", L"M"}));

  RegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.subKeys, 5u);
  EXPECT_EQ(info.values, 3u);
  EXPECT_EQ(info.maxSubKeyLen, 6u);
  EXPECT_TRUE(reg.HasSubKeys());
}

TEST_F(RegistryValuesTest, WithNoKeyOpenNothingIsFoundAndNothingIsListed) {
  TRegistry closed;
  std::vector<std::wstring> names{L"stale"};
  closed.GetKeyNames(names);
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(closed.HasSubKeys());
  EXPECT_FALSE(closed.ValueExists(L"V"));
  EXPECT_EQ(closed.ReadString(L"V"), L"");
  EXPECT_EQ(RaisedMessage([&] { closed.WriteString(L"V", L"x"); }), L"Failed to set data for 'V'");
}

TEST_F(RegistryValuesTest, DeleteValueAnswersWhetherItDeleted) {
  Registry().PutDword(kKey, L"Gone", 1);
  EXPECT_TRUE(reg.DeleteValue(L"Gone"));
  EXPECT_FALSE(Registry().GetValue(kKey, L"Gone").has_value());
  EXPECT_FALSE(reg.DeleteValue(L"Gone"));
}

}  // namespace
}  // namespace orvix::testing
