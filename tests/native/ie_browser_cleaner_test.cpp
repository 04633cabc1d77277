// Internet Explorer's add-ons over a simulated 64-bit machine's registry:
// what each source lists (both views), how entries are described from their
// class and server file, and the switch-off and switch-on in the user's
// add-on settings.
#include "addons/ie_browser_cleaner.h"

#include <gtest/gtest.h>

#include "addons/all_browser_cleaner.h"
#include "named_case.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

constexpr wchar_t kWow[] = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\";
constexpr wchar_t kNative[] = L"HKLM\\SOFTWARE\\Microsoft\\";
constexpr wchar_t kSettings[] = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";
constexpr wchar_t kStats[] = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats\\";

class IeCleanerTest : public testing::SimMachineTest {
 protected:
  IeCleanerTest() { InstallIe(L"9.0000"); }

  void InstallIe(const std::wstring& version) {
    for (const std::wstring side : {kWow, kNative}) {
      Registry().PutString(side + L"Internet Explorer", L"Version", version);
      Registry().PutString(side + L"Internet Explorer\\Version Vector", L"IE", version);
    }
  }
  // A COM class with a name and an in-process server, in one view.
  void PutClass(const std::wstring& clsid, const std::wstring& name, const std::wstring& server, bool view64 = false) {
    const std::wstring key = (view64 ? L"HKLM\\SOFTWARE\\Classes\\CLSID\\" : L"HKLM\\SOFTWARE\\Classes\\Wow6432Node\\CLSID\\") + clsid;
    if (!name.empty()) Registry().PutString(key, L"", name);
    Registry().PutString(key + L"\\InprocServer32", L"", server);
  }
  void PutServerFile(const std::wstring& path, const std::wstring& company, const std::wstring& signer = L"") {
    Machine().files.PutFile(path, std::string_view("MZ"));
    Machine().versions.AttachStrings(path, {{L"CompanyName", company},
                                            {L"FileDescription", L"Helper of " + company},
                                            {L"FileVersion", L"1, 2, 3, 4"},
                                            {L"ProductVersion", L"1.2"}});
    if (!signer.empty()) Machine().versions.SetSigner(path, signer);
  }
  // A REG_DWORD value, or none.
  std::optional<DWORD> Dword(const std::wstring& key, const std::wstring& name) {
    const auto value = Registry().GetValue(key, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    return static_cast<DWORD>(value->data[0] | value->data[1] << 8 | value->data[2] << 16 | value->data[3] << 24);
  }
  // "caption|group|64|location" of every entry, in list order.
  static std::vector<std::wstring> Listing(const TCustomBrowserCleaner& cleaner) {
    std::vector<std::wstring> lines;
    for (const auto& item : cleaner.Items) {
      lines.push_back(item->Caption + L"|" + std::to_wstring(item->Collection.Kind) + L"|" +
                      (item->Is64Bit ? L"64" : L"32") + L"|" + item->Paths[0] + (item->Active ? L"" : L"|off"));
    }
    return lines;
  }
};

TEST_F(IeCleanerTest, ListsEverySourceOfBothViewsWithItsLocation) {
  PutClass(L"{B1}", L"Shop Helper", L"C:\\Shop\\helper.dll");
  PutServerFile(L"C:\\Shop\\helper.dll", L"Shop Inc", L"Shop Signing Ltd");
  Registry().PutKey(std::wstring(kWow) + L"Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{B1}");
  // Internet Explorer's own helper and a helper whose class has no name are never listed.
  PutClass(L"{10921475-03CE-4E04-90CE-E2E7EF20C814}", L"IE own", L"C:\\ie.dll");
  Registry().PutKey(std::wstring(kWow) +
                    L"Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{10921475-03CE-4E04-90CE-E2E7EF20C814}");
  PutClass(L"{B2}", L"", L"C:\\nameless.dll");
  Registry().PutKey(std::wstring(kWow) + L"Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{B2}");

  PutClass(L"{T1}", L"Search Bar", L"C:\\Bar\\bar.dll", true);
  Registry().PutString(std::wstring(kNative) + L"Internet Explorer\\Toolbar", L"{T1}", L"");
  Registry().PutString(std::wstring(kNative) + L"Internet Explorer\\Toolbar", L"Locked", L"");

  Registry().PutString(std::wstring(kWow) + L"Internet Explorer\\Extensions\\{E1}", L"MenuText", L"Send to &Notes");
  Registry().PutString(std::wstring(kWow) + L"Internet Explorer\\Extensions\\{E2}", L"Icon", L"x.ico");  // no caption
  Registry().PutString(L"HKCU\\Software\\Microsoft\\Internet Explorer\\Extensions\\{E3}", L"ButtonText", L"Mine");
  Registry().PutString(L"HKCU\\Software\\Microsoft\\Internet Explorer\\Extensions\\{E3}", L"MenuText", L"Unused");

  PutClass(L"{A1}", L"Player Control", L"C:\\Player\\player.dll");
  PutServerFile(L"C:\\Player\\player.dll", L"Player Co");
  Registry().PutKey(std::wstring(kWow) + L"Code Store Database\\Distribution Units\\{A1}");
  PutClass(L"{A2}", L"Stats Control", L"C:\\stats.dll");
  Registry().PutDword(std::wstring(kStats) + L"{A2}\\iexplore", L"Type", 1);
  PutClass(L"{A3}", L"Unused Control", L"C:\\unused.dll");
  Registry().PutDword(std::wstring(kStats) + L"{A3}\\iexplore", L"Type", 0);

  TIEBrowserCleaner cleaner;
  cleaner.List();
  EXPECT_EQ(Listing(cleaner),
            (std::vector<std::wstring>{
                L"Send to Notes|3|32|80000002\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{E1}",
                L"Mine|3|32|80000001\\SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{E3}",
                L"Shop Helper|4|32|80000002\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper "
                L"Objects\\{B1}",
                L"Player Control|5|32|80000001\\SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units\\{A1}",
                L"Stats Control|5|32|80000001\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Stats\\{A2}",
                L"Search Bar|3|64|80000002\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar",
            }));
  const TPluginItem& helper = *cleaner.Items[2];
  EXPECT_EQ(helper.ItemID, L"{B1}");
  EXPECT_EQ(helper.Publisher, L"Shop Signing Ltd");  // the signer before the company
  EXPECT_EQ(helper.Description, L"Helper of Shop Inc");
  EXPECT_EQ(helper.Version, L"1. 2. 3. 4");  // the file version, commas made dots
  const TPluginItem& control = *cleaner.Items[3];
  EXPECT_EQ(control.Publisher, L"Player Co");
  EXPECT_EQ(control.Version, L"1.2");  // ActiveX controls prefer the product version
  auto* info = dynamic_cast<TIEBrowserCleaner::TIEPluginExtInfo*>(control.ExtInfo.get());
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->ClassKey, L"\\SOFTWARE\\Classes\\CLSID\\{A1}");
  auto* mine = dynamic_cast<TIEBrowserCleaner::TIEPluginExtInfo*>(cleaner.Items[1]->ExtInfo.get());
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->Source, TIEBrowserCleaner::srUserExtension);
  EXPECT_EQ(mine->Values, (std::vector<std::wstring>{L"ButtonText=Mine", L"MenuText=Unused"}));
}

