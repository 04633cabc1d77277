// The COM and shell areas of the leftover scan over a simulated machine:
// what each area finds, what it leaves alone, and in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry_helpers.h"
#include "scan_lines.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/com_areas.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/scan_area_list.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";

// The COM and shell areas alone, so that the other areas of the full scan
// add nothing to what these tests expect.
std::vector<TScanAreaPtr> ComAreas() {
  std::vector<TScanAreaPtr> areas;
  for (auto make : {MakeClsidArea, MakeAppIdArea, MakeFileClassArea, MakeUserClassArea, MakeMachineClassArea,
                    MakeInterfaceArea, MakeShellExtensionArea}) {
    areas.push_back(make());
  }
  return areas;
}

class ScanComTest : public SimMachineX86Test {
 protected:
  void Import(const std::wstring& text) { Machine().ImportReg(kHeader + text); }

  // Deletes what the scan offered, as the review does with every finding checked.
  static void DeleteAll(const TRegFindings& findings) {
    for (const TShowRegInfo& f : findings) {
      if (f.IsKey()) {
        EXPECT_TRUE(RegDeleteKeyAt(f.RootKey, f.KeyPath, f.View64)) << Narrow(f.KeyPath);
      } else {
        EXPECT_TRUE(RegDeleteValueAt(f.RootKey, f.KeyPath, f.ValueName, f.View64)) << Narrow(f.KeyPath);
      }
    }
  }

  TRegFindings Scan(const std::wstring& installLocation = L"C:\\Program Files\\Foo") {
    TSoftInfo record;
    record.DisplayName = L"Foo";
    record.InstallLocation = installLocation;
    TRegFindings findings;
    TRegeditScanClasses scan;
    scan.Setup(&findings, nullptr, record, nullptr);
    scan.FullScan(ComAreas());
    return findings;
  }
};

TEST_F(ScanComTest, ClassWithItsSatellitesInOrder) {
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.dll", "MZ");
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{F00}]
"AppID"="{F00-APP}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{F00}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{F00}\ProgID]
@="Foo.Doc.1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{F00}\TypeLib]
@="{F00-LIB}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AppID\{F00-APP}]

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{F00-LIB}\1.0\0\win32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Doc.1]

[HKEY_CURRENT_USER\Software\Classes\CLSID\{F00}]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Internet Explorer\Toolbar]
"{F00}"=hex:00
"{B00}"=hex:00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Internet Explorer\Extensions\{F00}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Ext\PreApproved\{F00}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\SOFTWARE\Microsoft\Windows\CurrentVersion\Ext\Settings\{F00}]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Ext\Settings\{F00}]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Ext\Stats\{F00}]

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Toolbar\WebBrowser]
"{F00}"=hex:00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\{F00}]
)");
  const std::wstring clsid = L"{F00}";
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  const std::wstring cr = L"HKEY_CLASSES_ROOT\\";
  const std::wstring cu = L"HKEY_CURRENT_USER\\Software\\";
  EXPECT_EQ(Keys(Scan()), (std::vector<std::wstring>{
                              lm + L"Classes\\CLSID\\" + clsid,
                              lm + L"Classes\\CLSID\\" + clsid + L"\\InprocServer32",
                              lm + L"Classes\\CLSID\\" + clsid + L"\\ProgID",
                              lm + L"Classes\\CLSID\\" + clsid + L"\\TypeLib",
                              cr + L"CLSID\\" + clsid,
                              cr + L"CLSID\\" + clsid + L"\\InprocServer32",
                              cr + L"CLSID\\" + clsid + L"\\ProgID",
                              cr + L"CLSID\\" + clsid + L"\\TypeLib",
                              cu + L"Classes\\CLSID\\" + clsid,
                              lm + L"Classes\\AppID\\{F00-APP}",
                              cr + L"AppID\\{F00-APP}",
                              lm + L"Classes\\TypeLib\\{F00-LIB}",
                              lm + L"Classes\\TypeLib\\{F00-LIB}\\1.0",
                              lm + L"Classes\\TypeLib\\{F00-LIB}\\1.0\\0",
                              lm + L"Classes\\TypeLib\\{F00-LIB}\\1.0\\0\\win32",
                              cr + L"TypeLib\\{F00-LIB}",
                              cr + L"TypeLib\\{F00-LIB}\\1.0",
                              cr + L"TypeLib\\{F00-LIB}\\1.0\\0",
                              cr + L"TypeLib\\{F00-LIB}\\1.0\\0\\win32",
                              lm + L"Classes\\Foo.Doc.1",
                              cr + L"Foo.Doc.1",
                              lm + L"Microsoft\\Internet Explorer\\Extensions\\" + clsid,
                              lm + L"Microsoft\\Windows\\CurrentVersion\\Ext\\PreApproved\\" + clsid,
                              lm + L"Classes\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + clsid,
                              cu + L"Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\" + clsid,
                              cu + L"Microsoft\\Windows\\CurrentVersion\\Ext\\Stats\\" + clsid,
                              lm + L"Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\" + clsid,
                          }));
  const std::vector<std::wstring> all = Lines(Scan());
  EXPECT_TRUE(Has(all, lm + L"Microsoft\\Internet Explorer\\Toolbar | " + clsid + L" - 0"));
  EXPECT_TRUE(Has(all, cu + L"Microsoft\\Internet Explorer\\Toolbar\\WebBrowser | " + clsid + L" - 0"));
  EXPECT_FALSE(Has(all, lm + L"Microsoft\\Internet Explorer\\Toolbar | {B00} - 0"));
}

