// Which icon stands for a program: its DisplayIcon in every form installers
// write, the Windows Installer product icon, an executable named like the
// program, its uninstaller; and loading it with the shell's icon as the
// fallback.
#include "inventory/analysis_icon.h"

#include <gtest/gtest.h>

#include "named_case.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr wchar_t kProductCode[] = L"{12345678-90AB-CDEF-1234-567890ABCDEF}";
constexpr wchar_t kPacked[] = L"87654321BA09FEDC2143658709BADCFE";
constexpr wchar_t kFooExe[] = L"C:\\Program Files\\Foo\\foo.exe";

TEST(PackedProductCode, ReversesTheGroupsAndSwapsTheByteDigits) {
  EXPECT_EQ(PackedProductCode(kProductCode), kPacked);
  EXPECT_EQ(PackedProductCode(L"{00000000-0000-0000-0000-000000000001}"), L"00000000000000000000000000000010");
  EXPECT_EQ(PackedProductCode(L"{12345678-ABCD-EF01-2345-6789ABCDEF01}"), L"87654321DCBA10FE32547698BADCFE10");
  for (const wchar_t* bad : {L"", L"12345678-90AB-CDEF-1234-567890ABCDEF", L"{12345678-90AB-CDEF-1234-567890ABCDEG}",
                             L"{12345678090AB-CDEF-1234-567890ABCDEF}", L"{12345678-90AB-CDEF-1234-567890ABCDEF",
                             L"{12345678-90AB-CDEF-1234-567890ABCDEF0}"})
    EXPECT_EQ(PackedProductCode(bad), L"");
}

struct IconSourceCase : testing::NamedCase {
  const wchar_t* displayName;
  const wchar_t* displayIcon;
  std::int32_t iconIndex;
  const wchar_t* uninstallString;
  const wchar_t* keyPath;
  const wchar_t* expectedFile;
  std::int32_t expectedIndex;
};

class IconSourceTest : public testing::SimMachineTest, public ::testing::WithParamInterface<IconSourceCase> {
 protected:
  void SetUp() override {
    // Listed before the executable, and no file.
    Machine().files.PutFolder(L"C:\\Program Files\\My Cool\\MyCoo.exe");
    for (const wchar_t* file :
         {kFooExe, L"C:\\Program Files\\Foo\\uninst.exe", L"C:\\Program Files\\My Cool\\unins000.exe",
          L"C:\\Program Files\\My Cool\\Helper.exe", L"C:\\Program Files\\My Cool\\MyCoolApp.exe",
          L"C:\\Windows\\Installer\\app.ico", L"C:\\Windows\\Installer\\user.ico"})
      Machine().files.PutFile(file, "MZ");
  }
};

TEST_P(IconSourceTest, FindsTheFileAndIndex) {
  const IconSourceCase& c = GetParam();
  const std::wstring products = std::wstring(L"\\Installer\\Products\\") + kPacked;
  if (std::string_view(c.name).starts_with("ProductIcon"))
    Registry().PutString(L"HKLM\\SOFTWARE\\Classes" + products, L"ProductIcon", L"%WINDIR%\\Installer\\app.ico");
  if (std::string_view(c.name).starts_with("UserProductIcon"))
    Registry().PutString(L"HKCU\\Software\\Microsoft" + products, L"ProductIcon", L"C:\\Windows\\Installer\\user.ico");
  TSoftInfo entry;
  entry.DisplayName = c.displayName;
  entry.DisplayIcon = c.displayIcon;
  entry.IconIndex = c.iconIndex;
  entry.UninstallString = c.uninstallString;
  entry.KeyPath = c.keyPath;
  const TIconSource source = FindIconSource(entry);
  EXPECT_EQ(source.file, c.expectedFile);
  EXPECT_EQ(source.index, c.expectedIndex);
}

constexpr wchar_t kFooUninstall[] = L"\"C:\\Program Files\\Foo\\uninst.exe\" /S";
constexpr wchar_t kMsiUninstall[] = L"MsiExec.exe /X{12345678-90AB-CDEF-1234-567890ABCDEF}";
constexpr wchar_t kMsiKey[] =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{12345678-90AB-CDEF-1234-567890ABCDEF}";
constexpr wchar_t kFooKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";

