// Importing .reg text into the simulated registry.
#include "platform/sim/reg_file.h"

#include <gtest/gtest.h>

#include <string>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kV5 = L"Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const wchar_t* kV4 = L"REGEDIT4\r\n\r\n";
constexpr const wchar_t* kKey = L"HKEY_CURRENT_USER\\Software\\Imported";

Bytes Utf16z(std::wstring_view text) {
  Bytes bytes = ToUtf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class RegFileTest : public SimMachineTest {
 protected:
  void Import(const std::wstring& header, const std::wstring& body) {
    sim::ImportRegText(Registry(), header + L"[" + kKey + L"]\r\n" + body);
  }
};

struct ValueCase : NamedCase {
  const wchar_t* header;
  const wchar_t* line;
  DWORD type;
  Bytes data;
};

class RegFileValueTest : public RegFileTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RegFileValueTest, StoresTypeAndBytes) {
  const ValueCase& c = GetParam();
  Import(c.header, c.line);
  const auto value = Registry().GetValue(kKey, L"v");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, c.type);
  EXPECT_EQ(value->data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegFileValueTest,
    ::testing::Values(
        ValueCase{{"String"}, kV5, LR"("v"="C:\\Program Files\\Foo")", REG_SZ, Utf16z(L"C:\\Program Files\\Foo")},
        ValueCase{{"Quotes"}, kV5, LR"("v"="say \"hi\"")", REG_SZ, Utf16z(L"say \"hi\"")},
        ValueCase{{"EmptyString"}, kV5, LR"("v"="")", REG_SZ, Utf16z(L"")},
        ValueCase{{"SpacesAroundEquals"}, kV5, LR"("v" = "x")", REG_SZ, Utf16z(L"x")},
        ValueCase{{"Dword"}, kV5, L"\"v\"=dword:0000ff01", REG_DWORD, Bytes{0x01, 0xFF, 0, 0}},
        ValueCase{{"DwordMax"}, kV5, L"\"v\"=dword:FFFFFFFF", REG_DWORD, Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        ValueCase{{"Binary"}, kV5, L"\"v\"=hex:de,AD,00", REG_BINARY, Bytes{0xDE, 0xAD, 0x00}},
        ValueCase{{"EmptyBinary"}, kV5, L"\"v\"=hex:", REG_BINARY, Bytes{}},
        ValueCase{{"ExpandV5IsUtf16"}, kV5, L"\"v\"=hex(2):25,00,41,00,25,00,00,00", REG_EXPAND_SZ, Utf16z(L"%A%")},
        ValueCase{{"ExpandV4IsAnsi"}, kV4, L"\"v\"=hex(2):25,41,25,00", REG_EXPAND_SZ, Utf16z(L"%A%")},
        ValueCase{{"ExpandV4Windows1252"}, kV4, L"\"v\"=hex(2):80,e9,00", REG_EXPAND_SZ, Utf16z(L"\u20ac\u00e9")},
        ValueCase{{"MultiStringV5"},
                  kV5,
                  L"\"v\"=hex(7):61,00,00,00,62,00,00,00,00,00",
                  REG_MULTI_SZ,
                  Bytes{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}},
        ValueCase{{"MultiStringV4"},
                  kV4,
                  L"\"v\"=hex(7):61,00,62,00,00",
                  REG_MULTI_SZ,
                  Bytes{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}},
        ValueCase{{"Qword"}, kV5, L"\"v\"=hex(b):01,02,03,04,05,06,07,08", REG_QWORD, Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
        ValueCase{{"NoneType"}, kV5, L"\"v\"=hex(0):", REG_NONE, Bytes{}},
        ValueCase{
            {"Continuation"}, kV5, L"\"v\"=hex:01,02,\\\r\n  03,04,\\\r\n  05", REG_BINARY, Bytes{1, 2, 3, 4, 5}}),
    CaseName{});

TEST_F(RegFileTest, EscapedValueNamesAndTheDefaultValue) {
  Import(kV5,
         LR"(@="default")"
         L"\r\n"
         LR"("a\"b\\c"="x")"
         L"\r\n"
         LR"("k=v"="y")"
         L"\r\n");
  EXPECT_EQ(Registry().GetString(kKey, L""), L"default");
  EXPECT_EQ(Registry().GetString(kKey, L"a\"b\\c"), L"x");
  EXPECT_EQ(Registry().GetString(kKey, L"k=v"), L"y");
}

TEST_F(RegFileTest, CommentsAndBlankLinesAreSkipped) {
  Import(kV5, L"; a comment\r\n\r\n  ; indented comment\r\n\"v\"=dword:00000001\r\n");
  const auto value = Registry().GetValue(kKey, L"v");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->data, (Bytes{1, 0, 0, 0}));
}

