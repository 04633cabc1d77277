#include "platform/profile_ini.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

constexpr wchar_t kPath[] = L"C:\\Data\\test.ini";

class ProfileIniTest : public ::testing::Test {
 protected:
  void SetUp() override { files_.PutFolder(L"C:\\Data"); }

  Bytes FileBytes() { return files_.FileBytes(kPath).value_or(Bytes{}); }
  std::wstring FileText(TextEncoding* encoding = nullptr) { return DecodeTextFile(FileBytes(), encoding); }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
  sim::SimFileSystem& files_ = machine_.files;
};

TEST_F(ProfileIniTest, AMissingFileReadsDefaultsAndTheFirstWriteCreatesAUtf16File) {
  EXPECT_EQ(ReadIniString(kPath, L"Main", L"Language", L"English"), L"English");
  EXPECT_EQ(ReadIniInt(kPath, L"Main", L"Width", 870), 870);
  EXPECT_TRUE(ReadIniBool(kPath, L"Main", L"Flag", true));
  EXPECT_TRUE(ReadIniSectionNames(kPath).empty());
  EXPECT_FALSE(files_.Exists(kPath));

  ASSERT_TRUE(WriteIniString(kPath, L"Main", L"Language", L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"));
  TextEncoding encoding = TextEncoding::Ansi;
  EXPECT_EQ(FileText(&encoding), L"[Main]\r\nLanguage=\u0420\u0443\u0441\u0441\u043a\u0438\u0439\r\n");
  EXPECT_EQ(encoding, TextEncoding::Utf16LeBom);
  EXPECT_EQ(ReadIniString(kPath, L"main", L"LANGUAGE", L""), L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439");
}

TEST_F(ProfileIniTest, WritesKeepTheFilesEncodingAndEveryOtherLine) {
  files_.PutFile(kPath, "; Caf\xE9 settings\r\n[Main]\r\nWidth = 900 \r\n\r\n[Other]\r\nx=\"quoted\"\r\n");
  ASSERT_TRUE(WriteIniInt(kPath, L"Main", L"Width", 1024));
  ASSERT_TRUE(WriteIniBool(kPath, L"Other", L"Flag", true));
  EXPECT_EQ(files_.FileText(kPath),
            "; Caf\xE9 settings\r\n[Main]\r\nWidth=1024\r\n\r\n[Other]\r\nx=\"quoted\"\r\nFlag=1\r\n");  // still ANSI
  EXPECT_EQ(ReadIniString(kPath, L"Other", L"x", L""), L"quoted");
  EXPECT_EQ(ReadIniSectionNames(kPath), (std::vector<std::wstring>{L"Main", L"Other"}));

  // A character the code page lacks turns the file into UTF-16 instead of a "?".
  ASSERT_TRUE(WriteIniString(kPath, L"Main", L"Language", L"\u4e2d\u6587"));
  TextEncoding encoding = TextEncoding::Ansi;
  EXPECT_EQ(FileText(&encoding),
            L"; Caf\u00e9 settings\r\n[Main]\r\nWidth=1024\r\nLanguage=\u4e2d\u6587\r\n\r\n"
            L"[Other]\r\nx=\"quoted\"\r\nFlag=1\r\n");
  EXPECT_EQ(encoding, TextEncoding::Utf16LeBom);

  files_.PutFile(kPath, EncodeTextFile(L"[Main]\r\nA=1\r\n", TextEncoding::Utf8Bom));
  ASSERT_TRUE(WriteIniString(kPath, L"Main", L"B", L"\u4e2d"));
  EXPECT_EQ(FileText(&encoding), L"[Main]\r\nA=1\r\nB=\u4e2d\r\n");
  EXPECT_EQ(encoding, TextEncoding::Utf8Bom);
}

TEST_F(ProfileIniTest, IntegersAndBooleansReadAsTheProfileFunctionsDo) {
  files_.PutFile(kPath, "[Main]\r\nA=2\r\nB=0\r\nC=yes\r\nD=-1\r\nE=15px\r\n");
  EXPECT_TRUE(ReadIniBool(kPath, L"Main", L"A", false));
  EXPECT_FALSE(ReadIniBool(kPath, L"Main", L"B", true));
  EXPECT_TRUE(ReadIniBool(kPath, L"Main", L"C", true));  // not a number: the default
  EXPECT_FALSE(ReadIniBool(kPath, L"Main", L"C", false));
  EXPECT_TRUE(ReadIniBool(kPath, L"Main", L"D", false));
  EXPECT_EQ(ReadIniInt(kPath, L"Main", L"E", 0), 15);
  ASSERT_TRUE(WriteIniBool(kPath, L"Main", L"A", false));
  EXPECT_EQ(ReadIniString(kPath, L"Main", L"A", L""), L"0");
}

TEST_F(ProfileIniTest, AFileThatCannotBeReadOrReplacedIsLeftAsItWas) {
  files_.PutFile(kPath, "[Main]\r\nA=1\r\n");
  files_.LockFile(kPath, 0);  // not even readable
  EXPECT_EQ(ReadIniString(kPath, L"Main", L"A", L"dflt"), L"dflt");
  EXPECT_FALSE(WriteIniString(kPath, L"Main", L"B", L"2"));
  files_.UnlockFile(kPath);
  EXPECT_EQ(files_.FileText(kPath), "[Main]\r\nA=1\r\n");

  EXPECT_FALSE(WriteIniString(L"C:\\NoFolder\\x.ini", L"Main", L"A", L"1"));
  EXPECT_FALSE(files_.Exists(L"C:\\NoFolder"));
  EXPECT_FALSE(WriteIniString(L"", L"Main", L"A", L"1"));
}

TEST_F(ProfileIniTest, WritingTheSameValueAgainLeavesTheFileUntouched) {
  files_.PutFile(kPath, "[Main]\r\nA=1\r\n");
  files_.ClearJournal();
  EXPECT_TRUE(WriteIniInt(kPath, L"Main", L"A", 1));
  for (const sim::FileEvent& event : files_.Journal()) EXPECT_EQ(event.op, sim::FileOp::Close) << event.path;
}

}  // namespace
}  // namespace orvix