TEST_F(ScanComTest, ServerMatchesOnlyTheInstallFolderItself) {
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\LocalServer32]
@="\"C:\\Program Files\\Foo\\foo.exe\" /automation"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000002}\InprocServer32]
@="C:\\Program Files\\Foo2\\bar.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000003}\InprocServer32]
@="   "

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000003}\LocalServer32]
@="c:\\program files\\foo\\foo.exe"
)");
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring base = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-00000000000";
  EXPECT_TRUE(Has(keys, base + L"1}"));
  EXPECT_FALSE(Has(keys, base + L"2}"));
  EXPECT_TRUE(Has(keys, base + L"3}"));  // a blank in-process server gives way to the local one
}

TEST_F(ScanComTest, ShortNameServersAreFoundThroughTheirLongForm) {
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.dll", "MZ");
  Machine().files.PutFile(L"C:\\Program Files\\Foo\\foo.exe", "MZ");
  std::wstring shortDll;
  std::wstring shortExe;
  ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files\\Foo\\foo.dll", &shortDll), ERROR_SUCCESS);
  ASSERT_EQ(Machine().files.GetShortPathName(L"C:\\Program Files\\Foo\\foo.exe", &shortExe), ERROR_SUCCESS);
  ASSERT_EQ(shortDll.find(L"Program Files"), std::wstring::npos);
  const std::wstring clsid = L"HKLM\\SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-00000000000";
  Registry().PutString(clsid + L"1}\\InprocServer32", L"", shortDll);
  Registry().PutString(clsid + L"2}\\LocalServer32", L"", shortExe + L" /automation");
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring base = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-00000000000";
  EXPECT_TRUE(Has(keys, base + L"1}"));
  EXPECT_TRUE(Has(keys, base + L"2}"));
}

