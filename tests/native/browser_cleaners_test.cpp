// The Chrome, Firefox and Opera cleaners over small profiles of both
// generations: what they list, and that a removal switches the add-on off in
// the browser's files (and a restore on again).
#include <gtest/gtest.h>

#include "addons/chrome_browser_cleaner.h"
#include "addons/chrome_json_text.h"
#include "addons/firefox_browser_cleaner.h"
#include "addons/opera_browser_cleaner.h"
#include "addons/sqlite_db.h"
#include "app/addons_command.h"
#include "formats/text_codec.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

std::vector<std::wstring> Captions(const TCustomBrowserCleaner& cleaner) {
  std::vector<std::wstring> captions;
  for (const auto& item : cleaner.Items) captions.push_back(item->Caption + (item->Active ? L"" : L" (off)"));
  return captions;
}

const TPluginItem& Named(const TCustomBrowserCleaner& cleaner, const std::wstring& caption) {
  for (const auto& item : cleaner.Items) {
    if (item->Caption == caption) return *item;
  }
  ADD_FAILURE() << "no entry " << ::testing::PrintToString(caption);
  return *cleaner.Items.front();
}

class BrowserCleanersTest : public testing::SimMachineTest {
 protected:
  BrowserCleanersTest() : folders_() {}
  std::string Text(const std::wstring& path) { return Machine().files.FileText(path).value_or("<missing>"); }
  std::string Member(const std::wstring& file, std::initializer_list<std::wstring_view> path) {
    TJsonNode root;
    if (!ParseJson(Text(file), root)) return "<not json>";
    const TJsonNode* node = root.FindPath(path);
    return node != nullptr ? BrowserFileJson(*node) : "<none>";
  }
  // The folders every cleaner works from.
  const TCustomBrowserCleaner& Folders() { return folders_; }

 private:
  TChromeBrowserCleaner folders_;
};

TEST_F(BrowserCleanersTest, ChromeFamilyListsAnExtensionOfTwoBrowsersOnceAndSwitchesItInBoth) {
  const std::string preferences =
      R"({"extensions":{"settings":{"abcd":{"disable_reasons":[],"location":1,"path":"abcd/3.1_0",)"
      R"("manifest":{"name":"Shared Tool","description":"One tool","version":"3.1"}}}}})";
  std::vector<std::wstring> profiles;
  for (const wchar_t* browser : {L"\\Google\\Chrome\\User Data\\", L"\\Microsoft\\Edge\\User Data\\"}) {
    const std::wstring profile = Folders().LocalAppDataDir + browser + L"Default\\";
    Machine().files.PutFolder(profile + L"Extensions\\abcd\\3.1_0");
    Machine().files.PutFile(profile + L"Preferences", preferences);
    profiles.push_back(profile);
  }
  TChromeBrowserCleaner cleaner;
  ASSERT_TRUE(cleaner.IsBrowserInstalled());
  EXPECT_EQ(cleaner.RunningCheckExecutables(), (std::vector<std::wstring>{L"chrome.exe", L"msedge.exe"}));
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), std::vector<std::wstring>{L"Shared Tool"});
  EXPECT_EQ(cleaner.Items[0]->Paths.size(), 2u);
  EXPECT_EQ(cleaner.Items[0]->ItemID, L"abcd");

  cleaner.RemoveItems({cleaner.Items[0]->ID});
  EXPECT_TRUE(cleaner.Items.empty());
  for (const std::wstring& profile : profiles) {
    EXPECT_EQ(Member(profile + L"Preferences", {L"extensions", L"settings", L"abcd", L"disable_reasons"}), "[1]");
  }
  cleaner.IncludeInactive = true;
  cleaner.Reset(false);
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), std::vector<std::wstring>{L"Shared Tool (off)"});
  cleaner.RestoreItems({cleaner.Items[0]->ID});
  EXPECT_TRUE(cleaner.Items[0]->Active);
  for (const std::wstring& profile : profiles) {
    EXPECT_EQ(Member(profile + L"Preferences", {L"extensions", L"settings", L"abcd", L"disable_reasons"}), "[]");
  }
}

