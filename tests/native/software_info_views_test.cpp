// Enumeration over both registry views and both roots, and the duplicate
// pass that leaves one visible entry per program name.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "inventory/software_enumeration.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* k32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* k64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* kUser = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// "name [x64] (hidden)" for each entry, in list order.
std::vector<std::string> Describe(const TSoftList& entries) {
  std::vector<std::string> lines;
  for (const auto& entry : entries) {
    lines.push_back(Narrow(entry->DisplayName) + (entry->IsX64 ? " x64" : "") + (entry->Hidden ? " (hidden)" : ""));
  }
  return lines;
}

using Values = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

void PutEntry(sim::SimRegistry& registry, const std::wstring& key, const wchar_t* name, Values values = {}) {
  registry.PutString(key, L"DisplayName", name);
  registry.PutString(key, L"UninstallString", L"\"C:\\Program Files\\" + std::wstring(name) + L"\\unins.exe\"");
  for (const auto& [value, text] : values) registry.PutString(key, value, text);
}

using EnumerationTest = SimMachineTest;
using EnumerationX86Test = SimMachineX86Test;

TEST_F(EnumerationX86Test, OneViewAndNoEntryIsX64) {
  PutEntry(Registry(), std::wstring(k64) + L"Alpha", L"Alpha");
  PutEntry(Registry(), std::wstring(kUser) + L"User", L"User");
  EXPECT_EQ(Describe(EnumerateSoftware()), (std::vector<std::string>{"Alpha", "User"}));
}

// A broken installer that writes its name and command straight into the
// Uninstall key names no entry: removing or scanning that key would take
// every program's entry with it.
TEST_F(EnumerationX86Test, TheUninstallKeyItselfIsNoEntry) {
  PutEntry(Registry(), std::wstring(k64), L"Broken");
  PutEntry(Registry(), std::wstring(kUser), L"Broken User");
  PutEntry(Registry(), std::wstring(k64) + L"Alpha", L"Alpha");
  PutEntry(Registry(), std::wstring(k64) + L"Alpha\\Part", L"Part");
  EXPECT_EQ(Describe(EnumerateSoftware()), (std::vector<std::string>{"Alpha", "Part"}));
}

