#include "platform/file_helpers.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

using sim::FileOp;

class FileHelpersTest : public ::testing::Test {
 protected:
  void SetUp() override { files_.PutFolder(L"C:\\Data"); }

  std::string Text(const std::wstring& path) { return files_.FileText(path).value_or("<missing>"); }
  static Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
  sim::SimFileSystem& files_ = machine_.files;
};

TEST_F(FileHelpersTest, ReplaceWritesATempFileInTheSameFolderFlushesItAndMovesItOver) {
  files_.PutFile(L"C:\\Data\\a.ini", "old");
  files_.ClearJournal();
  ASSERT_TRUE(ReplaceFileBytes(L"C:\\Data\\a.ini", BytesOf("new content")));
  EXPECT_EQ(Text(L"C:\\Data\\a.ini"), "new content");
  EXPECT_EQ(files_.ListNames(L"C:\\Data"), std::vector<std::wstring>{L"a.ini"});

  const std::vector<sim::FileEvent> journal = files_.Journal();
  std::vector<FileOp> ops;
  for (const sim::FileEvent& event : journal) ops.push_back(event.op);
  EXPECT_EQ(ops, (std::vector<FileOp>{FileOp::Write, FileOp::Flush, FileOp::Close, FileOp::Move}));
  const sim::FileEvent& move = journal.back();
  EXPECT_EQ(move.path, journal.front().path);  // the file written is the file moved
  EXPECT_TRUE(move.path.starts_with(L"C:\\Data\\")) << move.path;
  EXPECT_EQ(move.to, L"C:\\Data\\a.ini");
  EXPECT_EQ(move.flags, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

TEST_F(FileHelpersTest, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
  files_.PutFile(L"C:\\Data\\a.ini", "old");
  files_.PutFile(L"C:\\Data\\held.ini", "held");
  files_.LockFile(L"C:\\Data\\held.ini", FILE_SHARE_READ | FILE_SHARE_WRITE);

  files_.Drive(L'C').free = 4;  // the new content does not fit
  EXPECT_FALSE(ReplaceFileBytes(L"C:\\Data\\a.ini", BytesOf("much longer content")));
  EXPECT_EQ(Text(L"C:\\Data\\a.ini"), "old");
  files_.Drive(L'C').free = 1 << 30;

  EXPECT_FALSE(ReplaceFileBytes(L"C:\\Data\\held.ini", BytesOf("new")));  // another program holds it
  EXPECT_EQ(Text(L"C:\\Data\\held.ini"), "held");
  EXPECT_EQ(files_.ListNames(L"C:\\Data"), (std::vector<std::wstring>{L"a.ini", L"held.ini"}));

  EXPECT_FALSE(ReplaceFileBytes(L"C:\\Missing\\a.ini", BytesOf("new")));  // the folder is never created
  EXPECT_FALSE(files_.Exists(L"C:\\Missing"));
  EXPECT_EQ(files_.OpenHandleCount(), 0u);
}

TEST_F(FileHelpersTest, ReadFileBytesReadsWholeFilesAndFailsOnMissingOrHeldOnes) {
  const Bytes big(3 << 20, 0x5A);  // more than one read
  files_.PutFile(L"C:\\Data\\big.bin", big);
  files_.PutFile(L"C:\\Data\\held.bin", "x");
  files_.LockFile(L"C:\\Data\\held.bin", 0);

  Bytes bytes{1, 2, 3};
  EXPECT_TRUE(ReadFileBytes(L"C:\\Data\\big.bin", bytes, big.size()));
  EXPECT_EQ(bytes, big);
  EXPECT_FALSE(ReadFileBytes(L"C:\\Data\\none.bin", bytes, big.size()));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadFileBytes(L"C:\\Data\\held.bin", bytes, big.size()));
  EXPECT_EQ(files_.OpenHandleCount(), 0u);
}

// A file over the reader's cap is unreadable, never an allocation of
// whatever size it has.
TEST_F(FileHelpersTest, AFileOverItsReadersCapIsUnreadable) {
  files_.PutFile(L"C:\\Data\\big.bin", Bytes(1001, 0x5A));
  Bytes bytes{1, 2, 3};
  EXPECT_FALSE(ReadFileBytes(L"C:\\Data\\big.bin", bytes, 1000));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(ReadFileBytes(L"C:\\Data\\big.bin", bytes, 1001));
  EXPECT_EQ(files_.OpenHandleCount(), 0u);
}

TEST_F(FileHelpersTest, ExistenceTestsTellFilesFromFolders) {
  files_.PutFile(L"C:\\Data\\f.txt", "x");
  EXPECT_TRUE(FileExists(L"C:\\Data\\f.txt"));
  EXPECT_FALSE(FileExists(L"C:\\Data"));
  EXPECT_FALSE(FileExists(L""));
  EXPECT_TRUE(DirectoryExists(L"C:\\Data"));
  EXPECT_TRUE(DirectoryExists(L"C:\\Data\\"));
  EXPECT_TRUE(DirectoryExists(L"C:\\"));
  EXPECT_FALSE(DirectoryExists(L"C:\\Data\\f.txt"));
  EXPECT_FALSE(DirectoryExists(L"C:\\None"));
}

TEST_F(FileHelpersTest, ForceDirectoriesCreatesEveryMissingLevel) {
  EXPECT_TRUE(ForceDirectories(L"C:\\Data\\a\\b\\c\\"));
  EXPECT_TRUE(files_.IsFolder(L"C:\\Data\\a\\b\\c"));
  EXPECT_TRUE(ForceDirectories(L"C:\\Data\\a\\b"));  // already there

  files_.PutFile(L"C:\\Data\\file", "x");
  EXPECT_FALSE(ForceDirectories(L"C:\\Data\\file\\sub"));  // a file stands in the way
  EXPECT_FALSE(ForceDirectories(L"Q:\\x"));                // no such drive
  EXPECT_FALSE(ForceDirectories(L""));
}

TEST_F(FileHelpersTest, TextFilesAreDecodedByTheirByteOrderMark) {
  struct Case {
    Bytes bytes;
    TextEncoding encoding;
  };
  const std::wstring text = L"[Main]\r\nName=Caf\u00e9 \u0416";
  const Case cases[] = {
      {EncodeTextFile(text, TextEncoding::Utf16LeBom), TextEncoding::Utf16LeBom},
      {EncodeTextFile(text, TextEncoding::Utf8Bom), TextEncoding::Utf8Bom},
  };
  for (const Case& c : cases) {
    TextEncoding found = TextEncoding::Ansi;
    EXPECT_EQ(DecodeTextFile(c.bytes, &found), text);
    EXPECT_EQ(found, c.encoding);
  }
  EXPECT_EQ(EncodeTextFile(L"a", TextEncoding::Utf16LeBom), (Bytes{0xFF, 0xFE, 'a', 0}));
  EXPECT_EQ(EncodeTextFile(L"a", TextEncoding::Utf8Bom), (Bytes{0xEF, 0xBB, 0xBF, 'a'}));

  TextEncoding found = TextEncoding::Utf8Bom;
  EXPECT_EQ(DecodeTextFile(Bytes{'C', 'a', 'f', 0xE9}, &found), L"Caf\u00e9");  // Windows-1252
  EXPECT_EQ(found, TextEncoding::Ansi);
  EXPECT_EQ(EncodeTextFile(L"Caf\u00e9", TextEncoding::Ansi), (Bytes{'C', 'a', 'f', 0xE9}));
  EXPECT_TRUE(FitsAnsiCodePage(L"Caf\u00e9"));
  EXPECT_FALSE(FitsAnsiCodePage(L"\u0416"));
}

}  // namespace
}  // namespace orvix
