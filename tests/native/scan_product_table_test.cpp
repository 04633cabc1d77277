// The maker's product table and its macro paths.
#include <gtest/gtest.h>

#include "named_case.h"
#include "platform/protected_locations.h"
#include "platform/text.h"
#include "sim_fixture.h"
#include "uninstall/product_table.h"

namespace orvix::testing {
namespace {

TEST(ScanProductTableTest, ElevenRowsOfTheMakerEachComplete) {
  const TFileterManage& table = ProductTable();
  ASSERT_EQ(table.Count(), 11);
  EXPECT_EQ(table.Row(-1), nullptr);
  EXPECT_EQ(table.Row(11), nullptr);
  for (int i = 0; i < table.Count(); ++i) {
    const TFilterData& row = *table.Row(i);
    EXPECT_TRUE(row.Key.starts_with(L"orvix ")) << row.Key;
    EXPECT_EQ(row.Key, LowerCase(row.Key));
    EXPECT_FALSE(row.Reg.empty() || row.Path.empty() || row.Filter.empty()) << row.Key;
    for (int j = 0; j < i; ++j) EXPECT_EQ(table.Row(j)->Key.find(row.Key), std::wstring::npos) << "shadowed row";
  }
}

TEST(ScanProductTableTest, FindsTheFirstRowContainedInTheText) {
  const TFileterManage& table = ProductTable();
  const std::wstring key = table.Row(2)->Key;
  EXPECT_EQ(table.FindProductRow(key + L" 3.1"), key);
  EXPECT_EQ(table.FindProductRow(L"foosoft foo"), L"");
  EXPECT_EQ(table.FindProductRow(L""), L"");
}

TEST(ScanProductTableTest, ColumnsByNameInAnyLetterCase) {
  const TFileterManage& table = ProductTable();
  const TFilterData& row = *table.Row(0);
  EXPECT_EQ(table.ProductColumn(UpperCase(row.Key), L"REG", L""), row.Reg);
  EXPECT_EQ(table.ProductColumn(row.Key, L"Path", L""), row.Path);
  EXPECT_EQ(table.ProductColumn(row.Key, L"filter", L""), row.Filter);
  EXPECT_EQ(table.ProductColumn(row.Key, L"key", L"none"), L"none");
  EXPECT_EQ(table.ProductColumn(L"foosoft foo", L"reg", L"none"), L"none");
}

struct MacroCase : NamedCase {
  const wchar_t* macro;
  const wchar_t* location;
  const wchar_t* expanded;
};

class ScanMacroPathTest : public SimMachineX86Test, public ::testing::WithParamInterface<MacroCase> {};

TEST_P(ScanMacroPathTest, Expands) {
  TSoftInfo record;
  record.InstallLocation = GetParam().location;
  EXPECT_EQ(ExpandMacroPath(GetParam().macro, record), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Macros, ScanMacroPathTest,
    ::testing::Values(
        MacroCase{{"InstallLocation"}, L"CSIDL_LOCAPTION\\license.dat", L"C:\\Foo\\", L"C:\\Foo\\license.dat"},
        MacroCase{
            {"InstallLocationWithoutBackslash"}, L"CSIDL_LOCAPTION\\Data\\a.db", L"C:\\Foo", L"C:\\Foo\\Data\\a.db"},
        MacroCase{{"AppData"}, L"CSIDL_APPDATA\\Orvix\\Tool", L"", L"C:\\Users\\Ann\\AppData\\Roaming\\Orvix\\Tool"},
        MacroCase{{"CommonAppData"}, L"CSIDL_COMMON_APPDATA\\Orvix", L"", L"C:\\ProgramData\\Orvix"},
        MacroCase{{"CommonPrograms"},
                  L"CSIDL_COMMON_PROGRAMS\\Orvix Tool",
                  L"",
                  L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Orvix Tool"},
        MacroCase{{"UnknownPrefix"}, L"CSIDL_DESKTOP\\a.lnk", L"C:\\Foo", L""},
        MacroCase{{"PrefixComparedExactly"}, L"csidl_appdata\\Orvix", L"C:\\Foo", L""},
        MacroCase{{"NoPrefix"}, L"license.dat", L"C:\\Foo", L""},
        MacroCase{{"NothingAfterTheFolder"}, L"CSIDL_APPDATA\\", L"", L""},
        MacroCase{{"NoInstallLocation"}, L"CSIDL_LOCAPTION\\license.dat", L"  ", L""}),
    CaseName());

TEST_F(SimMachineX86Test, ScanProductPathsNeverNameAProtectedFolder) {
  TSoftInfo record;
  record.InstallLocation = L"C:\\Program Files\\Orvix\\Tool\\";
  const TProtectedLocations locations;
  const TFileterManage& table = ProductTable();
  for (int i = 0; i < table.Count(); ++i) {
    for (const std::wstring* list : {&table.Row(i)->Path, &table.Row(i)->Filter}) {
      for (const std::wstring& element : SplitProductList(*list)) {
        const std::wstring path = ExpandMacroPath(element, record);
        EXPECT_FALSE(path.empty()) << element;
        EXPECT_FALSE(locations.IsProtected(path)) << path;
      }
    }
    for (const std::wstring& key : SplitProductList(table.Row(i)->Reg)) {
      EXPECT_TRUE(key.starts_with(L"HKEY_")) << key;
      EXPECT_NE(FindText(key, L"\\Orvix"), std::wstring::npos) << "not the maker's own key: " << key;
    }
  }
}

TEST(ScanProductTableTest, ListsSplitAtCommas) {
  EXPECT_EQ(SplitProductList(L" a, b ,,c "), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_TRUE(SplitProductList(L"").empty());
}

}  // namespace
}  // namespace orvix::testing
