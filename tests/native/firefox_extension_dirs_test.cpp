#include "addons/firefox_extension_dirs.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

struct DirsCase : testing::NamedCase {
  const wchar_t* before;
  bool listed;
  bool changed;
  const wchar_t* after;
};

class ExtensionDirsTest : public ::testing::TestWithParam<DirsCase> {};

TEST_P(ExtensionDirsTest, ListsOrUnlistsTheFolder) {
  IniText ini(GetParam().before);
  EXPECT_EQ(ListExtensionDir(ini, L"C:\\P\\extensions\\a@x", GetParam().listed), GetParam().changed);
  EXPECT_EQ(ini.Text(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    ExtensionsIni, ExtensionDirsTest,
    ::testing::Values(
        DirsCase{{"OffRemovesEveryKeyOfTheFolder"},
                 L"[ExtensionDirs]\r\nExtension0=C:\\P\\extensions\\A@X\r\nExtension1=C:\\P\\extensions\\b@x\r\n"
                 L"Extension2=c:\\p\\extensions\\a@x\r\n\r\n[ThemeDirs]\r\nExtension0=C:\\P\\extensions\\a@x\r\n",
                 false, true,
                 L"[ExtensionDirs]\r\nExtension1=C:\\P\\extensions\\b@x\r\n\r\n"
                 L"[ThemeDirs]\r\nExtension0=C:\\P\\extensions\\a@x\r\n"},
        DirsCase{{"OnAddsExtensionAndTheKeyCount"},
                 L"[ExtensionDirs]\r\nExtension0=C:\\b\r\nExtension1=C:\\c\r\nExtension2=C:\\d\r\n", true, true,
                 L"[ExtensionDirs]\r\nExtension0=C:\\b\r\nExtension1=C:\\c\r\nExtension2=C:\\d\r\n"
                 L"Extension3=C:\\P\\extensions\\a@x\r\n"},
        // After an extension went, the count names a key still there: the
        // next free number is taken instead of overwriting that line.
        DirsCase{{"OnNeverOverwritesAnotherExtensionsKey"},
                 L"[ExtensionDirs]\nExtension0=C:\\b\nExtension2=C:\\d\n", true, true,
                 L"[ExtensionDirs]\nExtension0=C:\\b\nExtension2=C:\\d\nExtension3=C:\\P\\extensions\\a@x\n"},
        DirsCase{{"OnWhenListedAlreadyChangesNothing"}, L"[ExtensionDirs]\nExtension0=C:\\P\\extensions\\a@x\n", true,
                 false, L"[ExtensionDirs]\nExtension0=C:\\P\\extensions\\a@x\n"},
        DirsCase{{"OffWhenNotListedChangesNothing"}, L"[ExtensionDirs]\nExtension0=C:\\b\n", false, false,
                 L"[ExtensionDirs]\nExtension0=C:\\b\n"}),
    testing::CaseName{});

TEST(ExtensionDirsFileTest, KeepsTheFilesEncodingAndAnswersTrueWithoutAFile) {
  sim::SimMachine machine;
  ScopedPlatform scope{machine};
  machine.files.PutFolder(L"C:\\P");
  const std::wstring file = L"C:\\P\\extensions.ini";
  EXPECT_TRUE(ListExtensionDirInFile(file, L"C:\\P\\extensions\\a@x", false));
  EXPECT_FALSE(machine.files.Exists(file));
  // UTF-8 without a byte-order mark, as Firefox writes it.
  machine.files.PutFile(file, "[ExtensionDirs]\nExtension0=C:\\P\\extensions\\\xC3\xA9t\xC3\xA9@x\n");
  ASSERT_TRUE(ListExtensionDirInFile(file, L"C:\\P\\extensions\\a@x", true));
  EXPECT_EQ(machine.files.FileText(file),
            "[ExtensionDirs]\nExtension0=C:\\P\\extensions\\\xC3\xA9t\xC3\xA9@x\nExtension1=C:\\P\\extensions\\a@x\n");
}

}  // namespace
}  // namespace orvix