TEST_F(ScanComTest, SatellitesThatBelongToOthersStay) {
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\ProgID]
@=""

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\TypeLib]
@="{00020430-0000-0000-C000-000000000046}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{00020430-0000-0000-C000-000000000046}\2.0\0\win32]
@="C:\\Windows\\System32\\stdole2.tlb"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000002}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000002}\ProgID]
@="txtfile"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\txtfile\CLSID]
@="{CCCCCCCC-0000-0000-0000-000000000001}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000003}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000003}\ProgID]
@="*"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\*\shell\open]
)");
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring base = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-00000000000";
  for (const wchar_t* last : {L"1}", L"2}", L"3}"}) EXPECT_TRUE(Has(keys, base + last)) << last;
  for (const std::wstring& key : keys) {
    EXPECT_EQ(key.find(L"TypeLib\\{00020430"), std::wstring::npos) << "the system's type library";
    EXPECT_EQ(key.find(L"txtfile"), std::wstring::npos) << "another class's ProgID";
    EXPECT_EQ(key.find(L"Classes\\*"), std::wstring::npos) << "the class of every file";
  }
}

TEST_F(ScanComTest, ClassWithoutServerIsFoundByTheFirstCommandBreadthFirst) {
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\Instance\Deep\Deeper\command]
@="C:\\Program Files\\Foo\\deep.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000002}\shell\open\command]
@="C:\\Program Files\\Foo2\\foo.exe"
)");
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring clsid = L"CLSID\\{AAAAAAAA-0000-0000-0000-000000000001}";
  EXPECT_EQ(keys, (std::vector<std::wstring>{
                      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + clsid + L"\\shell\\open",
                      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + clsid + L"\\shell\\open\\command",
                      L"HKEY_CLASSES_ROOT\\" + clsid + L"\\shell\\open",
                      L"HKEY_CLASSES_ROOT\\" + clsid + L"\\shell\\open\\command",
                  }));
}

// A machine with one class of Foo's ({A}), its AppID and type library, and
// the registrations that point at them from elsewhere.
class ScanComReferencesTest : public ScanComTest {
 protected:
  void SetUp() override {
    Import(
        LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}]
"AppID"="{AAAAAAAA-0000-0000-0000-0000000000A1}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\ProgID]
@="Foo.Doc.1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{AAAAAAAA-0000-0000-0000-000000000001}\TypeLib]
@="{AAAAAAAA-0000-0000-0000-0000000000B1}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AppID\{AAAAAAAA-0000-0000-0000-0000000000A1}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AppID\foo.exe]
"AppID"="{AAAAAAAA-0000-0000-0000-0000000000A1}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\AppID\other.exe]
"AppID"="{CCCCCCCC-0000-0000-0000-0000000000A1}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{AAAAAAAA-0000-0000-0000-0000000000B1}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{AAAAAAAA-0000-0000-0000-0000000000B2}\1.0\0\win32]
@="C:\\Program Files\\Foo\\foo.tlb"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\TypeLib\{AAAAAAAA-0000-0000-0000-0000000000B3}\1.0\0\win32]
@="C:\\Program Files\\Foo2\\foo.tlb"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000001}\TypeLib]
@="{AAAAAAAA-0000-0000-0000-0000000000B1}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000002}\TypeLib]
@="{AAAAAAAA-0000-0000-0000-0000000000B2}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000003}\TypeLib]
@="{AAAAAAAA-0000-0000-0000-0000000000B3}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000003}\ProxyStubClsid32]
@="{AAAAAAAA-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000004}\ProxyStubClsid32]
@="{AAAAAAAA-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Interface\{11111111-0000-0000-0000-000000000005}\ProxyStubClsid32]
@="{00020424-0000-0000-C000-000000000046}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\*\shell\FooScan\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\*\shell\Foo2Scan\command]
@="\"C:\\Program Files\\Foo2\\foo.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Directory\shellex\ContextMenuHandlers\FooMenu]
@="{AAAAAAAA-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Directory\shellex\ContextMenuHandlers\GooMenu]
@="{AAAAAAAA-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Directory\shellex\ContextMenuHandlers\Sharing]
@="{CCCCCCCC-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Folder\shellex\PropertySheetHandlers\{AAAAAAAA-0000-0000-0000-000000000001}]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{AAAAAAAA-0000-0000-0000-000000000001}"="Foo menu"
"{CCCCCCCC-0000-0000-0000-000000000001}"="Sharing"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Cached]
"{AAAAAAAA-0000-0000-0000-000000000001} {000214E6-0000-0000-C000-000000000046} 0x401"=hex:01
)");
  }
};

