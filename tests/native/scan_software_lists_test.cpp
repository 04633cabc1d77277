// The areas that search the Software roots and the system's lists: vendor
// keys, control panel applets, clients, event log sources and MUICache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "named_case.h"
#include "scan_lines.h"
#include "sim_fixture.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix::testing {
namespace {

constexpr const wchar_t* kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";
constexpr const wchar_t* kFoo = L"C:\\Program Files\\Foo";

using TAreaFactory = TScanAreaPtr (*)();

std::vector<TScanAreaPtr> Areas(std::initializer_list<TAreaFactory> factories) {
  std::vector<TScanAreaPtr> areas;
  for (TAreaFactory make : factories) areas.push_back(make());
  return areas;
}

std::vector<TScanAreaPtr> VendorAreas() { return Areas({MakeMachineVendorArea, MakeUserVendorArea}); }

TRegFindings Scan(const std::vector<TScanAreaPtr>& areas, const std::wstring& displayName = L"Foo",
                  const std::wstring& installLocation = kFoo) {
  TSoftInfo record;
  record.DisplayName = displayName;
  record.InstallLocation = installLocation;
  TRegFindings findings;
  TRegeditScanClasses scan;
  scan.Setup(&findings, nullptr, record, nullptr);
  scan.FullScan(areas);
  return findings;
}

// One area over a machine holding what it should find beside what it must
// leave (the folder Foo2 next to the install folder Foo, and the like).
struct AreaCase : NamedCase {
  TAreaFactory make;
  const wchar_t* reg;
  std::vector<std::wstring> expected;
};

class ScanSoftwareListAreaTest : public SimMachineX86Test, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(ScanSoftwareListAreaTest, FindsWhatNamesTheInstallFolderOnly) {
  Machine().ImportReg(kHeader + std::wstring(GetParam().reg));
  EXPECT_EQ(Lines(Scan(Areas({GetParam().make}))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, ScanSoftwareListAreaTest,
    ::testing::Values(
        AreaCase{{"MachineVendorValuesDepthFirst"},
                 MakeMachineVendorArea,
                 LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\Main]
"InstallDir"="C:\\Program Files\\Foo"
"Version"="1.0"

[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\Main\Plugins]
"Path"="C:\\PROGRAM FILES\\FOO\\plugins\\a.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\Foo2]
"InstallDir"="C:\\Program Files\\Foo2"

[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft]
"Root"="C:\\Program Files\\Foo\\"

[HKEY_CURRENT_USER\Software\FooSoft]
"LastDir"="C:\\Program Files\\Foo"
)",
                 {
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft | Root - C:\\Program Files\\Foo\\",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft\\Main | InstallDir - C:\\Program Files\\Foo",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft\\Main\\Plugins | Path - C:\\PROGRAM FILES\\FOO\\plugins\\a.dll",
                 }},
        AreaCase{{"UserVendorValues"},
                 MakeUserVendorArea,
                 LR"(
[HKEY_CURRENT_USER\Software\FooSoft\Foo]
"LastDir"="C:\\Program Files\\Foo\\bin"
"Other"="C:\\Program Files\\Foo2\\bin"

[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft]
"InstallDir"="C:\\Program Files\\Foo"
)",
                 {L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo | LastDir - C:\\Program Files\\Foo\\bin"}},
        AreaCase{{"ControlPanelApplets"},
                 MakeControlPanelArea,
                 LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Control Panel\Cpls]
"Foo"="C:\\Program Files\\Foo\\foo.cpl"
"Foo2"="C:\\Program Files\\Foo2\\foo2.cpl"
"Empty"=""
)",
                 {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls | Foo - "
                  L"C:\\Program Files\\Foo\\foo.cpl"}},
        // A value deep below the client, a sub-key named like the program
        // (letter case aside), a bare folder; the same client name under two
        // kinds is two clients.
        AreaCase{{"ClientsBySubKeyWalk"},
                 MakeClientArea,
                 LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Clients\Mail\BarMail\Protocols\mailto]
@="C:\\Program Files\\Foo2\\bar.exe /mailto"

[HKEY_LOCAL_MACHINE\SOFTWARE\Clients\Mail\FooMail\Protocols\mailto]
@="C:\\Program Files\\Foo\\foo.exe /mailto"

[HKEY_LOCAL_MACHINE\SOFTWARE\Clients\Media\Player\InstallInfo\foo]

[HKEY_LOCAL_MACHINE\SOFTWARE\Clients\Media\Viewer\InstallInfo\Foo2]

[HKEY_LOCAL_MACHINE\SOFTWARE\Clients\News\FooMail]
"DLLPath"="C:\\Program Files\\Foo"
)",
                 {
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\FooMail",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\FooMail\\Protocols",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\FooMail\\Protocols\\mailto",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\FooMail\\Protocols\\mailto | Default - "
                     L"C:\\Program Files\\Foo\\foo.exe /mailto",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Media\\Player",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Media\\Player\\InstallInfo",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Media\\Player\\InstallInfo\\foo",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\News\\FooMail",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\News\\FooMail | DLLPath - C:\\Program Files\\Foo",
                 }},
        // Default-programs registrations: by their capabilities key (the
        // program's when it records the folder and no place outside it), or,
        // when that key is gone, by the program's name.
        AreaCase{{"RegisteredApplications"},
                 MakeClientArea,
                 LR"(
[HKEY_CURRENT_USER\Software\RegisteredApplications]
"Foo"="Software\\FooSoft\\Foo\\Capabilities"
"Goo"="Software\\GooSoft\\Goo\\Capabilities"

[HKEY_CURRENT_USER\Software\FooSoft\Foo\Capabilities]
"ApplicationIcon"="C:\\Program Files\\Foo\\foo.exe,0"

[HKEY_CURRENT_USER\Software\FooSoft\Foo\Capabilities\FileAssociations]
".foo"="Foo.Doc"

[HKEY_CURRENT_USER\Software\GooSoft\Goo\Capabilities]
"ApplicationIcon"="C:\\Program Files\\Foo2\\goo.exe,0"

[HKEY_LOCAL_MACHINE\SOFTWARE\RegisteredApplications]
"Foo"="Software\\Clients\\Gone\\Capabilities"
"Bar"="Software\\Gone\\Capabilities"
"Mixed"="Software\\Mixed\\Capabilities"

[HKEY_LOCAL_MACHINE\SOFTWARE\Mixed\Capabilities]
"ApplicationIcon"="C:\\Program Files\\Foo\\foo.exe,0"
"Documents"="C:\\Users\\Ann\\Documents"
)",
                 {
                     L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo\\Capabilities",
                     L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo\\Capabilities\\FileAssociations",
                     L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo\\Capabilities\\FileAssociations | .foo - Foo.Doc",
                     L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo\\Capabilities | ApplicationIcon - C:\\Program Files\\Foo\\foo.exe,0",
                     L"HKEY_CURRENT_USER\\Software\\RegisteredApplications | Foo - Software\\FooSoft\\Foo\\Capabilities",
                     L"HKEY_LOCAL_MACHINE\\SOFTWARE\\RegisteredApplications | Foo - Software\\Clients\\Gone\\Capabilities",
                 }},
        // The Application log before the System log, and a source of the
        // same name in both reported in both.
        AreaCase{{"EventLogApplicationThenSystem"},
                 MakeEventLogArea,
                 LR"(
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\eventlog\System\FooSvc]
"EventMessageFile"="C:\\Program Files\\Foo\\msgs.dll"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\eventlog\Application\FooSvc]
"EventMessageFile"="C:\\Program Files\\Foo\\msgs.dll"
"TypesSupported"=dword:00000007

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\eventlog\Application\Foo2Svc]
"EventMessageFile"="C:\\Program Files\\Foo2\\msgs.dll"
)",
                 {
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\eventlog\\Application\\FooSvc",
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\eventlog\\Application\\FooSvc | "
                     L"EventMessageFile - C:\\Program Files\\Foo\\msgs.dll",
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\eventlog\\Application\\FooSvc | "
                     L"TypesSupported - 7",
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\eventlog\\System\\FooSvc",
                     L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\eventlog\\System\\FooSvc | "
                     L"EventMessageFile - C:\\Program Files\\Foo\\msgs.dll",
                 }},
        // By the value's name (the executable); data alone does not count.
        AreaCase{{"MuiCacheByValueName"},
                 MakeMuiCacheArea,
                 LR"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\ShellNoRoam\MUICache]
"C:\\Program Files\\Foo\\foo.exe"="Foo Application"
"C:\\Program Files\\Foo2\\foo2.exe"="Foo2 Application"
"@shell32.dll,-100"="C:\\Program Files\\Foo\\"
)",
                 {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache | "
                  L"C:\\Program Files\\Foo\\foo.exe - Foo Application"}}),
    CaseName());