// The console names the browser of the family that runs, and says why a
// record the browser guards stays as it is.
TEST_F(BrowserCleanersTest, ConsoleExplainsAGuardedRecordAndNamesTheRunningBrowser) {
  const std::wstring profile = Folders().LocalAppDataDir + L"\\Microsoft\\Edge\\User Data\\Default\\";
  Machine().files.PutFolder(profile + L"Extensions\\abcd\\1_0");
  Machine().files.PutFile(profile + L"Preferences", R"({"extensions":{"settings":{}}})");
  const std::string secure =
      R"({"extensions":{"settings":{"abcd":{"disable_reasons":[],"path":"abcd/1_0","manifest":{"name":"Guarded"}}}},)"
      R"("protection":{"macs":{"extensions":{"settings_encrypted_hash":{"abcd":"djEwAAAA"}}}}})";
  Machine().files.PutFile(profile + L"Secure Preferences", secure);
  StringOutput out;
  StringOutput err;
  EXPECT_EQ(RunAddonsCommand({L"addons", L"disable", L"abcd"}, out, err), 1);
  EXPECT_EQ(ToUtf8(err.Text()),
            "orvix: could not switch off: Guarded (chrome:abcd)\n"
            "orvix: the browser guards this add-on's settings on this system and would undo a change made from "
            "outside; switch it off on the browser's extensions page.\n");
  EXPECT_EQ(Text(profile + L"Secure Preferences"), secure);

  Machine().processes.AddRunning(L"C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe");
  err = StringOutput();
  EXPECT_EQ(RunAddonsCommand({L"addons", L"disable", L"abcd"}, out, err), 1);
  EXPECT_NE(ToUtf8(err.Text()).find("orvix: msedge.exe is running"), std::string::npos) << ToUtf8(err.Text());
}

TEST_F(BrowserCleanersTest, ChromeOfThePluginEraSwitchesPluginsInItsList) {
  const std::wstring profile = Folders().LocalAppDataDir + L"\\Google\\Chrome\\User Data\\Default\\";
  Machine().files.PutFile(L"C:\\Plugins\\npfoo.dll", "MZ");
  Machine().files.PutFile(profile + L"Preferences",
                          R"({"plugins":{"plugins_list":[{"path":"C:/Plugins/npfoo.dll","name":"Foo","version":"1,0",)"
                          R"("enabled":true},{"path":"C:\\gone.dll","name":"Gone","enabled":true}]}})");
  TChromeBrowserCleaner cleaner;
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), std::vector<std::wstring>{L"Foo"});
  cleaner.RemoveItems({cleaner.Items[0]->ID});
  // The path entry switched, and an entry by name alone added for the
  // versions that look plug-ins up by name.
  EXPECT_EQ(Member(profile + L"Preferences", {L"plugins", L"plugins_list"}),
            R"([{"path":"C:/Plugins/npfoo.dll","name":"Foo","version":"1,0","enabled":false},)"
            R"({"path":"C:\\gone.dll","name":"Gone","enabled":true},{"enabled":false,"name":"Foo"}])");
}

TEST_F(BrowserCleanersTest, FirefoxOfTodaySwitchesTheDefaultProfilesAddOn) {
  const std::wstring mozilla = Folders().AppDataDir + L"\\Mozilla\\Firefox\\";
  const std::wstring profile = mozilla + L"Profiles\\b.default-release\\";
  Machine().files.PutFolder(profile);
  Machine().files.PutFolder(mozilla + L"Profiles\\a.default");
  Machine().files.PutFile(mozilla + L"profiles.ini",
                          "[Profile1]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\nDefault=1\r\n"
                          "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/b.default-release\r\n"
                          "[Install4F96D1932A9F858E]\r\nDefault=Profiles/b.default-release\r\nLocked=1\r\n");
  Machine().files.PutFile(profile + L"extensions.json",
                          R"({"addons":[{"id":"n@x","type":"extension","location":"app-profile","active":true,)"
                          R"("userDisabled":false,"version":"1","path":"C:\\n.xpi","defaultLocale":{"name":"N"}}]})");
  TFFBrowserCleaner cleaner;
  EXPECT_EQ(cleaner.ProfileDir, profile);
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), std::vector<std::wstring>{L"N"});
  cleaner.RemoveItems({cleaner.Items[0]->ID});
  EXPECT_TRUE(cleaner.Items.empty());
  EXPECT_NE(Text(profile + L"extensions.json").find(R"("active":false,"userDisabled":true)"), std::string::npos);
}

