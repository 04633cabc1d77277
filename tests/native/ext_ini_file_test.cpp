#include "platform/ext_ini_file.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

using Lines = std::vector<std::wstring>;

class ExtIniFileTest : public ::testing::Test {
 protected:
  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
  TExtIniFile ini_;
};

TEST_F(ExtIniFileTest, LoadKeepsOnlySectionsAndTheirTrimmedLines) {
  ini_.LoadText(
      L"orphan=before any section\r\n"
      L"  [ Main ]  \r\n"
      L"; a comment\r\n"
      L"   Width   =   900   \r\n"
      L"\r\n"
      L"\tjust text\t\n"
      L"Path=C:\\a=b\r"
      L"[Main]\r\n"
      L"Width=1\r\n"
      L"Other=2\r\n");
  EXPECT_EQ(ini_.ReadSectionValues(L"main"), (Lines{L"Width=900", L"just text", L"Path=C:\\a=b"}));
  EXPECT_EQ(ini_.ReadSection(L"MAIN"), (Lines{L"Width", L"Path"}));
  EXPECT_EQ(ini_.ReadString(L"main", L"WIDTH", L"-"), L"900");     // first section of a name wins
  EXPECT_EQ(ini_.ReadString(L"Main", L"Path", L"-"), L"C:\\a=b");  // split at the first "="
  EXPECT_EQ(ini_.ReadString(L"Main", L"Other", L"-"), L"-");       // only in the second [Main]
  EXPECT_EQ(ini_.ReadString(L"Main", L"just text", L"-"), L"-");   // a line without "=" is no key
  EXPECT_EQ(ini_.ReadString(L"Missing", L"Width", L"-"), L"-");
  EXPECT_EQ(ini_.Text(),
            L"[Main]\r\nWidth=900\r\njust text\r\nPath=C:\\a=b\r\n\r\n"
            L"[Main]\r\nWidth=1\r\nOther=2\r\n\r\n");
}