INSTANTIATE_TEST_SUITE_P(
    Cases, IconSourceTest,
    ::testing::Values(
        IconSourceCase{{"QuotedFileAndIndex"}, L"Foo", L"\"C:\\Program Files\\Foo\\foo.exe\",2", 0, kFooUninstall,
                       kFooKey, kFooExe, 2},
        IconSourceCase{{"ResourceId"}, L"Foo", L"C:\\Program Files\\Foo\\foo.exe,-101", 0, kFooUninstall, kFooKey,
                       kFooExe, -101},
        IconSourceCase{{"BlanksAroundTheIndex"}, L"Foo", L"C:\\Program Files\\Foo\\foo.exe, 7 ", 0, kFooUninstall,
                       kFooKey, kFooExe, 7},
        IconSourceCase{{"IndexNotANumber"}, L"Foo", L"C:\\Program Files\\Foo\\foo.exe,abc", 5, kFooUninstall, kFooKey,
                       kFooExe, 0},
        IconSourceCase{{"FileBeforeTheFirstCommaIndexAfterTheLast"}, L"Foo", L"C:\\Program Files\\Foo\\foo.exe,x,3", 0,
                       kFooUninstall, kFooKey, kFooExe, 3},
        IconSourceCase{{"DoubledBackslashes"}, L"Foo", L"C:\\\\Program Files\\\\Foo\\\\foo.exe", 0, kFooUninstall,
                       kFooKey, kFooExe, 0},
        // A cached icon is a bare file with its index beside it.
        IconSourceCase{{"BareFileKeepsTheEntrysIndex"}, L"Foo", kFooExe, 4, kFooUninstall, kFooKey, kFooExe, 4},
        IconSourceCase{{"MissingIconFile"}, L"Foo", L"C:\\Program Files\\Foo\\gone.ico,1", 0, kFooUninstall, kFooKey,
                       L"", 0},
        IconSourceCase{{"ProductIconOfTheInstaller"}, L"Foo", L"", 0, kMsiUninstall, kMsiKey,
                       L"C:\\Windows\\Installer\\app.ico", 0},
        IconSourceCase{{"UserProductIconWhenTheMachineHasNone"}, L"Foo", L"", 0, kMsiUninstall, kMsiKey,
                       L"C:\\Windows\\Installer\\user.ico", 0},
        // No product icon: the uninstall command of Windows Installer names no file.
        IconSourceCase{{"InstallerWithoutProductIcon"}, L"Foo", L"", 0, kMsiUninstall, kMsiKey, L"", 0},
        // The first five characters of "My Cool App" without spaces: "MyCoo*.EXE".
        IconSourceCase{{"ExecutableNamedLikeTheProgram"}, L"My Cool App", L"", 0,
                       L"C:\\Program Files\\My Cool\\unins000.exe", kFooKey,
                       L"C:\\Program Files\\My Cool\\MyCoolApp.exe", 0},
        IconSourceCase{{"TheUninstallerWhenNothingIsNamedLikeIt"}, L"Zed", L"", 0, kFooUninstall, kFooKey,
                       L"C:\\Program Files\\Foo\\uninst.exe", 0}),
    testing::CaseName());

class LoadIconsTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFile(kFooExe, "MZ");
    Machine().icons.AddIconFile(kFooExe, 3, {101});
  }
  sim::SimIcon Describe(IconHandle icon) { return Machine().icons.Describe(icon).value_or(sim::SimIcon{}); }
};

TEST_F(LoadIconsTest, OneLargeAndOneSmallIconOfTheIndexOrResourceId) {
  for (const int index : {2, -101}) {
    const TOwnedIcons icons = LoadIcons({kFooExe, index});
    ASSERT_TRUE(icons.Complete()) << index;
    EXPECT_EQ(Describe(icons.Large()).index, index);
    EXPECT_EQ(Describe(icons.Large()).kind, sim::IconKind::Large);
    EXPECT_EQ(Describe(icons.Small()).kind, sim::IconKind::Small);
  }
  EXPECT_EQ(Machine().icons.LiveCount(), 0u) << "the holder destroys its icons";
}

TEST_F(LoadIconsTest, TheShellsIconStandsInForBothSizes) {
  TOwnedIcons icons = LoadIcons({kFooExe, 3});
  ASSERT_TRUE(icons.Complete());
  EXPECT_EQ(icons.Large(), icons.Small());
  EXPECT_EQ(Describe(icons.Large()).kind, sim::IconKind::Shell);
  EXPECT_EQ(Machine().icons.LiveCount(), 1u);
  icons.Reset();
  EXPECT_EQ(Machine().icons.LiveCount(), 0u);
  EXPECT_EQ(Machine().icons.BadDestroyCount(), 0u) << "one handle, destroyed once";
  EXPECT_FALSE(LoadIcons({}).Complete());
}

}  // namespace
}  // namespace orvix