TEST_F(BrowserCleanersTest, FirefoxOfTheDatabaseEraSwitchesTheDatabaseTheFolderListAndPlugins) {
  const std::wstring mozilla = Folders().AppDataDir + L"\\Mozilla\\Firefox\\";
  const std::wstring profile = mozilla + L"Profiles\\old.default\\";
  Machine().files.PutFolder(profile);
  Machine().files.PutFile(mozilla + L"profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/old.default\r\n");
  {
    TSqliteDb db;
    ASSERT_TRUE(db.Open(profile + L"extensions.sqlite", TSqliteOpenMode::Create));
    ASSERT_TRUE(db.Exec(L"CREATE TABLE addon (internal_id INTEGER PRIMARY KEY, id TEXT, type TEXT, active INTEGER, "
                        L"userDisabled INTEGER, descriptor TEXT, version TEXT, defaultLocale INTEGER)"));
    ASSERT_TRUE(db.Exec(L"CREATE TABLE locale (id INTEGER PRIMARY KEY, name TEXT, description TEXT, creator TEXT)"));
    ASSERT_TRUE(db.Exec(L"INSERT INTO locale VALUES (1, 'Tabs', 'More tabs', 'Tab Co'), (2, 'Quiet', '', '')"));
    ASSERT_TRUE(db.Exec(L"INSERT INTO addon VALUES (1, 'tabs@x', 'extension', 1, 0, 'C:\\P\\ext\\tabs@x', '2.0', 1), "
                        L"(2, 'quiet@x', 'extension', 1, 1, 'C:\\P\\ext\\quiet@x', '1.0', 2)"));
  }
  Machine().files.PutFile(profile + L"extensions.ini",
                          "[ExtensionDirs]\r\nExtension0=C:\\P\\ext\\tabs@x\r\nExtension1=C:\\P\\ext\\other@x\r\n");
  Machine().files.PutFile(profile + L"pluginreg.dat",
                          "[PLUGINS]\r\nnpfoo.dll|$\r\nC:\\Foo\\npfoo.dll|$\r\n1.2|$\r\n1300000000|0|13|$\r\n"
                          "Foo plug-in|$\r\nFoo|$\r\n0\r\n\r\n");
  TFFBrowserCleaner cleaner;
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), (std::vector<std::wstring>{L"Tabs", L"Foo"}));  // "Quiet" is switched off
  EXPECT_EQ(Named(cleaner, L"Tabs").Publisher, L"Tab Co");
  cleaner.RemoveItems({cleaner.Items[0]->ID, cleaner.Items[1]->ID});
  EXPECT_TRUE(cleaner.Items.empty());
  {
    TSqliteDb db;
    ASSERT_TRUE(db.Open(profile + L"extensions.sqlite", TSqliteOpenMode::ReadOnly));
    auto row = db.Prepare(L"SELECT active, userDisabled FROM addon WHERE id='tabs@x'");
    ASSERT_TRUE(row && row->Step());
    EXPECT_EQ(row->ColumnInt(0), 0);
    EXPECT_EQ(row->ColumnInt(1), 1);
  }
  EXPECT_EQ(Text(profile + L"extensions.ini"), "[ExtensionDirs]\r\nExtension1=C:\\P\\ext\\other@x\r\n");
  EXPECT_NE(Text(profile + L"pluginreg.dat").find("1300000000|0|4|$"), std::string::npos);
}

