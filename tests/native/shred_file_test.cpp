// Shredding one file over the simulated machine: the fill values, the chunks
// and blocks of each overwrite pass, the flush before the delete, stops and
// files that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>

#include "shred_fixture.h"

namespace orvix {
namespace {

using testing::kMiB;

class ShredFileTest : public testing::ShredTest {};

TEST(ShredFillTest, FreshStateGivesTheKnownSequence) {
  TShredFill fill;
  std::vector<int> values;
  for (int i = 0; i < 10; ++i) values.push_back(fill.Next());
  EXPECT_EQ(values, (std::vector<int>{0, 8, 219, 51, 69, 171, 81, 41, 94, 108}));
  for (int i = 10; i < 999; ++i) fill.Next();
  EXPECT_EQ(fill.Next(), 118) << "the 1000th value: the state wraps modulo 2^32";
}

TEST_F(ShredFileTest, TwelveMiBGoesInThreeChunksPerPassEachPassFlushedBeforeTheDelete) {
  const std::wstring path = L"C:\\Data\\big.bin";
  PutCountingFile(path, 12 * kMiB);
  const auto [first, second] = NextTwoFills();
  Files().ClearJournal();
  testing::ScriptedPump pump;

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Shredded);

  EXPECT_EQ(Steps(), (std::vector<std::string>{
                         Write(0, 5 * kMiB, first), Write(5 * kMiB, 5 * kMiB, first), Write(10 * kMiB, 2 * kMiB, first),
                         "flush", "close",
                         Write(0, 5 * kMiB, second), Write(5 * kMiB, 5 * kMiB, second),
                         Write(10 * kMiB, 2 * kMiB, second), "flush", "close",
                         "delete C:\\Data\\big.bin"}));
  EXPECT_FALSE(Files().Exists(path));
  // Messages go per chunk and per 16 KiB block, never per byte.
  EXPECT_EQ(pump.calls, 2 * (3 + 12 * kMiB / kShredBlockSize));
}

TEST_F(ShredFileTest, EachPassDrawsTheNextValueOfTheProcessWideGenerator) {
  TShredFill expected = ShredFillGenerator();
  testing::ScriptedPump pump;
  for (const wchar_t* path : {L"C:\\Data\\one.txt", L"C:\\Data\\two.txt"}) {
    PutCountingFile(path, 100);
    Files().ClearJournal();
    ASSERT_EQ(ShredFile(path, pump), TShredResult::Shredded);
    const int first = expected.Next();
    const int second = expected.Next();
    EXPECT_EQ(Steps(), (std::vector<std::string>{Write(0, 100, first), "flush", "close", Write(0, 100, second),
                                                 "flush", "close", "delete " + testing::Narrow(path)}));
  }
}

TEST_F(ShredFileTest, ALinkOrAHardLinkedNameIsDeletedAndTheDataItSharesStays) {
  testing::ScriptedPump pump;
  PutCountingFile(L"C:\\Data\\target.bin", 300);
  const Bytes original = *Files().FileBytes(L"C:\\Data\\target.bin");
  Files().MakeFileSymlink(L"C:\\Data\\link.bin", L"C:\\Data\\target.bin");
  Files().MakeHardLink(L"C:\\Data\\second.bin", L"C:\\Data\\target.bin");

  EXPECT_EQ(ShredFile(L"C:\\Data\\link.bin", pump), TShredResult::Unlinked);
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\link.bin"));
  EXPECT_EQ(ShredFile(L"C:\\Data\\second.bin", pump), TShredResult::Unlinked);
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\second.bin"));
  EXPECT_EQ(Files().FileBytes(L"C:\\Data\\target.bin"), original);

  // The last name of the data is shredded as any file is.
  EXPECT_EQ(ShredFile(L"C:\\Data\\target.bin", pump), TShredResult::Shredded);
}

TEST_F(ShredFileTest, AnEmptyFileIsNeverWrittenButDeleted) {
  const std::wstring path = L"C:\\Data\\empty.txt";
  Files().PutFile(path, Bytes{});
  Files().ClearJournal();
  testing::ScriptedPump pump;

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Shredded);
  EXPECT_EQ(Steps(), (std::vector<std::string>{"close", "close", "delete C:\\Data\\empty.txt"}));
  EXPECT_FALSE(Files().Exists(path));
}

TEST_F(ShredFileTest, ReadOnlyHiddenAndSystemAttributesAreClearedFirst) {
  const std::wstring path = L"C:\\Data\\guarded.txt";
  PutCountingFile(path, 10, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  testing::ScriptedPump pump;

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Shredded);
  EXPECT_FALSE(Files().Exists(path));
}

