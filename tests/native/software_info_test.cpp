// The inventory object: stable positions across Refresh, the folder and name
// queries, and removing an entry's key.
#include "inventory/software_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/date_time.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* k32 = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const wchar_t* k64 = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class SoftwareInfoTest : public SimMachineTest {
 protected:
  void Put(const wchar_t* view, const std::wstring& key, const std::wstring& name, const std::wstring& location = {}) {
    Registry().PutString(view + key, L"DisplayName", name);
    Registry().PutString(view + key, L"UninstallString", L"C:\\Uninstallers\\" + name + L".exe");
    if (!location.empty()) Registry().PutString(view + key, L"InstallLocation", location);
  }

  // "name" or "name (hidden)" per position.
  static std::vector<std::string> Listing(const TSoftwareInfo& info) {
    std::vector<std::string> lines;
    for (const auto& entry : info.Items())
      lines.push_back(Narrow(entry->DisplayName) + (entry->Hidden ? " (hidden)" : ""));
    return lines;
  }
};

TEST_F(SoftwareInfoTest, RefreshKeepsPositionsHidesWhatWentAndAppendsWhatCame) {
  Put(k32, L"A", L"Alpha");
  Put(k32, L"B", L"Beta");
  Put(k64, L"C", L"Gamma");
  TSoftwareInfo info;
  ASSERT_EQ(Listing(info), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  info.GetItem(0)->Size = 12345;  // as the analysis measured it
  info.GetItem(0)->ImageIndex = 4;

  Registry().RemoveKey(std::wstring(k32) + L"B");
  Put(k32, L"D", L"Delta");
  info.Refresh();
  EXPECT_EQ(Listing(info), (std::vector<std::string>{"Alpha", "Beta (hidden)", "Gamma", "Delta"}));
  EXPECT_EQ(info.GetItem(0)->Size, 12345);
  EXPECT_EQ(info.GetItem(0)->ImageIndex, 4);
  EXPECT_TRUE(info.GetItem(2)->IsX64);

  Put(k32, L"B", L"Beta");
  info.Refresh();
  EXPECT_EQ(Listing(info), (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Delta"}));
}

TEST_F(SoftwareInfoTest, RefreshKnowsAProgramByNameCommandAndView) {
  Put(k32, L"A", L"Alpha");
  Put(k32, L"B", L"Beta");
  Put(k64, L"C", L"Gamma");
  Put(k32, L"D", L"Delta");
  TSoftwareInfo info;
  ASSERT_EQ(Listing(info), (std::vector<std::string>{"Alpha", "Beta", "Delta", "Gamma"}));

  Registry().PutString(std::wstring(k32) + L"A", L"UninstallString", L"C:\\Uninstallers\\Alpha2.exe");  // updated
  Registry().PutString(std::wstring(k32) + L"B", L"DisplayName", L"BETA");  // only the case differs
  Registry().RemoveKey(std::wstring(k64) + L"C");
  Put(k32, L"C", L"Gamma");  // now in the other view
  Registry().RemoveKey(std::wstring(k32) + L"D");
  Put(k32, L"D2", L"Delta");  // same program under another key
  info.Refresh();

  EXPECT_EQ(Listing(info), (std::vector<std::string>{"Alpha (hidden)", "BETA", "Delta", "Gamma (hidden)", "Alpha",
                                                     "Gamma"}));
  EXPECT_EQ(Narrow(info.GetItem(2)->KeyPath), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\D2");
  EXPECT_TRUE(info.RemoveEntry(info.GetItem(2)));
  EXPECT_FALSE(Registry().HasKey(std::wstring(k32) + L"D2")) << "the key it is registered under now";
}

TEST_F(SoftwareInfoTest, RefreshAfterAnUpgradeInPlaceShowsWhatTheRegistrySaysNow) {
  Put(k32, L"A", L"Alpha");
  Registry().PutString(std::wstring(k32) + L"A", L"DisplayVersion", L"1.0");
  Registry().PutString(std::wstring(k32) + L"A", L"Publisher", L"Alpha Ltd");
  Put(k32, L"B", L"Beta");
  TSoftwareInfo info;
  for (const int i : {0, 1}) {  // as the analysis measured and dated them
    info.GetItem(i)->Size = 12345;
    info.GetItem(i)->SizeText = L"12.06 KB";
    info.GetItem(i)->InstallDateText = L"1/2/2020";
  }

  Registry().PutString(std::wstring(k32) + L"A", L"DisplayVersion", L"2.0");
  Registry().PutString(std::wstring(k32) + L"A", L"Publisher", L"Alpha Inc");
  Registry().PutDword(std::wstring(k32) + L"A", L"EstimatedSize", 2048);  // KiB
  Registry().PutString(std::wstring(k32) + L"A", L"InstallDate", L"20240301");
  info.Refresh();

  const TSoftInfo& alpha = *info.GetItem(0);
  EXPECT_EQ(alpha.DisplayVersion, L"2.0");
  EXPECT_EQ(alpha.Publisher, L"Alpha Inc");
  EXPECT_EQ(alpha.Size, 2048 * 1024);
  EXPECT_EQ(alpha.InstallDate, *EncodeDate(2024, 3, 1));
  // What the registry does not give stays as the analysis found it.
  const TSoftInfo& beta = *info.GetItem(1);
  EXPECT_EQ(beta.Size, 12345);
  EXPECT_EQ(beta.InstallDateText, L"1/2/2020");
}

TEST_F(SoftwareInfoTest, GetItemAnswersNothingOutsideTheList) {
  Put(k32, L"A", L"Alpha");
  TSoftwareInfo info;
  EXPECT_EQ(Narrow(info.GetItem(0)->DisplayName), "Alpha");
  EXPECT_EQ(info.GetItem(-1), nullptr);
  EXPECT_EQ(info.GetItem(1), nullptr);
  info.Clear();
  EXPECT_EQ(info.Count(), 0);
  EXPECT_EQ(info.GetItem(0), nullptr);
}

class SoftwareInfoFolderTest : public SoftwareInfoTest {
 protected:
  void SetUp() override {
    Machine().files.PutFolder(L"C:\\Program Files\\Foo\\Plugins");
    Machine().files.PutFolder(L"C:\\Program Files\\Foobar");
    std::wstring shortFoo;  // C:\PROGRA~n\Foo
    ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files\\Foo", &shortFoo), ERROR_SUCCESS);
    Put(k32, L"1", L"Foo", shortFoo);
    Put(k32, L"2", L"Foo Plugins", L"c:/program files/foo//plugins/");
    Put(k32, L"3", L"Foobar", L"C:\\Program Files\\Foobar\\");
    Put(k32, L"4", L"Bar", L"");
  }
  std::vector<std::string> Found(int count, const std::vector<std::wstring>& indexes) const {
    std::vector<std::string> found;
    for (const std::wstring& index : indexes) found.push_back(Narrow(index));
    EXPECT_EQ(static_cast<std::size_t>(count), found.size());
    return found;
  }
  using Query = int (TSoftwareInfo::*)(const std::wstring&, std::vector<std::wstring>&) const;
  std::vector<std::string> Ask(const TSoftwareInfo& info, Query query, const std::wstring& text) const {
    std::vector<std::wstring> indexes;
    const int count = (info.*query)(text, indexes);
    return Found(count, indexes);
  }
  using Positions = std::vector<std::string>;
};

TEST_F(SoftwareInfoFolderTest, FindByFolderOfComparesLongNormalisedFolders) {
  const TSoftwareInfo info;
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"C:\\Program Files\\Foo\\foo.exe"), Positions{"0"});
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"C:\\PROGRAM FILES\\FOO\\PLUGINS\\p.dll"), Positions{"1"});
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"C:\\Program Files\\Foobar"), Positions{"2"})
      << "a folder stands for itself";
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"C:\\Program Files\\setup.exe"), Positions{});
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"foo.exe"), Positions{});
}

