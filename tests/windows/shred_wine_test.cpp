// Shredding against Wine's real files: the content is overwritten before the
// name goes, a hard-linked name goes without touching the data its other
// names share, and a file another handle holds without sharing is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_helpers.h"
#include "platform/text.h"
#include "shredder/shred_file.h"
#include "shredder/shredder_model.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

using test::PathExists;
using test::ScratchFolder;
using test::WriteTestFile;

class NoMessages : public IPump {
 public:
  void ProcessMessages() override {}
  bool StopRequested() override { return false; }
};

// Asks for a stop only between the two passes: the start of the second pass
// is the one place where a stop check follows another without messages
// processed in between.
class StopBetweenPasses : public IPump {
 public:
  void ProcessMessages() override { lastWasCheck_ = false; }
  bool StopRequested() override {
    const bool between = lastWasCheck_;
    lastWasCheck_ = true;
    return between;
  }

 private:
  bool lastWasCheck_ = false;
};

class RecordingPrompts : public IShredderPrompts {
 public:
  bool Confirm(const std::wstring&) override { return true; }
  void Message(const std::wstring& text) override { messages.push_back(text); }
  std::vector<std::wstring> messages;
};

std::string ReadAll(const std::wstring& path) {
  Bytes bytes;
  return ReadFileBytes(path, bytes, 16 << 20) ? std::string(bytes.begin(), bytes.end()) : "<none>";
}

TEST(ShredWineTest, TheContentIsOverwrittenOnDiskBeforeTheFileIsDeleted) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"secret.bin";
  const std::string secret(kShredChunkSize + 1234, 'S');  // two chunks
  ASSERT_TRUE(WriteTestFile(path, secret));
  TShredFill next = ShredFillGenerator();
  const char firstFill = static_cast<char>(next.Next());

  // Stopped after the first pass, the file on disk holds that pass's fill.
  StopBetweenPasses betweenPasses;
  EXPECT_EQ(ShredFile(path, betweenPasses), TShredResult::Stopped);
  EXPECT_TRUE(ReadAll(path) == std::string(secret.size(), firstFill)) << "every byte holds the first pass's fill";

  NoMessages pump;
  EXPECT_EQ(ShredFile(path, pump), TShredResult::Shredded);
  EXPECT_FALSE(PathExists(path));
}

TEST(ShredWineTest, AHardLinkedNameIsDeletedWithoutOverwritingTheOtherNames) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"shared.bin";
  ASSERT_TRUE(WriteTestFile(path, "the other name's data"));
  const std::wstring other = scratch / L"other.bin";
  ASSERT_TRUE(::CreateHardLinkW(other.c_str(), path.c_str(), nullptr)) << ::GetLastError();
  NoMessages pump;

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Unlinked);
  EXPECT_FALSE(PathExists(path));
  EXPECT_EQ(ReadAll(other), "the other name's data");
}

TEST(ShredWineTest, AFileHeldWithoutSharingIsRefusedAndKeptIntact) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"held.txt";
  ASSERT_TRUE(WriteTestFile(path, "still here"));
  HANDLE other = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  NoMessages pump;

  EXPECT_FALSE(CanOpenForWriting(path));
  EXPECT_EQ(ShredFile(path, pump), TShredResult::Failed);

  ::CloseHandle(other);
  EXPECT_EQ(ReadAll(path), "still here");
  EXPECT_TRUE(CanOpenForWriting(path));
  EXPECT_EQ(ReadAll(path), "still here") << "the test opens the file and changes nothing";
}

TEST(ShredWineTest, TheWindowShredsAReadOnlyFileKeepsAHeldOneAndRefusesTheWindowsFolder) {
  ScratchFolder scratch;
  const std::wstring readOnly = scratch / L"Folder\\readonly.txt";
  const std::wstring held = scratch / L"Folder\\held.txt";
  ::CreateDirectoryW((scratch / L"Folder").c_str(), nullptr);
  ASSERT_TRUE(WriteTestFile(readOnly, "r"));
  ASSERT_TRUE(WriteTestFile(held, "h"));
  ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  HANDLE other = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring systemFile = std::wstring(windows) + L"\\win.ini";
  ASSERT_TRUE(PathExists(systemFile));
  RecordingPrompts prompts;
  NoMessages pump;
  TFileShredderModel model(prompts);

  model.AddPaths({scratch / L"Folder", systemFile}, pump);
  ASSERT_EQ(model.Rows().size(), 2u);
  const TShredRun run = model.Shred(pump);
  ::CloseHandle(other);

  EXPECT_EQ(run.shredded, 1u);
  EXPECT_FALSE(PathExists(readOnly));
  EXPECT_EQ(ReadAll(held), "h");
  ASSERT_EQ(model.Rows().size(), 1u);
  EXPECT_TRUE(SameText(model.Rows()[0], held));
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0], L"Unable to add file \"" + systemFile +
                                     L"\" to shred as this operation may cause system instability");
  EXPECT_NE(prompts.messages[1].find(LowerCase(held)), std::wstring::npos);
  EXPECT_TRUE(PathExists(systemFile));
}

}  // namespace
}  // namespace orvix
