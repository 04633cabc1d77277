// The console program's commands over the simulated machine.
#include <gtest/gtest.h>

#include "app/orvix_commands.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

class OrvixCommandsTest : public testing::SimMachineTest {
 protected:
  int Run(std::vector<std::wstring> args) { return RunOrvixCommand(args, out, err); }
  StringOutput out;
  StringOutput err;
};

TEST_F(OrvixCommandsTest, AboutShowsVersionsAndCreatesTheDataFolder) {
  const std::wstring exe = Machine().shell.GetModuleFileName();
  Machine().versions.AttachStrings(exe, {{L"FileVersion", L"3.1.0.0"}});
  const std::wstring dataFolder = L"C:\\Users\\Ann\\AppData\\Roaming\\Orvix\\Orvix Uninstaller\\";
  ASSERT_FALSE(Machine().files.Exists(dataFolder));

  ASSERT_EQ(Run({L"about"}), ecOk) << testing::Narrow(err.Text());
  EXPECT_EQ(out.Text(),
            L"Orvix Uninstaller 3.1.0.0\n"
            L"Windows:       Windows 10\n"
            L"Data folder:   " + dataFolder + L"\n"
            L"Settings file: " + dataFolder + L"Main.ini\n");
  EXPECT_TRUE(Machine().files.IsFolder(dataFolder));
  EXPECT_FALSE(Machine().files.Exists(dataFolder + L"Main.ini")) << "nothing is written until a setting is";
}

TEST_F(OrvixCommandsTest, KeysListsTheTreeWithDisplayNames) {
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Vendor\\App", L"DisplayName", L"App 32");
  Registry().PutKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Vendor\\App\\Sub");
  Registry().PutString(L"HKLM\\SOFTWARE\\Vendor\\App64", L"DisplayName", L"App 64");

  ASSERT_EQ(Run({L"keys", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"}), ecOk);
  EXPECT_EQ(out.Text(),
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\n"
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App  = App 32\n"
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Sub\n");
  out = StringOutput();
  ASSERT_EQ(Run({L"keys", L"hkey_local_machine\\SOFTWARE\\Vendor\\", L"--64"}), ecOk);
  EXPECT_EQ(out.Text(),
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\n"
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App64  = App 64\n");
}

TEST_F(OrvixCommandsTest, BadCommandLinesExplainThemselves) {
  const struct {
    std::vector<std::wstring> args;
    int code;
    const wchar_t* message;
  } cases[] = {
      {{}, ecUsage, L"no command given"},
      {{L"frobnicate"}, ecUsage, L"unknown command: frobnicate"},
      {{L"about", L"--verbose"}, ecUsage, L"about takes no arguments"},
      {{L"keys"}, ecUsage, L"keys needs a key"},
      {{L"keys", L"HKEY_NOWHERE\\Foo"}, ecUsage, L"not a registry key"},
      {{L"keys", L"HKEY_CURRENT_USER\\Software\\Missing"}, ecFailed, L"no such key"},
  };
  for (const auto& c : cases) {
    err = StringOutput();
    EXPECT_EQ(Run(c.args), c.code);
    EXPECT_NE(err.Text().find(c.message), std::wstring::npos) << testing::Narrow(err.Text());
  }
  out = StringOutput();
  EXPECT_EQ(Run({L"--help"}), ecOk);
  EXPECT_NE(out.Text().find(L"about"), std::wstring::npos);
}

}  // namespace
}  // namespace orvix
