// The Win32 icon service against Wine's shell32.dll and a plain file.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "windows/test_files.h"
#include "windows/icon_width.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {


class IconsWineTest : public ::testing::Test {
 protected:
  IIconApi& icons() { return platform_.Icons(); }
  win32::Win32Platform platform_;
};

TEST_F(IconsWineTest, ExtractsOneLargeAndOneSmallIconFromShell32) {
  const std::wstring shell32 = platform_.Shell().GetSystemDirectory() + L"\\shell32.dll";
  const IconPair pair = icons().ExtractIcons(shell32, 0);
  ASSERT_NE(pair.large, 0u);
  ASSERT_NE(pair.small, 0u);
  EXPECT_EQ(IconWidth(pair.large), ::GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(pair.small), ::GetSystemMetrics(SM_CXSMICON));
  icons().DestroyIcon(pair.large);
  icons().DestroyIcon(pair.small);
  EXPECT_EQ(IconWidth(pair.large), 0) << "a destroyed icon is gone";
}

TEST_F(IconsWineTest, NoIconsFromAMissingFileOrIndexButTheShellShowsOneForAnyFile) {
  test::ScratchFolder folder;
  const IconPair missing = icons().ExtractIcons(folder / L"missing.exe", 0);
  EXPECT_EQ(missing.large, 0u);
  EXPECT_EQ(missing.small, 0u);
  const std::wstring shell32 = platform_.Shell().GetSystemDirectory() + L"\\shell32.dll";
  const IconPair beyond = icons().ExtractIcons(shell32, 100000);
  EXPECT_EQ(beyond.large, 0u);
  EXPECT_EQ(beyond.small, 0u);

  // A library the build makes without any icon resource. (Wine's
  // ExtractIconExW hands out a stock icon even for it, so only the shell's
  // answer is checked.)
  const IconHandle shell = icons().ShellIcon(test::BesideTestProgram(L"orvix_test_echo.dll"));
  ASSERT_NE(shell, 0u);
  EXPECT_GT(IconWidth(shell), 0);
  icons().DestroyIcon(shell);
  EXPECT_EQ(icons().ShellIcon(folder / L"missing.txt"), 0u);
}

}  // namespace
}  // namespace orvix