struct DisabledCase : testing::NamedCase {
  const wchar_t* ieVersion;
  DWORD flags;
  const wchar_t* version;
  bool listed;
};

class IeDisabledTest : public IeCleanerTest, public ::testing::WithParamInterface<DisabledCase> {};

TEST_P(IeDisabledTest, AddOnsInternetExplorerHasSwitchedOffAreLeftOut) {
  const DisabledCase& c = GetParam();
  InstallIe(c.ieVersion);
  PutClass(L"{B1}", L"Helper", L"C:\\h.dll");
  Registry().PutKey(std::wstring(kWow) + L"Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{B1}");
  Registry().PutDword(std::wstring(kSettings) + L"{b1}", L"Flags", c.flags);
  Registry().PutString(std::wstring(kSettings) + L"{b1}", L"Version", c.version);
  TIEBrowserCleaner cleaner;
  cleaner.List();
  EXPECT_EQ(cleaner.Items.size(), c.listed ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, IeDisabledTest,
                         ::testing::Values(DisabledCase{{"flags_zero"}, L"9.0", 0, L"*", true},
                                           DisabledCase{{"flags_one"}, L"9.0", 1, L"x", false},
                                           DisabledCase{{"ie7_star"}, L"7.0000", 1, L"*", false},
                                           DisabledCase{{"ie7_not_star"}, L"7.0000", 1, L"7.0", true}),
                         testing::CaseName());

TEST_F(IeCleanerTest, ControlsOfBothViewsAreTwinsAndSwitchOffAndOnTogether) {
  PutClass(L"{A2}", L"Stats Control", L"C:\\stats.dll");
  PutClass(L"{A2}", L"Stats Control", L"C:\\stats.dll", true);
  Registry().PutDword(std::wstring(kStats) + L"{A2}\\iexplore", L"Type", 1);
  TIEBrowserCleaner cleaner;
  cleaner.List();
  ASSERT_EQ(Listing(cleaner).size(), 2u);
  TAllBrowserCleaner all;
  all.AddCleaner(&cleaner);
  all.BuildCombined();
  ASSERT_EQ(all.CombinedCount(), 1);

  all.Remove({cleaner.Items[0]->ID});
  EXPECT_TRUE(cleaner.Items.empty());
  EXPECT_EQ(Dword(std::wstring(kSettings) + L"{A2}", L"Flags"), 1u);
  EXPECT_EQ(Registry().GetString(std::wstring(kSettings) + L"{A2}", L"Version"), L"*");
  EXPECT_FALSE(Dword(std::wstring(kStats) + L"{A2}\\iexplore", L"Flags"));  // only Internet Explorer 7 needs it

  TIEBrowserCleaner again;
  again.List();
  EXPECT_TRUE(again.Items.empty());  // switched off: no longer listed
  again.Reset(false);
  again.IncludeInactive = true;
  again.List();
  ASSERT_EQ(Listing(again).size(), 2u);
  EXPECT_FALSE(again.Items[0]->Active);
  TAllBrowserCleaner allAgain;
  allAgain.AddCleaner(&again);
  allAgain.BuildCombined();
  allAgain.Restore({again.Items[0]->ID});
  EXPECT_TRUE(again.Items[0]->Active && again.Items[1]->Active);

  TIEBrowserCleaner restored;
  restored.List();
  EXPECT_EQ(Listing(restored).size(), 2u);
}

TEST_F(IeCleanerTest, InternetExplorer7AlsoWritesTheStatisticsFlagAndFailsWhenItCannot) {
  InstallIe(L"7.0000");
  PutClass(L"{B1}", L"Helper", L"C:\\h.dll");
  Registry().PutKey(std::wstring(kWow) + L"Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\{B1}");
  TIEBrowserCleaner cleaner;
  cleaner.List();
  ASSERT_EQ(cleaner.Items.size(), 1u);
  EXPECT_TRUE(cleaner.DisableAddon(*cleaner.Items[0]));
  EXPECT_EQ(Dword(std::wstring(kStats) + L"{B1}\\iexplore", L"Flags"), 5u);

  Registry().SetKeyAccess(std::wstring(kStats) + L"{B1}\\iexplore", KEY_READ);
  EXPECT_FALSE(cleaner.DisableAddon(*cleaner.Items[0]));
}

TEST_F(IeCleanerTest, InactiveEntriesSucceedAtOnceAndAToolbarNeedsItsExtraData) {
  TIEBrowserCleaner cleaner;
  TPluginItem off;
  off.ItemID = L"{X}";
  off.Collection.Kind = pgBHO;
  off.Active = false;
  EXPECT_TRUE(cleaner.RemoveItem(off));
  EXPECT_FALSE(Registry().HasKey(std::wstring(kSettings) + L"{X}"));
  TPluginItem toolbar;
  toolbar.ItemID = L"{T}";
  toolbar.Collection.Kind = pgToolbar;
  EXPECT_FALSE(cleaner.RemoveItem(toolbar));
  EXPECT_FALSE(Registry().HasKey(std::wstring(kSettings) + L"{T}"));
}

}  // namespace
}  // namespace orvix
