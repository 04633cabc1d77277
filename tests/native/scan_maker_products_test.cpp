// The maker's own products: their keys from the product table, made safe,
// and the maker's key when the product was the last one under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry_helpers.h"
#include "scan_lines.h"
#include "sim_fixture.h"
#include "uninstall/maker_keys.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/scan_area_list.h"
#include "uninstall/software_list_areas.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";

std::vector<std::wstring> KeyTexts(const std::vector<TMakerKey>& keys) {
  std::vector<std::wstring> texts;
  for (const TMakerKey& key : keys) texts.push_back(RootKeyName(key.Root) + key.Path);
  return texts;
}

TEST(ScanMakerKeysTest, KeysThatHoldOtherProgramsDataAreNeverOffered) {
  struct {
    const wchar_t* element;
    bool offered;
  } const cases[] = {
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy", true},
      {L"HKEY_CURRENT_USER\\Software\\Classes\\OrvixClipVault.Clip", true},
      {L"HKEY_CLASSES_ROOT\\OrvixPhotoFrame.Album", true},
      {L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\OrvixShield", true},
      {L"HKEY_USERS\\S-1-5-21-1\\Software\\Orvix\\Disk Tidy", true},
      {L"HKEY_LOCAL_MACHINE", false},
      {L"HKEY_LOCAL_MACHINE\\", false},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE", false},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", false},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix", false},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Orvix", false},
      {L"HKEY_CURRENT_USER\\Software\\Microsoft", false},
      {L"HKEY_CLASSES_ROOT\\CLSID", false},
      {L"HKEY_CLASSES_ROOT\\*", false},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Interface", false},
      {L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services", false},
      {L"HKEY_USERS\\S-1-5-21-1", false},
      {L"HKEY_USERS\\S-1-5-21-1\\Software", false},
      {L"Software\\Orvix\\Disk Tidy", false},                      // no root
      {L"MY_HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy", false},  // a root name inside a key name
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakerRegistryKeys(c.element).size(), c.offered ? 1u : 0u) << c.element;
  }
}

TEST(ScanMakerKeysTest, KeysInListOrderEachOnce) {
  EXPECT_EQ(KeyTexts(MakerRegistryKeys(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy, HKEY_LOCAL_MACHINE\\SOFTWARE,"
                                       L"HKEY_CURRENT_USER\\Software\\Orvix\\Disk Tidy,"
                                       L"hkey_local_machine\\software\\orvix\\disk tidy\\")),
            (std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy",
                                       L"HKEY_CURRENT_USER\\Software\\Orvix\\Disk Tidy"}));
}