TEST_F(EnumerationTest, DefaultViewFirstThenThe64BitView) {
  PutEntry(Registry(), std::wstring(k32) + L"Alpha", L"Alpha");
  PutEntry(Registry(), std::wstring(kUser) + L"User", L"User");
  PutEntry(Registry(), std::wstring(k64) + L"Beta", L"Beta");
  // Both views share the user's Software key: its entries come twice, and
  // the 64-bit view's copy is hidden.
  const TSoftList entries = EnumerateSoftware();
  EXPECT_EQ(Describe(entries), (std::vector<std::string>{"Alpha", "User", "Beta x64", "User x64 (hidden)"}));
  EXPECT_EQ(Narrow(entries[1]->RootName), "HKEY_CURRENT_USER");
  EXPECT_EQ(Narrow(entries[2]->KeyPath), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Beta");
}

TEST_F(EnumerationTest, NamesakeInThe64BitViewIsMergedIntoTheDefaultViewEntry) {
  PutEntry(Registry(), std::wstring(k32) + L"Twin", L"Twin", {{L"Publisher", L"Twin Ltd"}});
  PutEntry(Registry(), std::wstring(k64) + L"Twin", L"TWIN",
           {{L"DisplayVersion", L"2.0"}, {L"HelpLink", L"https://twin.example"}, {L"Publisher", L"Other"}});
  Registry().PutDword(std::wstring(k64) + L"Twin", L"EstimatedSize", 2048);
  const TSoftList entries = EnumerateSoftware();
  ASSERT_EQ(Describe(entries), (std::vector<std::string>{"Twin", "TWIN x64 (hidden)"}));
  EXPECT_EQ(Narrow(entries[0]->DisplayVersion), "2.0");
  EXPECT_EQ(Narrow(entries[0]->HelpLink), "https://twin.example");
  EXPECT_EQ(Narrow(entries[0]->Publisher), "Twin Ltd") << "its own text wins";
  EXPECT_EQ(entries[0]->Size, 2097152);
  EXPECT_EQ(Narrow(entries[0]->SizeText), "2.00 MB");
  EXPECT_FALSE(entries[0]->IsX64);
}

TEST_F(EnumerationTest, SystemComponentGivesWayToItsNamesake) {
  const std::wstring component = std::wstring(k32) + L"Twin";
  PutEntry(Registry(), component, L"Twin", {{L"Publisher", L"Twin Ltd"}, {L"InstallDate", L"20240115"}});
  Registry().PutDword(component, L"SystemComponent", 1);
  PutEntry(Registry(), std::wstring(k64) + L"Twin", L"Twin", {{L"DisplayVersion", L"1.1"}});
  const TSoftList entries = EnumerateSoftware();
  ASSERT_EQ(Describe(entries), (std::vector<std::string>{"Twin (hidden)", "Twin x64"}));
  EXPECT_EQ(Narrow(entries[1]->Publisher), "Twin Ltd");
  EXPECT_EQ(Narrow(entries[1]->DisplayVersion), "1.1");
  EXPECT_EQ(Narrow(entries[1]->InstallDateText), "1/15/2024");
  EXPECT_EQ(entries[1]->InstallDate, *EncodeDate(2024, 1, 15));
}

TEST_F(EnumerationTest, InstallerSystemComponentIsHiddenEvenAlone) {
  const std::wstring msi = std::wstring(k32) + L"{0D8F3E21-6A4B-4C97-B5E2-3F1A9C7D8E60}";
  Registry().PutString(msi, L"DisplayName", L"Runtime");
  Registry().PutString(msi, L"UninstallString", L"MsiExec.exe /X{0D8F3E21-6A4B-4C97-B5E2-3F1A9C7D8E60}");
  Registry().PutDword(msi, L"SystemComponent", 1);
  PutEntry(Registry(), std::wstring(k32) + L"Driver", L"Driver");
  Registry().PutDword(std::wstring(k32) + L"Driver", L"SystemComponent", 1);
  EXPECT_EQ(Describe(EnumerateSoftware()), (std::vector<std::string>{"Driver", "Runtime (hidden)"}));
}

TEST_F(EnumerationTest, MachineBeforeUserAndParentsBeforeChildren) {
  const std::wstring suite = std::wstring(k32) + L"Suite";
  PutEntry(Registry(), suite, L"Suite");
  PutEntry(Registry(), suite + L"\\Components\\Editor", L"Suite Editor");
  PutEntry(Registry(), suite + L"\\Components\\Core", L"Suite", {{L"DisplayVersion", L"7.0"}});
  PutEntry(Registry(), std::wstring(kUser) + L"Suite", L"suite", {{L"Publisher", L"Suite Ltd"}});
  const TSoftList entries = EnumerateSoftware();
  ASSERT_EQ(Describe(entries), (std::vector<std::string>{"Suite", "Suite (hidden)", "Suite Editor",
                                                         "suite (hidden)", "suite x64 (hidden)"}));
  EXPECT_EQ(Narrow(entries[0]->KeyPath), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Suite");
  EXPECT_EQ(Narrow(entries[0]->DisplayVersion), "7.0");
  EXPECT_EQ(Narrow(entries[0]->Publisher), "Suite Ltd");
}

TEST(MergeEntry, FillsOnlyWhatTheKeptEntryLacks) {
  TSoftInfo kept;
  kept.DisplayName = L"Foo";
  kept.HelpLink = L"-";
  kept.Publisher = L" ";
  kept.DisplayVersion = L"1.0";
  kept.Size = -1024;
  kept.InstallLocation = L"C:\\Foo";
  TSoftInfo dropped;
  dropped.DisplayName = L"Foo";
  dropped.HelpLink = L"https://foo.example";
  dropped.Publisher = L"Foo Ltd";
  dropped.DisplayVersion = L"2.0";
  dropped.URLInfoAbout = L"https://foo.example/about";
  dropped.URLUpdateInfo = L"https://foo.example/update";
  dropped.InstallDateText = L"1/2/2024";
  dropped.InstallDate = 45293;
  dropped.Size = 4096;
  dropped.SizeText = L"4.00 KB";
  dropped.DisplayIcon = L"C:\\Foo\\foo.exe";
  dropped.IconIndex = 3;
  dropped.InstallLocation = L"C:\\Other";
  dropped.Readme = L"C:\\Foo\\readme.txt";
  dropped.ImageIndex = 9;

  MergeEntry(kept, dropped);
  EXPECT_EQ(Narrow(kept.HelpLink), "https://foo.example");
  EXPECT_EQ(Narrow(kept.Publisher), "Foo Ltd");
  EXPECT_EQ(Narrow(kept.DisplayVersion), "1.0");
  EXPECT_EQ(Narrow(kept.URLInfoAbout), "https://foo.example/about");
  EXPECT_EQ(Narrow(kept.URLUpdateInfo), "https://foo.example/update");
  EXPECT_EQ(Narrow(kept.InstallDateText), "1/2/2024");
  EXPECT_EQ(kept.InstallDate, 45293);
  EXPECT_EQ(kept.Size, 4096);
  EXPECT_EQ(Narrow(kept.SizeText), "4.00 KB");
  EXPECT_EQ(Narrow(kept.DisplayIcon), "C:\\Foo\\foo.exe");
  EXPECT_EQ(kept.IconIndex, 3);
  EXPECT_EQ(Narrow(kept.InstallLocation), "C:\\Foo");
  EXPECT_EQ(Narrow(kept.Readme), "C:\\Foo\\readme.txt");
  EXPECT_EQ(kept.ImageIndex, 0) << "not merged";

  TSoftInfo placeholders;
  placeholders.HelpLink = L"-";
  placeholders.Publisher = L" ";
  MergeEntry(kept, placeholders);
  EXPECT_EQ(Narrow(kept.HelpLink), "https://foo.example") << "a placeholder never replaces a text";
  EXPECT_EQ(Narrow(kept.Publisher), "Foo Ltd");
}

}  // namespace
}  // namespace orvix::testing
