// Our shell link reader against shortcuts the real shell writes, and the
// known folders of the real shell, in a 64-bit Wine prefix.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/shell_link.h"
#include "inventory/rating_shortcut.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "windows/shell_link_maker.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

using test::MakeShortcut;
using test::ScratchFolder;
using test::ShortcutFields;

std::optional<TShellLink> ParseWithAnsiCodePage(const Bytes& bytes) {
  return ParseShellLink(bytes.data(), bytes.size(),
                        [](std::string_view text) { return CurrentPlatform().Locale().FromAnsi(text); });
}

class ShellLinkWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ForceDirectories(scratch_ / L"Program Files\\Foo Tool"));
    target_ = scratch_ / L"Program Files\\Foo Tool\\foo.exe";
    ASSERT_TRUE(test::WriteTestFile(target_, "MZ"));
    fields_ = {target_, L"--start \"C:\\x y\"", scratch_ / L"Program Files\\Foo Tool", L"Foo tool", target_};
    ASSERT_TRUE(MakeShortcut(shortcut_, fields_)) << "the shell made no shortcut";
    ASSERT_TRUE(ReadFileBytes(shortcut_, bytes_, 1 << 20));
  }

  ScratchFolder scratch_;
  std::wstring target_;
  std::wstring shortcut_ = scratch_ / L"Foo.lnk";
  ShortcutFields fields_;
  Bytes bytes_;
};

TEST_F(ShellLinkWineTest, ReadsWhatTheShellWrote) {
  const auto link = ParseWithAnsiCodePage(bytes_);
  ASSERT_TRUE(link.has_value());
  EXPECT_TRUE(link->Intact);
  EXPECT_TRUE(SameText(link->TargetPath(), target_)) << link->TargetPath();
  EXPECT_EQ(link->Arguments, fields_.arguments);
  EXPECT_TRUE(SameText(link->WorkingDir, fields_.workingDir)) << link->WorkingDir;
  EXPECT_EQ(link->Name, fields_.description);
  EXPECT_TRUE(SameText(link->IconLocation, fields_.iconFile)) << link->IconLocation;
  EXPECT_TRUE(SameText(ShortcutTargetPath(shortcut_), target_)) << ShortcutTargetPath(shortcut_);
}

// The link object, which forced uninstall asks when our reader finds no path.
TEST_F(ShellLinkWineTest, TheLinkObjectNamesTheTarget) {
  IShellApi& shell = CurrentPlatform().Shell();
  EXPECT_TRUE(SameText(shell.GetShortcutPath(shortcut_), target_)) << shell.GetShortcutPath(shortcut_);
  EXPECT_EQ(shell.GetShortcutPath(scratch_ / L"none.lnk"), L"");
  const std::wstring notALink = scratch_ / L"text.lnk";
  ASSERT_TRUE(test::WriteTestFile(notALink, "[InternetShortcut]"));
  EXPECT_EQ(shell.GetShortcutPath(notALink), L"");
}

TEST_F(ShellLinkWineTest, CutOrDamagedCopiesGiveTheTargetWholeOrNotAtAll) {
  const std::wstring whole = ParseWithAnsiCodePage(bytes_)->TargetPath();
  for (std::size_t size = 0; size < bytes_.size(); ++size) {
    const auto link = ParseWithAnsiCodePage(Bytes(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size)));
    if (!link) continue;
    EXPECT_FALSE(link->Intact) << "cut at " << size;
    if (!link->TargetPath().empty()) {
      EXPECT_EQ(link->TargetPath(), whole) << "cut at " << size;
    }
  }
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    Bytes damaged = bytes_;
    for (int i = 0, changes = 1 + static_cast<int>(random() % 8); i < changes; ++i)
      damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
    const auto link = ParseWithAnsiCodePage(damaged);
    if (link) {
      EXPECT_LE(link->TargetPath().size(), damaged.size());
    }
  }
}

const wchar_t* const kWindowsId = L"{F38BF404-1D43-42F2-9305-67DE0B28FC23}";

TEST(KnownFoldersWine, MatchTheSpecialFolders) {
  IShellApi& shell = CurrentPlatform().Shell();
  const struct {
    const wchar_t* id;
    int csidl;
  } cases[] = {
      {kWindowsId, CSIDL_WINDOWS},
      {L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", CSIDL_SYSTEM},
      {L"{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}", CSIDL_SYSTEMX86},
      {L"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}", CSIDL_PROGRAM_FILESX86},
      {L"{905E63B6-C1BF-494E-B29C-65B732D3D21A}", CSIDL_PROGRAM_FILES},
      {L"{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}", CSIDL_LOCAL_APPDATA},
      {L"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}", CSIDL_APPDATA},
      {L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}", CSIDL_COMMON_PROGRAMS},
      {L"{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}", CSIDL_PROGRAMS},
  };
  for (const auto& c : cases) {
    const std::wstring known = shell.GetKnownFolderPath(c.id);
    EXPECT_FALSE(known.empty()) << c.csidl;
    EXPECT_TRUE(SameText(known, shell.GetSpecialFolder(c.csidl))) << known << " for csidl " << c.csidl;
  }
  EXPECT_TRUE(SameText(shell.GetKnownFolderPath(L"{f38bf404-1d43-42f2-9305-67de0b28fc23}"),
                       shell.GetWindowsDirectory()));
  // As on Windows, a 32-bit program is told no 64-bit Program Files folder;
  // a 64-bit one is told its own.
  const std::wstring programFilesX64 = shell.GetKnownFolderPath(L"{6D809377-6AF0-444B-8957-A3773F02200E}");
  if constexpr (sizeof(void*) == 8) {
    EXPECT_TRUE(SameText(programFilesX64, shell.GetSpecialFolder(CSIDL_PROGRAM_FILES))) << programFilesX64;
  } else {
    EXPECT_EQ(programFilesX64, L"");
  }
  for (const wchar_t* notKnown :
       {L"", L"F38BF404-1D43-42F2-9305-67DE0B28FC23", L"{F38BF404-1D43-42F2-9305-67DE0B28FC2}",
        L"{00000000-0000-0000-0000-000000000000}", L"{Visual Studio Code Is Not A Folder}"}) {
    EXPECT_EQ(shell.GetKnownFolderPath(notKnown), L"") << notKnown;
  }
}

}  // namespace
}  // namespace orvix