class OperaCleanerTest : public BrowserCleanersTest {
 protected:
  // Opera 12 installed for the machine (a 32-bit program: its key is in the
  // 32-bit view), Opera of today for the user.
  void Install(const wchar_t* root, const wchar_t* name, const wchar_t* version) {
    Machine().ImportReg(std::wstring(L"Windows Registry Editor Version 5.00\r\n\r\n[") + root +
                        L"\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                        name + L"]\r\n\"DisplayName\"=\"" + name + L"\"\r\n\"DisplayVersion\"=\"" + version +
                        L"\"\r\n\"DisplayIcon\"=\"\\\"C:\\\\Program Files\\\\Opera\\\\opera.exe\\\",0\"\r\n");
  }
};

TEST_F(OperaCleanerTest, Opera12SwitchesWidgetsAndPlugins) {
  Install(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node", L"Opera 12.16", L"12.16.1860");
  const std::wstring widgets = Folders().LocalAppDataDir + L"\\Opera\\Opera\\widgets\\";
  const std::wstring profile = Folders().AppDataDir + L"\\Opera\\Opera\\";
  Machine().files.PutFolder(widgets + L"wuid-1");
  Machine().files.PutFile(widgets + L"widgets.dat", R"(<preferences><section id="wuid-1"/></preferences>)");
  Machine().files.PutFile(widgets + L"wuid-1\\prefs.dat",
                          R"(<preferences><section id="ui"><value id="name">Clock</value></section>)"
                          R"(<section id="user"><value id="GadgetEnabledOnStartup">yes</value></section></preferences>)");
  Machine().files.PutFile(profile + L"operaprefs.ini", "[User Prefs]\r\nDisabled Plugins=\r\n");
  Machine().files.PutFile(L"C:\\Program Files\\Opera\\program\\plugins\\np x.dll", "MZ");
  // Opera's own files of the Chromium generation play no part.
  Machine().files.PutFile(profile + L"Preferences", R"({"extensions":{"settings":{}}})");

  TOperaBrowserCleaner cleaner;
  EXPECT_EQ(cleaner.OperaVersion, 12);
  ASSERT_TRUE(cleaner.IsBrowserInstalled());
  EXPECT_EQ(cleaner.ProgramDir, L"C:\\Program Files\\Opera\\");
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), (std::vector<std::wstring>{L"Clock", L"np x.dll"}));
  cleaner.RemoveItems({cleaner.Items[0]->ID, cleaner.Items[1]->ID});
  EXPECT_TRUE(cleaner.Items.empty());
  EXPECT_EQ(Text(widgets + L"wuid-1\\prefs.dat"),
            R"(<preferences><section id="ui"><value id="name">Clock</value></section>)"
            R"(<section id="user"/></preferences>)");
  EXPECT_EQ(Text(profile + L"operaprefs.ini"),
            "[User Prefs]\r\nDisabled Plugins=C:\\Program Files\\Opera\\program\\plugins\\np x.dll;\r\n");
}

TEST_F(OperaCleanerTest, ChromiumOperaReportsWhetherTheRecordWasFoundAndSwitched) {
  Install(L"HKEY_CURRENT_USER\\Software", L"Opera Stable 112.0.5197.53", L"112.0.5197.53");
  const std::wstring profile = Folders().AppDataDir + L"\\Opera Software\\Opera Stable\\";
  Machine().files.PutFolder(profile + L"Extensions\\abcd\\1.0_0");
  Machine().files.PutFile(profile + L"Preferences",
                          R"({"extensions":{"settings":{"abcd":{"disable_reasons":[],"path":"abcd/1.0_0",)"
                          R"("manifest":{"name":"Speed Dial Plus","version":"1.0"}}}}})");
  TOperaBrowserCleaner cleaner;
  EXPECT_EQ(cleaner.ProfileDir, profile);
  cleaner.List();
  ASSERT_EQ(Captions(cleaner), std::vector<std::wstring>{L"Speed Dial Plus"});
  // The record went (the extension was uninstalled in Opera meanwhile): the
  // switch says so instead of reporting success.
  Machine().files.PutFile(profile + L"Preferences", R"({"extensions":{"settings":{}}})");
  EXPECT_FALSE(cleaner.RemoveItem(*cleaner.Items[0]));
  EXPECT_EQ(cleaner.LastProblem(), TSwitchProblem::tspNotFound);
}

}  // namespace
}  // namespace orvix
