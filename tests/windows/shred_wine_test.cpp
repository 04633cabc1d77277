// Shredding against Wine's real files: the content is overwritten before the
// name goes, and a file another handle holds without sharing is refused.
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

class RecordingPrompts : public IShredderPrompts {
 public:
  bool Confirm(const std::wstring&) override { return true; }
  void Message(const std::wstring& text) override { messages.push_back(text); }
  std::vector<std::wstring> messages;
};

std::string ReadAll(const std::wstring& path) {
  Bytes bytes;
  return ReadFileBytes(path, bytes) ? std::string(bytes.begin(), bytes.end()) : "<none>";
}

TEST(ShredWineTest, TheContentIsOverwrittenOnDiskBeforeTheFileIsDeleted) {
  ScratchFolder scratch;
  const std::wstring path = scratch / L"secret.bin";
  const std::string secret(kShredChunkSize + 1234, 'S');  // two chunks
  ASSERT_TRUE(WriteTestFile(path, secret));
  // A second name for the same file keeps its content readable after the delete.
  const std::wstring witness = scratch / L"witness.bin";
  ASSERT_TRUE(::CreateHardLinkW(witness.c_str(), path.c_str(), nullptr)) << ::GetLastError();
  TShredFill next = ShredFillGenerator();
  next.Next();
  const char lastFill = static_cast<char>(next.Next());
  NoMessages pump;

  EXPECT_EQ(ShredFile(path, pump), TShredResult::Shredded);

  EXPECT_FALSE(PathExists(path));
  EXPECT_TRUE(ReadAll(witness) == std::string(secret.size(), lastFill)) << "every byte holds the last pass's fill";
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