TEST_F(ScanComReferencesTest, AppIdsNamedByExecutablesFollowTheirAppId) {
  const std::vector<std::wstring> keys = Keys(Scan());
  EXPECT_TRUE(Has(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\AppID\\foo.exe"));
  EXPECT_TRUE(Has(keys, L"HKEY_CLASSES_ROOT\\AppID\\foo.exe"));
  EXPECT_FALSE(Has(keys, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\AppID\\other.exe"));
}

TEST_F(ScanComReferencesTest, VerbsAndOneHandlerPerKindOfTheCommonClasses) {
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
  EXPECT_TRUE(Has(keys, lm + L"*\\shell\\FooScan"));
  EXPECT_TRUE(Has(keys, L"HKEY_CLASSES_ROOT\\*\\shell\\FooScan"));
  EXPECT_FALSE(Has(keys, lm + L"*\\shell\\Foo2Scan"));
  // The classes are named as the scan names them (the path as opened).
  EXPECT_TRUE(Has(keys, lm + L"directory\\shellex\\ContextMenuHandlers\\FooMenu"));
  EXPECT_FALSE(Has(keys, lm + L"directory\\shellex\\ContextMenuHandlers\\GooMenu"));  // one per kind
  EXPECT_FALSE(Has(keys, lm + L"directory\\shellex\\ContextMenuHandlers\\Sharing"));
  EXPECT_TRUE(Has(keys, lm + L"folder\\shellex\\PropertySheetHandlers\\{AAAAAAAA-0000-0000-0000-000000000001}"));
  EXPECT_FALSE(Has(keys, lm + L"*") || Has(keys, lm + L"directory") || Has(keys, lm + L"*\\shell"));
}

TEST_F(ScanComReferencesTest, InterfacesOfFoundOrOwnTypeLibrariesAndProxies) {
  const std::vector<std::wstring> keys = Keys(Scan());
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Interface\\{11111111-0000-0000-0000-00000000000";
  EXPECT_TRUE(Has(keys, lm + L"1}"));   // the found type library
  EXPECT_TRUE(Has(keys, lm + L"2}"));   // a library whose file lies in the install folder
  EXPECT_FALSE(Has(keys, lm + L"3}"));  // another's library decides, whatever the proxy
  EXPECT_TRUE(Has(keys, lm + L"4}"));   // the found proxy class
  EXPECT_FALSE(Has(keys, lm + L"5}"));
  EXPECT_TRUE(Has(keys, L"HKEY_CLASSES_ROOT\\Interface\\{11111111-0000-0000-0000-000000000001}"));
}

TEST_F(ScanComReferencesTest, ShellExtensionListsLoseFoundClassesOnly) {
  const std::vector<std::wstring> lines = Lines(Scan());
  const std::wstring approved =
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved | ";
  EXPECT_TRUE(Has(lines, approved + L"{AAAAAAAA-0000-0000-0000-000000000001} - Foo menu"));
  EXPECT_FALSE(Has(lines, approved + L"{CCCCCCCC-0000-0000-0000-000000000001} - Sharing"));
  const auto cached = std::count_if(lines.begin(), lines.end(), [](const std::wstring& line) {
    return line.find(L"Shell Extensions\\Cached") != std::wstring::npos;
  });
  EXPECT_EQ(cached, 0);  // the value's name is more than the class
}

TEST_F(ScanComReferencesTest, ClassesFoundByCurVerClsidOrCommand) {
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Doc.1]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Doc\CurVer]
@="Foo.Doc.1"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Doc\CLSID]
@="{CCCCCCCC-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Alias\CLSID]
@="{AAAAAAAA-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Goo.Doc\CurVer]
@="Goo.Doc.2"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Goo.Doc\shell\open\command]
@="C:\\Program Files\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.File\DefaultIcon]
@="C:\\Windows\\System32\\imageres.dll,2"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.File\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Late\shell\edit]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Late\shell\open\command]
@="C:\\Program Files\\Goo\\goo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Late\shell\print\command]
@="C:\\Program Files\\Foo\\foo.exe /p"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\exefile\shell\foo\command]
@="C:\\Program Files\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.foo]
@="Foo.File"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.goo]
@="Goo.File"
[HKEY_CURRENT_USER\Software\Classes\Foo.UserFile\shell\open\command]
@="C:\\Program Files\\Foo\\foo.exe"
[HKEY_CURRENT_USER\Software\Classes\Foo.UserFile\shell\print\command]
@="C:\\Windows\\notepad.exe /p %1"
[HKEY_CURRENT_USER\Software\Classes\.fuu]
@="foo.userfile"
)");
  const std::vector<std::wstring> lines = Lines(Scan());
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
  const std::wstring cr = L"HKEY_CLASSES_ROOT\\";
  EXPECT_TRUE(Has(lines, lm + L"Foo.Doc"));  // its current version is a found class
  EXPECT_TRUE(Has(lines, cr + L"Foo.Doc"));
  EXPECT_TRUE(Has(lines, lm + L"Foo.Alias"));  // its CLSID was found
  EXPECT_FALSE(Has(lines, lm + L"Goo.Doc"));   // CurVer decides; its verbs are not examined
  // Its first verb runs the program but its icon is another's: that verb
  // goes, without mirror.
  EXPECT_TRUE(Has(lines, lm + L"Foo.File\\shell\\open"));
  EXPECT_FALSE(Has(lines, lm + L"Foo.File"));
  EXPECT_FALSE(Has(lines, cr + L"Foo.File\\shell\\open"));
  EXPECT_FALSE(Has(lines, lm + L"Foo.Late\\shell\\print"));  // only the first verb with a command decides
  EXPECT_FALSE(Has(lines, lm + L"exefile"));  // a common class: only area 4 takes its verbs
  EXPECT_TRUE(Has(lines, L"HKEY_CURRENT_USER\\Software\\Classes\\Foo.UserFile\\shell\\open"));
  EXPECT_FALSE(Has(lines, L"HKEY_CURRENT_USER\\Software\\Classes\\Foo.UserFile"));
  for (const std::wstring& line : lines) {
    EXPECT_EQ(line.find(L"\\."), std::wstring::npos) << "an extension: " << Narrow(line);
  }
}