// Every excluded vendor key, in any letter case, is passed over in both
// roots, even for a program that bears its name.
struct ExcludedCase : NamedCase {
  const wchar_t* vendor;
};

class ScanExcludedVendorTest : public SimMachineX86Test, public ::testing::WithParamInterface<ExcludedCase> {};

TEST_P(ScanExcludedVendorTest, NeverWalked) {
  const std::wstring vendor = GetParam().vendor;
  for (const wchar_t* root : {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", L"HKEY_CURRENT_USER\\Software\\"}) {
    Machine().ImportReg(kHeader + std::wstring(L"[") + root + vendor + L"\\Foo]\r\n\"InstallDir\"=\"C:\\\\Program Files\\\\Foo\"\r\n");
  }
  Machine().ImportReg(kHeader + std::wstring(L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft]\r\n\"Dir\"=\"C:\\\\Program Files\\\\Foo\"\r\n"));
  const std::vector<std::wstring> walked = {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft | Dir - C:\\Program Files\\Foo"};
  EXPECT_EQ(Lines(Scan(VendorAreas())), walked);
  EXPECT_EQ(Lines(Scan(VendorAreas(), vendor)), walked);
}

INSTANTIATE_TEST_SUITE_P(Vendors, ScanExcludedVendorTest,
                         ::testing::Values(ExcludedCase{{"Microsoft"}, L"Microsoft"},
                                           ExcludedCase{{"MICROSOFT"}, L"MICROSOFT"},
                                           ExcludedCase{{"classes"}, L"classes"},
                                           ExcludedCase{{"CLIENTS"}, L"CLIENTS"},
                                           ExcludedCase{{"Intel"}, L"Intel"},
                                           ExcludedCase{{"IMGBURN"}, L"IMGBURN"},
                                           ExcludedCase{{"CapHyou"}, L"CapHyou"},
                                           ExcludedCase{{"cddb"}, L"cddb"},
                                           ExcludedCase{{"wow6432node"}, L"wow6432node"}),
                         CaseName());

class ScanVendorKeyTest : public SimMachineX86Test {};

TEST_F(ScanVendorKeyTest, KeyNamedExactlyLikeTheProgramGoesWholeOtherwiseValueByValue) {
  Machine().ImportReg(kHeader + std::wstring(LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Foo\Settings]
"Lang"="en"

[HKEY_CURRENT_USER\Software\FOO]
"InstallDir"="C:\\Program Files\\Foo"
"Lang"="en"

[HKEY_LOCAL_MACHINE\SOFTWARE\Policies\FooSoft]
"Dir"="C:\\Program Files\\Foo"
"Other"="x"
)"));
  const std::wstring policy = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\FooSoft | Dir - C:\\Program Files\\Foo";
  const std::wstring user = L"HKEY_CURRENT_USER\\Software\\FOO | InstallDir - C:\\Program Files\\Foo";
  EXPECT_EQ(Lines(Scan(VendorAreas())), (std::vector<std::wstring>{
                                            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo",
                                            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\Settings",
                                            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Foo\\Settings | Lang - en",
                                            policy,
                                            user,
                                        }));
  // A key that holds every program's data is never taken whole, whatever
  // the program is called.
  EXPECT_EQ(Lines(Scan(VendorAreas(), L"Policies")), (std::vector<std::wstring>{policy, user}));
}

// Below a vendor key, a key named like the program or like its install
// folder that records the folder is the program's whole, unless it also
// names places outside the folder; a folder name that says nothing (bin)
// never makes a key the program's.
TEST_F(ScanVendorKeyTest, KeyNamedLikeTheProgramOrItsFolderRecordingTheFolderGoesWhole) {
  Machine().ImportReg(kHeader + std::wstring(LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\Foo]
"InstallDir"="C:\\Program Files\\FooSoft\\Foo"
"Version"="1.0"
[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\Foo\Plugins]
"Path"="\"C:\\Program Files\\FooSoft\\Foo\\plugins\\a.dll\""
[HKEY_CURRENT_USER\Software\FooSoft\Foo]
"LastDir"="C:\\Program Files\\FooSoft\\Foo"
"Documents"="C:\\Users\\Ann\\Documents"
[HKEY_LOCAL_MACHINE\SOFTWARE\BarSoft\Foo]
"Version"="2.0"
[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft\bin]
"Dir"="C:\\Program Files\\FooSoft\\bin"
)"));
  const std::wstring foo = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft\\Foo";
  const std::wstring user = L"HKEY_CURRENT_USER\\Software\\FooSoft\\Foo | LastDir - C:\\Program Files\\FooSoft\\Foo";
  const std::vector<std::wstring> whole = {
      foo,
      foo + L"\\Plugins",
      foo + L"\\Plugins | Path - \"C:\\Program Files\\FooSoft\\Foo\\plugins\\a.dll\"",
      foo + L" | InstallDir - C:\\Program Files\\FooSoft\\Foo",
      foo + L" | Version - 1.0",
      user,
  };
  // By the program's name, and by the folder's name for a program called otherwise.
  EXPECT_EQ(Lines(Scan(VendorAreas(), L"Foo", L"C:\\Program Files\\FooSoft\\Foo")), whole);
  EXPECT_EQ(Lines(Scan(VendorAreas(), L"Foo Editor 2", L"C:\\Program Files\\FooSoft\\Foo")), whole);
  EXPECT_EQ(Lines(Scan(VendorAreas(), L"Foo Editor 2", L"C:\\Program Files\\FooSoft\\bin")),
            (std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft\\bin | Dir - C:\\Program Files\\FooSoft\\bin"}));

  // The end of the program's name after the maker's, in whole words.
  Machine().ImportReg(kHeader + std::wstring(LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Orvix Samples\Sample Mixer]
"Install_Dir"="C:\\Program Files\\Orvix Sample Mixer"
[HKEY_LOCAL_MACHINE\SOFTWARE\Orvix Samples\ixer]
"Install_Dir"="C:\\Program Files\\Orvix Sample Mixer"
)"));
  const std::wstring mixer = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix Samples\\";
  EXPECT_EQ(Lines(Scan(VendorAreas(), L"Orvix Sample Mixer", L"C:\\Program Files\\Orvix Sample Mixer")),
            (std::vector<std::wstring>{mixer + L"ixer | Install_Dir - C:\\Program Files\\Orvix Sample Mixer",
                                       mixer + L"Sample Mixer",
                                       mixer + L"Sample Mixer | Install_Dir - C:\\Program Files\\Orvix Sample Mixer"}));
}

// On 64-bit Windows the vendor keys of HKLM\SOFTWARE are searched in both
// views, each key once, and those of HKCU\Software once.
TEST_F(SimMachineTest, VendorKeysInBothMachineViewsEachOnce) {
  Machine().ImportReg(kHeader + std::wstring(LR"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\FooSoft]
"InstallDir"="C:\\Program Files\\Foo"

[HKEY_LOCAL_MACHINE\SOFTWARE\FooSoft64]
"ShellExt"="C:\\Program Files\\Foo\\ext64.dll"

[HKEY_LOCAL_MACHINE\SOFTWARE\Policies\FooSoft]
"Dir"="C:\\Program Files\\Foo"

[HKEY_CURRENT_USER\Software\FooSoft]
"LastDir"="C:\\Program Files\\Foo"
)"));
  // The 32-bit view lists the keys it shares with the 64-bit view beside
  // its own, as Windows does.
  Machine().ImportReg(kHeader + std::wstring(L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Policies]\r\n"));
  EXPECT_EQ(ViewLines(Scan(VendorAreas())), (std::vector<std::wstring>{
                                                L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft | InstallDir - C:\\Program Files\\Foo (32)",
                                                L"HKEY_LOCAL_MACHINE\\SOFTWARE\\FooSoft64 | ShellExt - C:\\Program Files\\Foo\\ext64.dll (64)",
                                                L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\FooSoft | Dir - C:\\Program Files\\Foo (64)",
                                                L"HKEY_CURRENT_USER\\Software\\FooSoft | LastDir - C:\\Program Files\\Foo (32)",
                                            }));
}

}  // namespace
}  // namespace orvix::testing