TEST_F(RegFileTest, DeletionsRemoveKeysWithTheirTreesAndSingleValues) {
  Registry().PutString(L"HKCU\\Software\\Old\\Sub", L"V", L"x");
  Registry().PutString(L"HKCU\\Software\\Keep", L"Gone", L"x");
  Registry().PutString(L"HKCU\\Software\\Keep", L"Stays", L"y");
  sim::ImportRegText(Registry(), std::wstring(kV5) +
                                     L"[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
                                     L"\"Ignored\"=\"because the key is being deleted\"\r\n"
                                     L"[-HKEY_CURRENT_USER\\Software\\NeverWas]\r\n"
                                     L"[HKEY_CURRENT_USER\\Software\\Keep]\r\n"
                                     L"\"Gone\"=-\r\n"
                                     L"\"NeverWas\"=-\r\n");
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Old"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\NeverWas"));
  EXPECT_FALSE(Registry().GetValue(L"HKCU\\Software\\Keep", L"Gone").has_value());
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\Keep", L"Stays"), L"y");
}

TEST_F(RegFileTest, KeysAreStoredAsWrittenWithoutRedirection) {
  sim::ImportRegText(Registry(), std::wstring(kV5) +
                                     L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\n"
                                     L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vendor32]\n"
                                     L"[HKEY_CLASSES_ROOT\\.foo]\n");
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Vendor"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Vendor32"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\.foo"));
}

struct ErrorCase : NamedCase {
  const wchar_t* text;
  int line;
};

class RegFileErrorTest : public RegFileTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(RegFileErrorTest, NamesTheLine) {
  try {
    sim::ImportRegText(Registry(), GetParam().text);
    FAIL() << "no error raised";
  } catch (const sim::RegFileError& e) {
    EXPECT_EQ(e.Line(), GetParam().line) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, RegFileErrorTest,
    ::testing::Values(
        ErrorCase{{"Empty"}, L"", 1},
        ErrorCase{{"NoHeader"}, L"[HKEY_CURRENT_USER\\A]\n", 1},
        ErrorCase{{"WrongHeader"}, L"\n\nWindows Registry Editor Version 4.00\n", 3},
        ErrorCase{{"ValueOutsideKey"}, L"REGEDIT4\n\n\"v\"=\"x\"\n", 3},
        ErrorCase{{"UnterminatedKey"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2},
        ErrorCase{{"UnknownRoot"}, L"REGEDIT4\n[HKEY_NOWHERE\\A]\n", 2},
        ErrorCase{{"UnknownRootDeleted"}, L"REGEDIT4\n[-HKEY_NOWHERE\\A]\n", 2},
        ErrorCase{{"RootDeleted"}, L"REGEDIT4\n[-HKEY_CURRENT_USER]\n", 2},
        ErrorCase{{"UnquotedName"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\nv=\"x\"\n", 3},
        ErrorCase{{"MissingEquals"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\" \"x\"\n", 3},
        ErrorCase{{"UnterminatedString"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\n", 3},
        ErrorCase{{"TextAfterString"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\" y\n", 3},
        ErrorCase{{"DwordTooLong"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789\n", 3},
        ErrorCase{{"DwordNotHex"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=dword:0000000g\n", 3},
        ErrorCase{{"HexByteTooLong"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:012\n", 3},
        ErrorCase{{"HexTypeUnclosed"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex(2:00\n", 3},
        ErrorCase{{"UnknownData"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=qword:1\n", 3},
        // A continued value is reported at the line where it starts.
        ErrorCase{{"BadByteInContinuation"}, L"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\n\"v\"=hex:01,\\\n  zz\n", 4}),
    CaseName{});

TEST_F(RegFileTest, BytesAreDecodedByTheirEncoding) {
  // UTF-16LE with a byte-order mark, as version 5 files are saved.
  Bytes utf16{0xFF, 0xFE};
  const Bytes body = ToUtf16Le(std::wstring(kV5) + L"[HKEY_CURRENT_USER\\Software\\U16]\r\n\"v\"=\"\u0416\"\r\n");
  utf16.insert(utf16.end(), body.begin(), body.end());
  sim::ImportRegBytes(Registry(), utf16);
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\U16", L"v"), L"\u0416");

  // A REGEDIT4 file in the ANSI code page is not UTF-8.
  const std::string ansi = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Ansi]\r\n\"v\"=\"caf\xE9 \x80\"\r\n";
  sim::ImportRegBytes(Registry(), Bytes(ansi.begin(), ansi.end()));
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\Ansi", L"v"), L"caf\u00e9 \u20ac");

  const std::string utf8 = "\xEF\xBB\xBFREGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Utf8]\r\n\"v\"=\"caf\xC3\xA9\"\r\n";
  sim::ImportRegBytes(Registry(), Bytes(utf8.begin(), utf8.end()));
  EXPECT_EQ(Registry().GetString(L"HKCU\\Software\\Utf8", L"v"), L"caf\u00e9");
}

}  // namespace
}  // namespace orvix::testing