// Classes that every program uses, taken over by the removed program (a
// browser the protocols, an editor the text and page files): only the verb
// that runs it is offered, in either root; deleting everything offered
// leaves the classes, their other verbs and the extensions that open with them.
TEST_F(ScanComReferencesTest, SharedClassesTakenOverLoseOnlyTheProgramsVerb) {
  Import(
      LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\http]
@="URL:HyperText Transfer Protocol"
"URL Protocol"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\http\DefaultIcon]
@="C:\\Windows\\System32\\url.dll,0"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\http\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\txtfile\shell\open\command]
@="C:\\Program Files\\Foo\\foo.exe %1"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\txtfile\shell\print\command]
@="C:\\Windows\\notepad.exe /p %1"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.txt]
@="txtfile"
[HKEY_CURRENT_USER\Software\Classes\mailto\shell\open\command]
@="C:\\Program Files\\Foo\\foo.exe -compose %1"
[HKEY_CURRENT_USER\Software\Classes\.htm]
@="mailto"
)");
  const TRegFindings findings = Scan();
  const std::vector<std::wstring> keys = Keys(findings);
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
  const std::wstring cu = L"HKEY_CURRENT_USER\\Software\\Classes\\";
  for (const std::wstring& verb :
       {lm + L"http\\shell\\open", lm + L"txtfile\\shell\\open", cu + L"mailto\\shell\\open"}) {
    EXPECT_TRUE(Has(keys, verb)) << Narrow(verb);
  }
  DeleteAll(findings);
  EXPECT_TRUE(Registry().GetValue(L"HKLM\\SOFTWARE\\Classes\\http", L"URL Protocol").has_value());
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\http\\DefaultIcon"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\http\\shell\\open"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\txtfile\\shell\\print\\command"));
  EXPECT_EQ(RegReadStringAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\.txt", L"", false), L"txtfile");
  EXPECT_TRUE(Registry().HasKey(L"HKCU\\Software\\Classes\\mailto"));
  EXPECT_TRUE(Registry().GetValue(L"HKCU\\Software\\Classes\\.htm", L"").has_value());
}