TEST_F(ShredFileTest, AStopInTheMiddleOfAPassKeepsWhatWasOverwrittenOnDiskAndTheFile) {
  const std::wstring path = L"C:\\Data\\big.bin";
  PutCountingFile(path, 12 * kMiB);
  const Bytes original = *Files().FileBytes(path);
  const int fill = NextTwoFills().first;
  Files().ClearJournal();
  testing::ScriptedPump pump;
  const int blocksPerChunk = kShredChunkSize / kShredBlockSize;
  // Inside the second chunk: its bytes are being filled, none written yet.
  pump.onMessages = [&](int call) {
    if (call == 1 + blocksPerChunk + 10) SetShredStopRequest(true);
  };

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Stopped);

  EXPECT_EQ(Steps(), (std::vector<std::string>{Write(0, 5 * kMiB, fill), "flush", "close"}));
  const Bytes now = *Files().FileBytes(path);
  ASSERT_EQ(now.size(), original.size());
  EXPECT_TRUE(std::all_of(now.begin(), now.begin() + 5 * kMiB, [&](std::uint8_t b) { return b == fill; }));
  EXPECT_TRUE(std::equal(now.begin() + 5 * kMiB, now.end(), original.begin() + 5 * kMiB));
}

TEST_F(ShredFileTest, AStopRequestedBeforehandLeavesTheFileUntouched) {
  const std::wstring path = L"C:\\Data\\a.txt";
  PutCountingFile(path, 100);
  Files().ClearJournal();
  testing::ScriptedPump pump;

  SetShredStopRequest(true);
  EXPECT_EQ(ShredFile(path, pump), TShredResult::Stopped);
  SetShredStopRequest(false);
  pump.stop = true;  // the pump's own stop, e.g. the program ending
  EXPECT_EQ(ShredFile(path, pump), TShredResult::Stopped);

  EXPECT_TRUE(Steps().empty());
  EXPECT_EQ(Files().FileBytes(path)->size(), 100u);
}

TEST_F(ShredFileTest, AFileHeldOpenByAnotherProgramIsNeverWrittenAndNotShredded) {
  const struct {
    const char* name;
    DWORD share;
    bool deleted;
  } cases[] = {
      {"held without delete sharing: the file stays as it was", FILE_SHARE_READ, false},
      {"held allowing deletion: the name goes, unwritten", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
       true},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const std::wstring path = L"C:\\Data\\held.txt";
    PutCountingFile(path, 100);
    const Bytes original = *Files().FileBytes(path);
    Files().LockFile(path, row.share);
    Files().ClearJournal();
    testing::ScriptedPump pump;

    EXPECT_EQ(ShredFile(path, pump), TShredResult::Failed);
    const std::vector<std::string> deleted = {"delete C:\\Data\\held.txt"};
    EXPECT_EQ(Steps(), row.deleted ? deleted : std::vector<std::string>{});
    if (!row.deleted) {
      EXPECT_TRUE(Files().FileBytes(path) == original);
    }
    if (Files().Exists(path)) Files().Remove(path);
  }
}

TEST_F(ShredFileTest, AFailedPassIsReportedWhileTheRemainingStepsStillRun) {
  const std::wstring path = L"C:\\Data\\busy.txt";
  PutCountingFile(path, 100);
  const int fill = NextTwoFills().first;
  Files().ClearJournal();
  testing::ScriptedPump pump;
  // Another program opens the file while the first pass fills its block.
  pump.onMessages = [&](int call) {
    if (call == 2) Files().LockFile(path);
  };

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Failed);
  EXPECT_EQ(Steps(), (std::vector<std::string>{Write(0, 100, fill), "flush", "close"}))
      << "the second pass and the delete were tried and refused";
  EXPECT_TRUE(Files().Exists(path));
}

TEST_F(ShredFileTest, CanOpenForWritingOnlyAFileNobodyElseHasOpen) {
  Files().PutFile(L"C:\\Data\\free.txt", "x");
  Files().PutFile(L"C:\\Data\\shared.txt", "x");
  Files().LockFile(L"C:\\Data\\shared.txt", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  Files().PutFile(L"C:\\Data\\readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
  Files().PutFolder(L"C:\\Data\\folder");

  EXPECT_TRUE(CanOpenForWriting(L"C:\\Data\\free.txt"));
  EXPECT_FALSE(CanOpenForWriting(L"C:\\Data\\shared.txt")) << "held open, even with full sharing";
  EXPECT_FALSE(CanOpenForWriting(L"C:\\Data\\readonly.txt"));
  EXPECT_FALSE(CanOpenForWriting(L"C:\\Data\\folder"));
  EXPECT_FALSE(CanOpenForWriting(L"C:\\Data\\missing.txt"));
  EXPECT_EQ(Files().FileText(L"C:\\Data\\free.txt"), "x");
}

}  // namespace
}  // namespace orvix
