// The stand-alone operations of the add-on cleaners: folder walks of browser
// profiles, the Opera version, file facts of plug-in files and the work
// copies kept in the data folder.
#include "addons/browser_folders.h"

#include <gtest/gtest.h>

#include "addon_fixture.h"
#include "addons/plugin_file_info.h"
#include "named_case.h"
#include "platform/file_helpers.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

class AddonHelpersTest : public SimMachineTest {};

TEST_F(AddonHelpersTest, WalksFindFilesDepthFirstAndNeverFollowLinks) {
  auto& files = Machine().files;
  files.PutFile(L"C:\\Profile\\a\\deep\\prefs.js", std::string_view("1"));
  files.PutFile(L"C:\\Profile\\b\\Prefs.JS", std::string_view("2"));
  files.PutFile(L"C:\\Profile\\top.txt", std::string_view("3"));
  files.PutFile(L"C:\\Elsewhere\\prefs.js", std::string_view("4"));
  files.MakeJunction(L"C:\\Profile\\0link", L"C:\\Elsewhere");
  EXPECT_EQ(FindFileInTree(L"C:\\Profile", L"PREFS.js"), L"C:\\Profile\\a\\deep\\prefs.js");
  EXPECT_EQ(FindFileInTree(L"C:\\Profile\\", L"missing.js"), L"");
  std::vector<std::wstring> list;
  ListFilesInTree(L"C:\\Profile", list);
  EXPECT_EQ(list, (std::vector<std::wstring>{L"C:\\Profile\\a\\deep\\prefs.js", L"C:\\Profile\\b\\Prefs.JS",
                                             L"C:\\Profile\\top.txt"}));
}

TEST_F(AddonHelpersTest, LeadingNumbersAndTheOperaVersion) {
  const std::pair<const wchar_t*, int> numbers[] = {{L"12.16", 12}, {L"120.0.1", 120}, {L"12", 0}, {L"x.1", -1},
                                                    {L".5", -1},    {L"", 0}};
  for (const auto& [text, number] : numbers) EXPECT_EQ(LeadingNumber(text), number) << Narrow(text);

  EXPECT_EQ(OperaMajorVersion(), -1);
  const std::wstring user = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Opera 45.0";
  Registry().PutString(user, L"DisplayVersion", L"45.0.2552");
  EXPECT_EQ(OperaMajorVersion(), 45);
  const std::wstring machine = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Opera Next";
  Registry().PutString(machine, L"DisplayVersion", L"15.0");
  Registry().PutString(machine, L"DisplayName", L"Opera Next 15");
  EXPECT_EQ(OperaMajorVersion(), 12);  // the machine's entry wins; "Next" counts as 12
}

TEST_F(AddonHelpersTest, FileFactsComeFromTheVersionResourceAndTheSigner) {
  const std::wstring dll = L"C:\\Plugins\\np.dll";
  Machine().files.PutFile(dll, std::string_view("MZ"));
  Machine().versions.AttachStrings(dll, {{L"ProductName", L" Viewer "},
                                         {L"FileDescription", L"Viewer plug-in"},
                                         {L"CompanyName", L"Unknown"},
                                         {L"FileVersion", L"3.1.0.7"},
                                         {L"ProductVersion", L"3.1"}});
  Machine().versions.SetSigner(dll, L"Viewer Signing");
  std::vector<std::wstring> list;
  EXPECT_TRUE(GetVersionInfoList(dll, list));
  ASSERT_EQ(list.size(), 11u);
  EXPECT_EQ(list[8], L"Viewer");  // trimmed
  const TMozilPlugFileInfo file = GetPluginFileInfo(dll, false);
  EXPECT_EQ(file.ProductName, L"Viewer");
  EXPECT_EQ(file.CompanyName, L"");  // "Unknown" is no company
  EXPECT_EQ(file.Version, L"3.1.0.7");
  EXPECT_EQ(file.Signer, L"Viewer Signing");
  EXPECT_EQ(GetPluginFileInfo(dll, true).Version, L"3.1");

  EXPECT_FALSE(GetVersionInfoList(L"C:\\Plugins\\none.dll", list));
  EXPECT_EQ(list, std::vector<std::wstring>(11, L"Unknown"));
  const TMozilPlugFileInfo missing = GetPluginFileInfo(L"C:\\Plugins\\none.dll", true);
  EXPECT_EQ(missing.Path, L"C:\\Plugins\\none.dll");
  EXPECT_TRUE(missing.Version.empty() && missing.Signer.empty());
}

TEST_F(AddonHelpersTest, WorkCopiesReplaceTheFolderOfThePreviousOne) {
  Machine().files.PutFile(L"C:\\Profile\\Preferences", std::string_view("{}"));
  TFakeCleaner cleaner(pbChrome);
  const std::wstring copy = cleaner.BackupToWorkFolder(L"Chrome\\", L"C:\\Profile\\Preferences");
  EXPECT_EQ(copy, cleaner.DataDir + L"Chrome\\Preferences");
  Machine().files.PutFile(cleaner.DataDir + L"Chrome\\old.txt", std::string_view("old"));
  EXPECT_EQ(cleaner.BackupToWorkFolder(L"Chrome\\", L"C:\\Profile\\Preferences"), copy);
  EXPECT_FALSE(FileExists(cleaner.DataDir + L"Chrome\\old.txt"));
  EXPECT_TRUE(FileExists(copy));
  EXPECT_EQ(cleaner.BackupToWorkFolder(L"Chrome\\", L"C:\\Profile\\missing"), L"");
}

}  // namespace
}  // namespace orvix::testing