TEST_F(ScanComReferencesTest, NothingWhenTheKeywordIsEmptyOrForeign) {
  EXPECT_TRUE(Scan(L"C:\\Program Files").empty());  // protected: no area that needs the keyword runs
  EXPECT_TRUE(Scan(L"").empty());
  EXPECT_TRUE(Scan(L"C:\\Program Files\\Fo").empty());
}

TEST_F(ScanComReferencesTest, EveryFindingIsReportedOnce) {
  const std::vector<std::wstring> lines = Lines(Scan());
  std::vector<std::wstring> sorted = lines;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

// --- The two views of a 64-bit machine --------------------------------------------

class ScanComViewsTest : public SimMachineTest {
 protected:
  // A 32-bit program with a 64-bit shell extension: one class in each view,
  // both served from its install folder, sharing one ProgID.
  void SetUp() override {
    Machine().ImportReg(std::wstring(kHeader) +
                        LR"reg(
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\CLSID\{32323232-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files (x86)\\Foo\\foo.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\CLSID\{32323232-0000-0000-0000-000000000001}\ProgID]
@="Foo.Menu"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{64646464-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files (x86)\\Foo\\foo64.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{64646464-0000-0000-0000-000000000001}\ProgID]
@="Foo.Menu"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Foo.Menu]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{64646464-0000-0000-0000-000000000001}"="Foo menu"
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved]
"{32323232-0000-0000-0000-000000000001}"="Foo menu (32-bit)"
)reg");
  }

  TRegFindings Scan(bool entryIsX64) {
    TSoftInfo record;
    record.InstallLocation = L"C:\\Program Files (x86)\\Foo";
    record.IsX64 = entryIsX64;
    TRegFindings findings;
    TRegeditScanClasses scan;
    scan.Setup(&findings, nullptr, record, nullptr);
    scan.FullScan(ComAreas());
    return findings;
  }

  // "path (32)" or "path (64)": where each key finding was made.
  static std::vector<std::wstring> KeysWithView(const TRegFindings& findings) {
    std::vector<std::wstring> lines;
    for (const TShowRegInfo& f : findings) {
      const auto depth = std::count(f.KeyPath.begin(), f.KeyPath.end(), L'\\');
      const bool classKey = depth == 2 || (depth == 3 && f.KeyPath.find(L"\\CLSID\\") != std::wstring::npos);
      if (f.IsKey() && f.RootKey == HKEY_LOCAL_MACHINE && f.KeyPath.starts_with(L"SOFTWARE\\Classes\\") && classKey)
        lines.push_back(f.KeyPath + (f.View64 ? L" (64)" : L" (32)"));
    }
    return lines;
  }
};

TEST_F(ScanComViewsTest, EachClassIsFoundInTheViewItIsRegisteredIn) {
  EXPECT_EQ(KeysWithView(Scan(false)), (std::vector<std::wstring>{
                                           L"SOFTWARE\\Classes\\CLSID\\{32323232-0000-0000-0000-000000000001} (32)",
                                           L"SOFTWARE\\Classes\\Foo.Menu (32)",
                                           L"SOFTWARE\\Classes\\CLSID\\{64646464-0000-0000-0000-000000000001} (64)",
                                       }));
  // A 64-bit entry starts in its own view.
  EXPECT_EQ(KeysWithView(Scan(true)), (std::vector<std::wstring>{
                                          L"SOFTWARE\\Classes\\CLSID\\{64646464-0000-0000-0000-000000000001} (64)",
                                          L"SOFTWARE\\Classes\\Foo.Menu (64)",
                                          L"SOFTWARE\\Classes\\CLSID\\{32323232-0000-0000-0000-000000000001} (32)",
                                      }));
}