TEST_F(ExtIniFileTest, WritesReplaceOrAppendAndCreateSectionsAtTheEnd) {
  ini_.LoadText(L"[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  ini_.WriteString(L"a", L"X", L"10");
  ini_.WriteString(L"A", L"new", L"v");
  ini_.WriteString(L"C", L"k", L"line\r\n[Injected]\r\nk=evil");
  EXPECT_EQ(ini_.Text(),
            L"[A]\r\nX=10\r\ny=2\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=line  [Injected]  k=evil\r\n\r\n");

  ini_.DeleteKey(L"A", L"x");
  EXPECT_EQ(ini_.ReadSection(L"A"), (Lines{L"y", L"new"}));
  EXPECT_EQ(ini_.ReadString(L"A", L"new", L"-"), L"v");  // the index follows the removed line
  ini_.WriteString(L"A", L"y", L"20");
  EXPECT_EQ(ini_.ReadSectionValues(L"A"), (Lines{L"y=20", L"new=v"}));

  ini_.EraseSection(L"b");
  EXPECT_EQ(ini_.ReadString(L"B", L"z", L"-"), L"-");
  EXPECT_EQ(ini_.ReadString(L"C", L"k", L"-"), L"line  [Injected]  k=evil");
}

TEST_F(ExtIniFileTest, EraseSectionRemovesEveryCopyOfARepeatedSection) {
  ini_.LoadText(L"[S]\r\na=1\r\n[T]\r\n[s]\r\na=2\r\n");
  ini_.EraseSection(L"S");
  EXPECT_EQ(ini_.ReadString(L"S", L"a", L"-"), L"-");
  EXPECT_EQ(ini_.Text(), L"[T]\r\n\r\n");
}

TEST_F(ExtIniFileTest, IntegersFillTheWholeValue) {
  ini_.LoadText(L"[S]\r\nbig=5000000000\r\nneg=-12\r\nplus=+7\r\nmixed=12abc\r\nempty=\r\nhex=0x10\r\n");
  struct Case {
    const wchar_t* key;
    std::int64_t expected;
  };
  for (const Case& c : {Case{L"big", 5000000000}, Case{L"neg", -12}, Case{L"plus", 7}, Case{L"mixed", 99},
                        Case{L"empty", 99}, Case{L"hex", 99}, Case{L"missing", 99}}) {
    EXPECT_EQ(ini_.ReadInteger(L"S", c.key, 99), c.expected) << c.key;
  }
  ini_.WriteInteger(L"S", L"size", -4294967296);
  EXPECT_EQ(ini_.ReadString(L"S", L"size", L""), L"-4294967296");
}

TEST_F(ExtIniFileTest, FloatsUseTheUsersDecimalSeparatorAndSurviveALocaleChange) {
  machine_.locale.decimalSeparator = L',';
  ini_.WriteFloat(L"S", L"date", 41425.543217592590);
  EXPECT_EQ(ini_.ReadString(L"S", L"date", L""), L"41425,5432175926");
  EXPECT_DOUBLE_EQ(ini_.ReadFloat(L"S", L"date", 0), 41425.5432175926);

  machine_.locale.decimalSeparator = L'.';
  EXPECT_DOUBLE_EQ(ini_.ReadFloat(L"S", L"date", 0), 41425.5432175926);
  ini_.WriteFloat(L"S", L"date", 0.25);
  EXPECT_EQ(ini_.ReadString(L"S", L"date", L""), L"0.25");

  ini_.LoadText(L"[S]\r\nbad=1.2.3\r\nword=soon\r\nnan=nan\r\nexp=1e-05\r\n");
  EXPECT_EQ(ini_.ReadFloat(L"S", L"bad", -1), -1);
  EXPECT_EQ(ini_.ReadFloat(L"S", L"word", -1), -1);
  EXPECT_EQ(ini_.ReadFloat(L"S", L"nan", -1), -1);
  EXPECT_DOUBLE_EQ(ini_.ReadFloat(L"S", L"exp", -1), 1e-05);
}

TEST_F(ExtIniFileTest, LoadsEveryEncodingAndSavesUtf16WithByteOrderMark) {
  const std::wstring text = L"[Lang]\r\nName = Fran\u00e7ais\r\n";
  struct Case {
    Bytes bytes;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {EncodeTextFile(text, TextEncoding::Utf16LeBom), L"Fran\u00e7ais"},
      {EncodeTextFile(text, TextEncoding::Utf8Bom), L"Fran\u00e7ais"},
      {Bytes{'[', 'L', 'a', 'n', 'g', ']', '\n', 'N', 'a', 'm', 'e', '=', 'F', 'r', 'a', 'n', 0xE7, 'a', 'i', 's'},
       L"Fran\u00e7ais"},  // no mark: the ANSI code page
      {Bytes{0xEF, 0xBB, 0xBF, '[', 'L', 'a', 'n', 'g', ']', '\n', 'N', 'a', 'm', 'e', '=', 0xD0, 0x96}, L"\u0416"},
  };
  machine_.files.PutFolder(L"C:\\Data");
  for (const Case& c : cases) {
    machine_.files.PutFile(L"C:\\Data\\in.lng", c.bytes);
    ASSERT_TRUE(ini_.Load(L"C:\\Data\\in.lng"));
    EXPECT_EQ(ini_.ReadString(L"Lang", L"Name", L""), c.expected);
  }

  ini_.WriteString(L"Lang", L"Other", L"\u4e2d\u6587");
  ASSERT_TRUE(ini_.Save(L"C:\\Data\\out.ini"));
  EXPECT_EQ(machine_.files.FileBytes(L"C:\\Data\\out.ini"),
            EncodeTextFile(L"[Lang]\r\nName=\u0416\r\nOther=\u4e2d\u6587\r\n\r\n", TextEncoding::Utf16LeBom));
  TExtIniFile reloaded;
  ASSERT_TRUE(reloaded.Load(L"C:\\Data\\out.ini"));
  EXPECT_EQ(reloaded.Text(), ini_.Text());
}

TEST_F(ExtIniFileTest, NothingReachesTheDiskBeforeSaveAndAMissingFileIsAnError) {
  machine_.files.PutFile(L"C:\\Data\\cache.ini", "[A]\r\nx=1\r\n");
  ASSERT_TRUE(ini_.Load(L"C:\\Data\\cache.ini"));
  ini_.WriteString(L"A", L"x", L"2");
  ini_.EraseSection(L"A");
  EXPECT_EQ(machine_.files.FileText(L"C:\\Data\\cache.ini"), "[A]\r\nx=1\r\n");

  EXPECT_FALSE(ini_.Load(L"C:\\Data\\none.ini"));
  EXPECT_EQ(ini_.Text(), L"");
  EXPECT_FALSE(ini_.Save(L"C:\\NoFolder\\cache.ini"));
}

}  // namespace
}  // namespace orvix
