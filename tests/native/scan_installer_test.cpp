// The uninstall key and Windows Installer area of the leftover scan over a
// simulated 64-bit machine with a 32-bit Windows Installer product: what it
// finds, in which view, in which order, and what it leaves to others.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "scan_lines.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/file_area.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/system_areas.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kCode = L"{12345678-ABCD-EF01-2345-6789ABCDEF01}";
constexpr const wchar_t* kUninstall = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A 32-bit product, installed in C:\Program Files (x86)\Foo: its uninstall
// key in the 32-bit view, the installer's data in the 64-bit view. P is its
// packed code, O another product's.
constexpr const wchar_t* kMachine =
    LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\{12345678-ABCD-EF01-2345-6789ABCDEF01}]
"Comments"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Program Files (x86)\\Foo\\"=""
"C:\\Program Files (x86)\\Foo2\\"=""
"C:\\Program Files (x86)\\Shared\\Foo\\"=""
"C:\\Program Files (x86)\\"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes\1111]
"87654321DCBA10FE32547698BADCFE10"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes\2222]
"87654321DCBA10FE32547698BADCFE10"=""
"0000000000000000000000000000000A"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes\3333]
"0000000000000000000000000000000A"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products\87654321DCBA10FE32547698BADCFE10\InstallProperties]
"DisplayName"="Foo"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C1]
"87654321DCBA10FE32547698BADCFE10"="C:\\Program Files (x86)\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C2]
"87654321DCBA10FE32547698BADCFE10"="C:\\Program Files (x86)\\Shared\\Foo\\"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C3]
"87654321DCBA10FE32547698BADCFE10"="C:\\Windows\\System32\\foo.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C4]
"0000000000000000000000000000000A"="C:\\Program Files (x86)\\Goo\\goo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C5]
"87654321DCBA10FE32547698BADCFE10"="C:\\Program Files (x86)\\Common Files\\shared.dll"
"0000000000000000000000000000000A"="C:\\Program Files (x86)\\Common Files\\shared.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\C6]
"87654321DCBA10FE32547698BADCFE10"="C:\\Program Files (x86)\\"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-21-7\Components\C1]
"87654321DCBA10FE32547698BADCFE10"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-21-7\Components\C3]
"87654321DCBA10FE32547698BADCFE10"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-21-7\Components\C4]
"0000000000000000000000000000000A"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\Features\87654321DCBA10FE32547698BADCFE10]
"Main"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\Products\87654321DCBA10FE32547698BADCFE10]
"ProductName"="Foo"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Installer\UpgradeCodes\1111]
"87654321DCBA10FE32547698BADCFE10"=""
[HKEY_CURRENT_USER\Software\Microsoft\Installer\Products\87654321DCBA10FE32547698BADCFE10]
"ProductName"="Foo"
)";

class ScanInstallerTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Machine().ImportReg(kMachine);
    Machine().files.PutFolder(L"C:\\Program Files (x86)\\Foo");
    Machine().files.PutFolder(L"C:\\Program Files (x86)\\Shared\\Foo");
  }

  // Each finding as the review tree shows it, with the view it was found in.
  std::vector<std::wstring> Scan(const std::wstring& installLocation = L"C:\\Program Files (x86)\\Foo",
                                 const std::wstring& keyPath = kUninstall + std::wstring(kCode)) {
    TSoftInfo record;
    record.DisplayName = L"Foo";
    record.InstallLocation = installLocation;
    record.RootName = L"HKEY_LOCAL_MACHINE";
    record.KeyPath = keyPath;
    findings_.clear();
    scan_.Setup(&findings_, nullptr, record, nullptr);
    std::vector<TScanAreaPtr> areas;
    areas.push_back(MakeInstallerArea());
    scan_.FullScan(areas);
    std::vector<std::wstring> lines;
    for (const TShowRegInfo& f : findings_) {
      lines.push_back(RegItemText(f.RootKey, f.KeyPath, f.ValueName, f.ValueData) + (f.View64 ? L" (64)" : L" (32)"));
    }
    return lines;
  }

  TRegFindings findings_;
  TRegeditScanClasses scan_;
};