TEST_F(ScanComViewsTest, ApprovedListsOfBothViews) {
  std::vector<std::wstring> lines;
  for (const TShowRegInfo& f : Scan(false)) {
    if (!f.IsKey()) lines.push_back(Line(f) + (f.View64 ? L" (64)" : L" (32)"));
  }
  const std::wstring approved =
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved | ";
  EXPECT_TRUE(Has(lines, approved + L"{32323232-0000-0000-0000-000000000001} - Foo menu (32-bit) (32)"));
  EXPECT_TRUE(Has(lines, approved + L"{64646464-0000-0000-0000-000000000001} - Foo menu (64)"));
}

TEST_F(ScanComViewsTest, FindingsDeleteTheKeyOfTheirView) {
  for (const TShowRegInfo& f : Scan(false)) {
    if (f.IsKey()) {
      EXPECT_TRUE(RegDeleteKeyAt(f.RootKey, f.KeyPath, f.View64));
    }
  }
  EXPECT_FALSE(
      Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{32323232-0000-0000-0000-000000000001}"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\CLSID\\{64646464-0000-0000-0000-000000000001}"));
  EXPECT_FALSE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Foo.Menu"));
}

// A per-user install's file type as installers write it, beside types and
// applications that other programs share: the program's own class, type,
// Applications key and COM class go whole; of shared types only the entries
// naming the program's class or executable go; classes of others that it
// took over lose only the verb.
TEST_F(ScanComReferencesTest, OwnFileTypesAndOpenWithEntries) {
  Import(
      LR"(
[HKEY_CURRENT_USER\Software\Classes\Foo.Sketch]
@="Foo sketch"
[HKEY_CURRENT_USER\Software\Classes\Foo.Sketch\DefaultIcon]
@="C:\\Program Files\\Foo\\foo.exe,1"
[HKEY_CURRENT_USER\Software\Classes\Foo.Sketch\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_CURRENT_USER\Software\Classes\.fsk]
@="Foo.Sketch"
[HKEY_CURRENT_USER\Software\Classes\.fsk\OpenWithProgids]
"Foo.Sketch"=""
[HKEY_CURRENT_USER\Software\Classes\Applications\foo.exe\SupportedTypes]
".fsk"=""
[HKEY_CURRENT_USER\Software\Classes\Applications\foo.exe\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Applications\foo2.exe\shell\open\command]
@="\"C:\\Program Files\\Foo2\\foo2.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Applications\setup.exe\shell\open\command]
@="\"C:\\Program Files\\Foo\\setup.exe\""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Applications\setup.exe\shell\runas\command]
@="\"C:\\Program Files\\Goo\\setup.exe\""
[HKEY_CURRENT_USER\Software\Classes\.png]
@="Goo.Picture"
[HKEY_CURRENT_USER\Software\Classes\.png\OpenWithProgids]
"Foo.Sketch"=""
"Goo.Picture"=""
[HKEY_CURRENT_USER\Software\Classes\.png\OpenWithList]
"a"="foo.exe"
"b"="goo.exe"
"MRUList"="ba"
[HKEY_CURRENT_USER\Software\Classes\.png\OpenWithList\foo.exe]
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.log]
@="Foo.Sketch"
"Content Type"="text/plain"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.txt\OpenWithProgids]
"Foo.Sketch"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.txt\OpenWithList]
"foo.exe"=""
"goo.exe"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Goo.Picture\DefaultIcon]
@="C:\\Program Files\\Goo\\goo.exe,0"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Goo.Picture\shell\open\command]
@="\"C:\\Program Files\\Foo\\foo.exe\" \"%1\""
[HKEY_CURRENT_USER\Software\Classes\CLSID\{DDDDDDDD-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files\\Foo\\foo_menu.dll"
[HKEY_CURRENT_USER\Software\Classes\CLSID\{DDDDDDDD-0000-0000-0000-000000000002}\InprocServer32]
@="C:\\Program Files\\Foo2\\menu.dll"
)");
  const TRegFindings findings = Scan();
  const std::vector<std::wstring> lines = Lines(findings);
  const std::wstring cu = L"HKEY_CURRENT_USER\\Software\\Classes\\";
  const std::wstring lm = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
  for (const std::wstring& found :
       {cu + L"Foo.Sketch", cu + L".fsk", cu + L"Applications\\foo.exe", cu + L".png\\OpenWithProgids | Foo.Sketch - ",
        cu + L".png\\OpenWithList | a - foo.exe", cu + L".png\\OpenWithList\\foo.exe",
        lm + L".txt\\OpenWithProgids | Foo.Sketch - ", lm + L".txt\\OpenWithList | foo.exe - ",
        lm + L"Goo.Picture\\shell\\open", cu + L"CLSID\\{DDDDDDDD-0000-0000-0000-000000000001}"}) {
    EXPECT_TRUE(Has(lines, found)) << Narrow(found);
  }
  for (const std::wstring& kept : {lm + L".log", lm + L".txt", cu + L".png", lm + L"Applications\\foo2.exe",
                                   lm + L"Applications\\setup.exe", lm + L"Goo.Picture",
                                   cu + L"CLSID\\{DDDDDDDD-0000-0000-0000-000000000002}"}) {
    EXPECT_FALSE(Has(lines, kept)) << Narrow(kept);
  }

  DeleteAll(findings);
  EXPECT_EQ(RegReadStringAt(L"HKEY_CURRENT_USER", L"\\Software\\Classes\\.png", L"", false), L"Goo.Picture");
  EXPECT_TRUE(Registry().GetValue(L"HKCU\\Software\\Classes\\.png\\OpenWithProgids", L"Goo.Picture").has_value());
  EXPECT_TRUE(Registry().GetValue(L"HKCU\\Software\\Classes\\.png\\OpenWithList", L"b").has_value());
  EXPECT_TRUE(Registry().GetValue(L"HKLM\\SOFTWARE\\Classes\\.txt\\OpenWithList", L"goo.exe").has_value());
  EXPECT_TRUE(Registry().GetValue(L"HKLM\\SOFTWARE\\Classes\\.log", L"Content Type").has_value());
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Goo.Picture\\DefaultIcon"));
  EXPECT_TRUE(Registry().HasKey(L"HKLM\\SOFTWARE\\Classes\\Applications\\setup.exe\\shell\\runas"));
  EXPECT_FALSE(Registry().HasKey(L"HKCU\\Software\\Classes\\.fsk"));
}

TEST(ScanAreaListTest, AreasComeInTheirFixedOrderOnce) {
  const std::vector<TScanAreaPtr> areas = MakeScanAreas();
  ASSERT_FALSE(areas.empty());
  for (std::size_t i = 0; i < areas.size(); ++i) {
    EXPECT_GE(areas[i]->Number(), 1);
    EXPECT_LE(areas[i]->Number(), 21);
    if (i > 0) {
      EXPECT_LT(areas[i - 1]->Number(), areas[i]->Number());
    }
  }
  // The COM and shell areas hold their places among the others.
  for (const int number : {1, 3, 4, 5, 6, 7, 13}) {
    EXPECT_EQ(std::count_if(areas.begin(), areas.end(), [&](const TScanAreaPtr& a) { return a->Number() == number; }),
              1)
        << number;
  }
}

}  // namespace
}  // namespace orvix::testing