TEST_F(SoftwareInfoFolderTest, FindInFolderTakesSubFoldersButNotNamesakes) {
  const TSoftwareInfo info;
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindInFolder, L"c:\\program files\\foo"), (Positions{"0", "1"}));
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindInFolder, L" C:\\Program Files\\ "), (Positions{"0", "1", "2"}));
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindInFolder, L"  "), Positions{});
  EXPECT_EQ(info.FindInFolder(L"C:\\Program Files\\Foo\\Plugins"), 1);
  Machine().files.Remove(L"C:\\Program Files\\Foo\\Plugins");
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindInFolder, L"C:\\Program Files\\Foo"), Positions{"0"})
      << "a folder that is gone holds nothing";
}

TEST_F(SoftwareInfoFolderTest, QueriesSkipHiddenEntriesAndAppend) {
  TSoftwareInfo info;
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByName, L"FOO"), (Positions{"0", "1", "2"}));
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByName, L""), Positions{});
  info.GetItem(0)->Hidden = true;
  std::vector<std::wstring> indexes = {L"earlier"};
  EXPECT_EQ(info.FindByName(L"foo", indexes), 2);
  EXPECT_EQ(indexes, (std::vector<std::wstring>{L"earlier", L"1", L"2"}));
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindInFolder, L"C:\\Program Files\\Foo"), Positions{"1"});
  EXPECT_EQ(Ask(info, &TSoftwareInfo::FindByFolderOf, L"C:\\Program Files\\Foo\\foo.exe"), Positions{});
}

