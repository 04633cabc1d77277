#include "formats/ini_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvix {
namespace {

constexpr wchar_t kSample[] =
    L"; settings\r\n"
    L"[Main]\r\n"
    L"  Width = 900  \r\n"
    L"Quoted=\"  spaced  \"\r\n"
    L"Single='x'\r\n"
    L"Half=\"open\r\n"
    L"Bare line\r\n"
    L";Language=German\r\n"
    L"Width=1\r\n"
    L"Empty=\r\n"
    L"\r\n"
    L"[ main ]\r\n"
    L"Height=2\r\n"
    L"[Software]\r\n"
    L"ColumnIndex=3\r\n";

TEST(IniText, ReadsAsTheProfileFunctionsDo) {
  const IniText ini(kSample);
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
    std::optional<std::wstring> expected;
  };
  const Case cases[] = {
      {L"Main", L"Width", L"900"},            // blanks around name and value dropped, first key wins
      {L"MAIN", L"width", L"900"},            // names ignore case
      {L" Main ", L" Width ", L"900"},        // and surrounding blanks
      {L"Main", L"Quoted", L"  spaced  "},    // one pair of quotes stripped, the inside kept
      {L"Main", L"Single", L"x"},             //
      {L"Main", L"Half", L"\"open"},          // unmatched quote kept
      {L"Main", L"Empty", L""},               // present but empty
      {L"Main", L"Bare line", std::nullopt},  // a line without "=" is no key
      {L"Main", L";Language", std::nullopt},  // nor is a comment
      {L"Main", L"Language", std::nullopt},   //
      {L"Main", L"Height", std::nullopt},     // only the first section of a name is searched
      {L"Software", L"ColumnIndex", L"3"},    //
      {L"Missing", L"ColumnIndex", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.Read(c.section, c.key), c.expected) << c.section << L"/" << c.key;
  }
  EXPECT_EQ(ini.ReadString(L"Main", L"Nope", L"dflt"), L"dflt");
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::wstring>{L"Main", L"Software"}));
  EXPECT_EQ(ini.KeyNames(L"main"),
            (std::vector<std::wstring>{L"Width", L"Quoted", L"Single", L"Half", L"Width", L"Empty"}));
}

TEST(IniText, ParsesIntegersAsGetPrivateProfileInt) {
  struct Case {
    const wchar_t* value;
    int expected;
  };
  const Case cases[] = {
      {L"42", 42},
      {L"-7", -7},
      {L"+5", 5},
      {L"12abc", 12},
      {L"abc", 99},
      {L"", 99},
      {L"-", 99},
      {L"0x10", 0},
      {L" 3", 99},
      {L"99999999999", INT_MAX},
      {L"-99999999999", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProfileInt(c.value, 99), c.expected) << c.value;

  const IniText ini(L"[Main]\nWidth= 640px\nBad=wide\n");
  EXPECT_EQ(ini.ReadInt(L"Main", L"Width", 870), 640);
  EXPECT_EQ(ini.ReadInt(L"Main", L"Bad", 870), 870);
  EXPECT_EQ(ini.ReadInt(L"Main", L"Missing", 870), 870);
}

TEST(IniText, WriteReplacesTheKeyLineInPlaceAndKeepsEverythingElse) {
  IniText ini(kSample);
  ini.Write(L"MAIN", L"WIDTH", L"1024");
  std::wstring expected(kSample);
  expected.replace(expected.find(L"  Width = 900  "), 15, L"Width=1024");
  EXPECT_EQ(ini.Text(), expected);
  EXPECT_EQ(ini.Read(L"Main", L"Width"), L"1024");
}

TEST(IniText, WriteAddsKeysAfterTheSectionsLastLineAndNewSectionsAtTheEnd) {
  IniText ini(L"; top\n[A]\nx=1\n\n; about B\n[B]\ny=2");
  ini.Write(L"a", L"New", L"v");
  ini.Write(L"B", L"z", L"3");
  ini.Write(L"C", L"k", L"w");
  EXPECT_EQ(ini.Text(), L"; top\n[A]\nx=1\nNew=v\n\n; about B\n[B]\ny=2\nz=3\n[C]\nk=w\n");
}

TEST(IniText, WriteIntoAnEmptyTextUsesCrLf) {
  IniText ini;
  ini.Write(L"Main", L"Language", L"English");
  EXPECT_EQ(ini.Text(), L"[Main]\r\nLanguage=English\r\n");
}

TEST(IniText, LineBreaksInWrittenTextCannotAddLinesOrSections) {
  IniText ini;
  ini.Write(L"Main", L"Language", L"x\r\n[Evil]\r\nLanguage=y");
  EXPECT_EQ(ini.Read(L"Main", L"Language"), L"x  [Evil]  Language=y");
  EXPECT_EQ(ini.SectionNames(), std::vector<std::wstring>{L"Main"});
  EXPECT_EQ(IniText(ini.Text()).Read(L"Main", L"Language"), L"x  [Evil]  Language=y");
}

}  // namespace
}  // namespace orvix
