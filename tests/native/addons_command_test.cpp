// orvix addons over the simulated machine's Internet Explorer add-ons: the
// listing as text and JSON, switching off and on by the browser's own id,
// refusals (unknown id, running browser, bad command line) and the export.
#include "app/addons_command.h"

#include <gtest/gtest.h>

#include "formats/json_tree.h"
#include "formats/text_codec.h"
#include "platform/file_helpers.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr wchar_t kHelpers[] =
    L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\";
constexpr wchar_t kSettings[] = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";

class AddonsCommandTest : public SimMachineTest {
 protected:
  AddonsCommandTest() {
    Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer", L"Version", L"9.0");
    for (const auto& [clsid, name] : {std::pair{L"{H1}", L"Shop Helper"}, std::pair{L"{H2}", L"Mail Helper"}}) {
      Registry().PutString(std::wstring(L"HKLM\\SOFTWARE\\Classes\\Wow6432Node\\CLSID\\") + clsid, L"", name);
      Registry().PutKey(kHelpers + std::wstring(clsid));
    }
  }
  int Run(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"addons");
    out = StringOutput();
    err = StringOutput();
    return RunAddonsCommand(args, out, err);
  }

  StringOutput out;
  StringOutput err;
};

TEST_F(AddonsCommandTest, ListsSwitchesOffAndOnByTheBrowsersOwnId) {
  EXPECT_EQ(Run({L"list"}), 0);
  EXPECT_EQ(Narrow(out.Text()), "ie\tBHO\ton\t{H1}\tShop Helper\nie\tBHO\ton\t{H2}\tMail Helper\n");

  EXPECT_EQ(Run({L"disable", L"{h1}"}), 0) << Narrow(err.Text());
  EXPECT_EQ(Narrow(out.Text()), "Switched off: Shop Helper (ie:{H1})\n");
  EXPECT_TRUE(Registry().HasKey(std::wstring(kSettings) + L"{H1}"));

  EXPECT_EQ(Run({L"list", L"--browser", L"ie", L"--json"}), 0);
  TJsonNode listed;
  ASSERT_TRUE(ParseJson(ToUtf8(out.Text()), listed));
  ASSERT_EQ(listed.Elements().size(), 2u);
  const TJsonNode& first = listed.Elements()[0];
  EXPECT_EQ(first.Find(L"id")->Text(), L"{H1}");
  EXPECT_EQ(first.Find(L"group")->Text(), L"BHO");
  EXPECT_FALSE(first.Find(L"active")->BoolValue());
  EXPECT_EQ(first.Find(L"trust")->Text(), L"trusted");
  EXPECT_EQ(first.Find(L"paths")->Elements()[0].Text(),
            L"80000002\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{H1}");
  EXPECT_TRUE(listed.Elements()[1].Find(L"active")->BoolValue());

  EXPECT_EQ(Run({L"enable", L"ie:{H1}"}), 0) << Narrow(err.Text());
  EXPECT_EQ(Narrow(out.Text()), "Switched on: Shop Helper (ie:{H1})\n");
  EXPECT_EQ(Run({L"list"}), 0);
  EXPECT_EQ(Narrow(out.Text()), "ie\tBHO\ton\t{H1}\tShop Helper\nie\tBHO\ton\t{H2}\tMail Helper\n");
}

TEST_F(AddonsCommandTest, RefusesUnknownIdsRunningBrowsersAndBadCommandLines) {
  EXPECT_EQ(Run({L"disable", L"{H1}", L"{NOPE}"}), 1);
  EXPECT_NE(err.Text().find(L"no add-on {NOPE}"), std::wstring::npos);
  EXPECT_FALSE(Registry().HasKey(std::wstring(kSettings) + L"{H1}"));  // nothing is changed

  Machine().processes.AddRunning(L"C:\\Program Files\\Internet Explorer\\iexplore.exe");
  EXPECT_EQ(Run({L"disable", L"{H1}"}), 1);
  EXPECT_NE(err.Text().find(L"iexplore.exe is running; close IE first"), std::wstring::npos);
  EXPECT_FALSE(Registry().HasKey(std::wstring(kSettings) + L"{H1}"));

  EXPECT_EQ(Run({}), 2);
  EXPECT_EQ(Run({L"disable"}), 2);
  EXPECT_EQ(Run({L"list", L"--browser", L"netscape"}), 2);
  EXPECT_EQ(Run({L"export"}), 2);
}

TEST_F(AddonsCommandTest, AFailedSwitchSaysWhyAndFails) {
  Registry().PutKey(std::wstring(kSettings) + L"{H2}");
  Registry().SetKeyAccess(std::wstring(kSettings) + L"{H2}", KEY_READ);
  EXPECT_EQ(Run({L"disable", L"{H1}", L"{H2}"}), 1);
  EXPECT_EQ(Narrow(out.Text()), "Switched off: Shop Helper (ie:{H1})\n");
  EXPECT_EQ(Narrow(err.Text()),
            "orvix: could not switch off: Mail Helper (ie:{H2})\n"
            "orvix: Internet Explorer's add-on settings of this user could not be written.\n");
}

TEST_F(AddonsCommandTest, ExportsTheListAsUtf16Text) {
  const std::wstring file = L"C:\\Users\\Ann\\Desktop\\addons.txt";
  EXPECT_EQ(Run({L"export", file}), 0) << Narrow(err.Text());
  Bytes bytes;
  ASSERT_TRUE(ReadFileBytes(file, bytes, 1 << 20));
  TextEncoding encoding;
  const std::wstring text = DecodeTextFile(bytes, &encoding);
  EXPECT_EQ(encoding, TextEncoding::Utf16LeBom);
  EXPECT_NE(text.find(L"Browser: Internet Explorer\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(L"Name: Mail Helper\r\n"), std::wstring::npos);
}

}  // namespace
}  // namespace orvix::testing