// The product's sub-key of the maker's key ends at the comma that closes
// its element and at the backslash that closes its name.
TEST(ScanMakerKeysTest, ProductSubKeyIsOneKeyName) {
  struct {
    const wchar_t* list;
    const wchar_t* subKey;
  } const cases[] = {
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy,HKEY_CURRENT_USER\\Software\\Orvix\\Disk Tidy", L"disk tidy"},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy\\Settings", L"disk tidy"},
      {L"HKEY_CURRENT_USER\\Software\\Orvix\\Clip Vault,HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy", L"disk tidy"},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix,HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\", L""},
      {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\OrvixTools\\Disk Tidy", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(MakerProductSubKey(c.list), c.subKey) << c.list;
}

class ScanMakerProductTest : public SimMachineX86Test {
 protected:
  std::vector<std::wstring> Scan(const std::wstring& publisher) {
    TSoftInfo record;
    record.Publisher = publisher;
    record.DisplayName = L"Disk Tidy";  // no install folder: the area needs no keyword
    TRegFindings findings;
    TRegeditScanClasses scan;
    scan.Setup(&findings, nullptr, record, nullptr);
    std::vector<TScanAreaPtr> areas;
    areas.push_back(MakeMakerProductArea());
    scan.FullScan(areas);
    return Lines(findings);
  }
};

TEST_F(ScanMakerProductTest, ProductKeysAsListedAndTheMakersKeyWhenItWasTheLast) {
  Machine().ImportReg(kHeader + std::wstring(L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy]\r\n"));
  const std::vector<std::wstring> product = {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Disk Tidy",
                                             L"HKEY_CURRENT_USER\\Software\\Orvix\\Disk Tidy"};
  std::vector<std::wstring> withMaker = product;
  withMaker.push_back(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix");
  EXPECT_EQ(Scan(L" Orvix"), withMaker);

  Machine().ImportReg(kHeader + std::wstring(L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix\\Clip Vault]\r\n"));
  EXPECT_EQ(Scan(L"Orvix"), product);
  EXPECT_EQ(Scan(L"FooSoft"), std::vector<std::wstring>{});
}

// The areas of this group in their places of the full scan, each finding
// once.
TEST_F(ScanMakerProductTest, FullScanRunsTheListAreasInOrder) {
  std::vector<int> numbers;
  for (const TScanAreaPtr& area : MakeScanAreas()) numbers.push_back(area->Number());
  for (int number = 14; number <= 20; ++number) {
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), number), 1) << number;
  }
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));

  Machine().ImportReg(kHeader + std::wstring(LR"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\ShellNoRoam\MUICache]
"C:\\Program Files\\Orvix\\Disk Tidy\\tidy.exe"="Disk Tidy"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\eventlog\Application\Disk Tidy]
"EventMessageFile"="C:\\Program Files\\Orvix\\Disk Tidy\\tidy.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Cpls]
"Tidy"="C:\\Program Files\\Orvix\\Disk Tidy\\tidy.cpl"

[HKEY_CURRENT_USER\Software\Orvix\Disk Tidy]
"LastFolder"="C:\\Program Files\\Orvix\\Disk Tidy"

[HKEY_LOCAL_MACHINE\SOFTWARE\Orvix\Disk Tidy]
"InstallDir"="C:\\Program Files\\Orvix\\Disk Tidy"
)"));
  TSoftInfo record;
  record.Publisher = L"Orvix";
  record.DisplayName = L"Disk Tidy";
  record.InstallLocation = L"C:\\Program Files\\Orvix\\Disk Tidy";
  TRegFindings findings;
  TRegeditScanClasses scan;
  scan.Setup(&findings, nullptr, record, nullptr);
  scan.FullScan();
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\";
  const std::wstring cu = L"HKEY_CURRENT_USER\\";
  const std::wstring folder = L"C:\\Program Files\\Orvix\\Disk Tidy";
  const std::vector<std::wstring> lines = Lines(findings);
  // The vendor areas already take the keys named like the program whole.
  const std::vector<std::wstring> expected = {
      lm + L"SOFTWARE\\Orvix\\Disk Tidy",
      lm + L"SOFTWARE\\Orvix\\Disk Tidy | InstallDir - " + folder,
      cu + L"Software\\Orvix\\Disk Tidy",
      cu + L"Software\\Orvix\\Disk Tidy | LastFolder - " + folder,
      lm + L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls | Tidy - " + folder + L"\\tidy.cpl",
      lm + L"SYSTEM\\CurrentControlSet\\services\\eventlog\\Application\\Disk Tidy",
      lm + L"SYSTEM\\CurrentControlSet\\services\\eventlog\\Application\\Disk Tidy | EventMessageFile - " + folder +
          L"\\tidy.exe",
      cu + L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache | " + folder + L"\\tidy.exe - Disk Tidy",
      lm + L"SOFTWARE\\Orvix",
  };
  // Other areas (the file scan) may add their own findings; these come in
  // this order and once each.
  std::vector<std::wstring> ours;
  for (const std::wstring& line : lines) {
    if (Has(expected, line)) ours.push_back(line);
  }
  EXPECT_EQ(ours, expected);
}

}  // namespace
}  // namespace orvix::testing