TEST_F(ScanInstallerTest, UninstallKeyThenTheInstallerDataOfTheProductInOrder) {
  const std::wstring entry = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  const std::wstring system = lm + L"UserData\\S-1-5-18\\";
  const std::wstring user = lm + L"UserData\\S-1-5-21-7\\";
  const std::wstring classes = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Installer\\";
  const std::wstring root = L"HKEY_CLASSES_ROOT\\Installer\\";
  const std::wstring cu = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Installer\\";
  const std::wstring p = L"87654321DCBA10FE32547698BADCFE10";
  EXPECT_EQ(Scan(),
            (std::vector<std::wstring>{
                entry + kCode + L" (32)",
                entry + kCode + L" | Comments -  (32)",
                lm + L"UpgradeCodes\\1111 (64)",
                lm + L"UpgradeCodes\\1111 | " + p + L" -  (64)",
                lm + L"UpgradeCodes\\2222 | " + p + L" -  (64)",  // shared with O: its value only
                system + L"Products\\" + p + L" (64)",
                system + L"Products\\" + p + L"\\InstallProperties (64)",
                system + L"Products\\" + p + L"\\InstallProperties | DisplayName - Foo (64)",
                system + L"Components\\C1 (64)",
                system + L"Components\\C1 | " + p + L" - C:\\Program Files (x86)\\Foo\\foo.exe (64)",
                system + L"Components\\C2 (64)",
                system + L"Components\\C2 | " + p + L" - C:\\Program Files (x86)\\Shared\\Foo\\ (64)",
                // C3 (in System32) and C6 (Program Files itself) are protected; C4 is O's.
                system + L"Components\\C5 | " + p + L" - C:\\Program Files (x86)\\Common Files\\shared.dll (64)",
                user + L"Components\\C1 (64)",
                user + L"Components\\C1 | " + p + L" -  (64)",
                lm + L"Folders | C:\\Program Files (x86)\\Foo\\ -  (64)",
                lm + L"Folders | C:\\Program Files (x86)\\Shared\\Foo\\ -  (64)",
                classes + L"Features\\" + p + L" (64)",
                classes + L"Features\\" + p + L" | Main -  (64)",
                root + L"Features\\" + p + L" (64)",
                root + L"Features\\" + p + L" | Main -  (64)",
                classes + L"Products\\" + p + L" (64)",
                classes + L"Products\\" + p + L" | ProductName - Foo (64)",
                root + L"Products\\" + p + L" (64)",
                root + L"Products\\" + p + L" | ProductName - Foo (64)",
                classes + L"UpgradeCodes\\1111 (64)",
                classes + L"UpgradeCodes\\1111 | " + p + L" -  (64)",
                root + L"UpgradeCodes\\1111 (64)",
                root + L"UpgradeCodes\\1111 | " + p + L" -  (64)",
                cu + L"Products\\" + p + L" (64)",
                cu + L"Products\\" + p + L" | ProductName - Foo (64)",
            }));
  // Only existing component folders go to the file scan.
  EXPECT_EQ(scan_.InstallerFolders(), (std::vector<std::wstring>{L"c:\\program files (x86)\\shared\\foo\\"}));
}