TEST_F(SoftwareInfoTest, RemoveEntryDeletesTheKeyTreeInTheEntrysOwnView) {
  Put(k64, L"Shared", L"Wide");
  Registry().PutString(std::wstring(k64) + L"Shared\\Sub", L"Value", L"x");
  Put(k32, L"Shared", L"Narrow");
  TSoftwareInfo info;
  ASSERT_EQ(Listing(info), (std::vector<std::string>{"Narrow", "Wide"}));
  TSoftInfo* wide = info.GetItem(1);
  ASSERT_TRUE(wide->IsX64);

  EXPECT_TRUE(info.RemoveEntry(wide));
  EXPECT_TRUE(wide->Hidden);
  EXPECT_FALSE(Registry().HasKey(std::wstring(k64) + L"Shared"));
  EXPECT_TRUE(Registry().HasKey(std::wstring(k32) + L"Shared")) << "the 32-bit view's namesake key stays";
  EXPECT_FALSE(info.RemoveEntry(wide)) << "already hidden";
  EXPECT_FALSE(info.RemoveEntry(nullptr));

  info.Refresh();
  EXPECT_EQ(Listing(info), (std::vector<std::string>{"Narrow", "Wide (hidden)"}));
}

TEST_F(SoftwareInfoTest, RemoveEntryFailsWhereTheKeyStays) {
  Put(k32, L"Locked", L"Locked");
  Registry().SetUndeletable(std::wstring(k32) + L"Locked");
  // An installer that wrote its entry into the Uninstall key itself.
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"DisplayName",
                       L"Careless");
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                       L"UninstallString", L"C:\\careless.exe");
  TSoftwareInfo info;
  ASSERT_EQ(Listing(info), (std::vector<std::string>{"Locked"})) << "the Uninstall key itself is no entry";

  EXPECT_FALSE(info.RemoveEntry(info.GetItem(0)));
  EXPECT_FALSE(info.GetItem(0)->Hidden);
  EXPECT_TRUE(Registry().HasKey(std::wstring(k32) + L"Locked"));
  // A suite's entry key that holds its parts' entries stays whole.
  Put(k32, L"Suite", L"Suite");
  Put(k32, L"Suite\\Editor", L"Suite Editor");
  info.Refresh();
  TSoftInfo* suite = info.GetItem(1);
  ASSERT_EQ(suite->DisplayName, L"Suite");
  EXPECT_FALSE(info.RemoveEntry(suite));
  EXPECT_TRUE(Registry().HasKey(std::wstring(k32) + L"Suite\\Editor"));
  // Were it handed one, removal would still refuse it.
  TSoftInfo careless;
  careless.DisplayName = L"Careless";
  careless.RootName = L"HKEY_LOCAL_MACHINE";
  careless.KeyPath = kUninstallKeyPath;
  EXPECT_FALSE(info.RemoveEntry(&careless)) << "that would remove every program's entry";
  EXPECT_TRUE(Registry().HasKey(std::wstring(k32) + L"Locked"));
}

}  // namespace
}  // namespace orvix::testing