TEST_F(ScanInstallerTest, FindingsReachTheVeryKeysTheyWereFoundIn) {
  Scan();
  ASSERT_FALSE(findings_.empty());
  for (const TShowRegInfo& f : findings_) {
    if (f.IsKey()) {
      EXPECT_TRUE(RegDeleteKeyAt(f.RootKey, f.KeyPath, f.View64)) << f.KeyPath;
    } else {
      EXPECT_TRUE(RegDeleteValueAt(f.RootKey, f.KeyPath, f.ValueName, f.View64)) << f.KeyPath << " " << f.ValueName;
    }
  }
  const std::wstring installer = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                                 std::wstring(kCode)));
  EXPECT_FALSE(Registry().HasKey(installer + L"UserData\\S-1-5-18\\Products\\87654321DCBA10FE32547698BADCFE10"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Installer\\Products\\87654321DCBA10FE32547698BADCFE10"));
  // What other products still use stays.
  EXPECT_TRUE(Registry().HasKey(installer + L"UpgradeCodes\\2222"));
  EXPECT_TRUE(Registry()
                  .GetValue(installer + L"UserData\\S-1-5-18\\Components\\C5", L"0000000000000000000000000000000A")
                  .has_value());
  EXPECT_TRUE(Registry().HasKey(installer + L"UserData\\S-1-5-18\\Components\\C3"));
}

TEST_F(ScanInstallerTest, InstallerDataOnlyForAnInstallerEntryWithAKey) {
  Registry().PutString(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NotAGuid",
                       L"Comments", L"");
  Registry().PutString(
      L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      L"{12345678-ABCD-EF01-2345-6789ABCDEF02}",
      L"DisplayName", L"Foo");
  Registry().PutString(
      L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\"
      L"Products\\87654321DCBA10FE32547698BADCFE20",
      L"", L"");
  struct Case {
    std::wstring keyPath;
    std::size_t findings;
  };
  for (const Case& c : {
           Case{kUninstall + std::wstring(L"NotAGuid"), 2},                                // the key and its Comments
           Case{kUninstall + std::wstring(L"{12345678-ABCD-EF01-2345-6789ABCDEF02}"), 2},  // no Comments
           Case{L"", 0},  // no key (a forced scan of a shortcut): never the root
           Case{L"\\", 0},
       }) {
    const std::vector<std::wstring> lines = Scan(L"C:\\Program Files (x86)\\Foo", c.keyPath);
    EXPECT_EQ(lines.size(), c.findings) << c.keyPath;
    for (const std::wstring& line : lines) EXPECT_EQ(line.find(L"\\Installer\\"), std::wstring::npos) << line;
  }
}

// An entry whose key is the Uninstall key itself (a broken installer wrote
// its name there) or a key above it offers nothing; one whose key lists
// other programs' entries below it offers its own values only. Deleting all
// that is offered leaves every other entry.
TEST_F(ScanInstallerTest, NeverTheUninstallKeyNorAnEntryKeyThatHoldsOthers) {
  const std::wstring uninstall = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  Registry().PutString(uninstall, L"DisplayName", L"Broken");
  Registry().PutString(uninstall, L"UninstallString", L"C:\\Broken\\unins.exe");
  Registry().PutString(uninstall + L"\\Suite", L"DisplayName", L"Suite");
  Registry().PutString(uninstall + L"\\Suite", L"UninstallString", L"C:\\Suite\\unins.exe");
  Registry().PutString(uninstall + L"\\Suite\\Parts\\Editor", L"DisplayName", L"Suite Editor");
  const std::wstring uninstallPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  for (const std::wstring& keyPath : {uninstallPath, uninstallPath + L"\\", std::wstring(L"\\SOFTWARE\\Microsoft"),
                                     std::wstring(L"\\SOFTWARE")}) {
    EXPECT_TRUE(Scan(L"C:\\Program Files (x86)\\Foo", keyPath).empty()) << Narrow(keyPath);
  }
  const std::wstring suite = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Suite";
  EXPECT_EQ(Scan(L"C:\\Suite", uninstallPath + L"\\Suite"),
            (std::vector<std::wstring>{
                suite + L" | DisplayName - Suite (32)",
                suite + L" | UninstallString - C:\\Suite\\unins.exe (32)",
            }));
  for (const TShowRegInfo& f : findings_) RegDeleteValueAt(f.RootKey, f.KeyPath, f.ValueName, f.View64);
  EXPECT_TRUE(Registry().HasKey(uninstall + L"\\Suite\\Parts\\Editor"));
  EXPECT_TRUE(Registry().HasKey(uninstall + L"\\" + kCode));
}

// A component folder that another product's component key also lists, under
// any holder, is shared: neither walked by the file scan nor offered from
// the Folders key; only the product's value in the component key goes.
TEST_F(ScanInstallerTest, SharedComponentFoldersAreNeitherWalkedNorOffered) {
  const std::wstring installer = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  const std::wstring p = L"87654321DCBA10FE32547698BADCFE10";
  const std::wstring o = L"0000000000000000000000000000000A";
  const std::wstring bin = L"C:\\Program Files (x86)\\Shared\\Bin\\";
  const std::wstring tools = L"C:\\Program Files (x86)\\Shared\\Tools\\";
  Registry().PutString(installer + L"UserData\\S-1-5-18\\Components\\C7", p, bin);
  Registry().PutString(installer + L"UserData\\S-1-5-18\\Components\\C7", o, bin);
  Registry().PutString(installer + L"UserData\\S-1-5-18\\Components\\C8", p, tools);
  Registry().PutString(installer + L"UserData\\S-1-5-21-7\\Components\\C8", o, tools);
  Registry().PutString(installer + L"Folders", bin, L"");
  Registry().PutString(installer + L"Folders", tools, L"");
  Machine().files.PutFile(bin + L"other.dll", "MZ");
  Machine().files.PutFile(tools + L"other.exe", "MZ");
  Machine().files.PutFile(L"C:\\Program Files (x86)\\Shared\\Foo\\foo.dll", "MZ");

  const std::vector<std::wstring> lines = Scan();
  EXPECT_EQ(scan_.InstallerFolders(), (std::vector<std::wstring>{L"c:\\program files (x86)\\shared\\foo\\"}));
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  EXPECT_TRUE(Has(lines, lm + L"UserData\\S-1-5-18\\Components\\C7 | " + p + L" - " + bin + L" (64)"));
  EXPECT_FALSE(Has(lines, lm + L"UserData\\S-1-5-18\\Components\\C7 (64)"));
  for (const std::wstring& line : lines) {
    EXPECT_FALSE(line.starts_with(lm + L"Folders | C:\\Program Files (x86)\\Shared\\B") ||
                 line.starts_with(lm + L"Folders | C:\\Program Files (x86)\\Shared\\T"))
        << Narrow(line);
  }

  // The whole scan, files included: the program's own component folder is
  // walked, the shared ones are not.
  TSoftInfo record;
  record.DisplayName = L"Foo";
  record.InstallLocation = L"C:\\Program Files (x86)\\Foo";
  record.RootName = L"HKEY_LOCAL_MACHINE";
  record.KeyPath = kUninstall + std::wstring(kCode);
  TFileFindings files;
  scan_.Setup(&findings_, &files, record, nullptr);
  std::vector<TScanAreaPtr> areas;
  areas.push_back(MakeInstallerArea());
  areas.push_back(MakeFileArea());
  scan_.FullScan(areas);
  std::vector<std::wstring> paths;
  for (const TScanFileInfo& file : files) paths.push_back(LowerCase(file.Path));
  EXPECT_TRUE(Has(paths, L"c:\\program files (x86)\\shared\\foo\\foo.dll"));
  for (const std::wstring& path : paths) {
    EXPECT_EQ(path.find(L"\\shared\\bin"), std::wstring::npos) << Narrow(path);
    EXPECT_EQ(path.find(L"\\shared\\tools"), std::wstring::npos) << Narrow(path);
  }
}

TEST_F(ScanInstallerTest, ProtectedInstallFolderOffersOnlyTheComponentFolders) {
  std::vector<std::wstring> folders;
  for (const std::wstring& line : Scan(L"C:\\Program Files (x86)")) {
    if (line.find(L"\\Folders | ") != std::wstring::npos) folders.push_back(line);
  }
  EXPECT_EQ(folders, (std::vector<std::wstring>{
                         L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders | "
                         L"C:\\Program Files (x86)\\Shared\\Foo\\ -  (64)",
                     }));
}

}  // namespace
}  // namespace orvix::testing
