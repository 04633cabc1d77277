// The service, firewall, Run and App Paths areas of the leftover scan over a
// simulated machine: what names the install folder is found, what names
// Foo2 next to it is not, in the order of the full scan and in the views
// of a 64-bit machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry_helpers.h"
#include "sim_fixture.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/system_areas.h"

namespace orvix::testing {
namespace {

std::vector<std::wstring> Lines(const TRegFindings& findings, bool withView = false) {
  std::vector<std::wstring> lines;
  for (const TShowRegInfo& f : findings) {
    lines.push_back(RegItemText(f.RootKey, f.KeyPath, f.ValueName, f.ValueData) +
                    (withView ? (f.View64 ? L" (64)" : L" (32)") : L""));
  }
  return lines;
}

TSoftInfo Record(const wchar_t* installLocation) {
  TSoftInfo record;
  record.DisplayName = L"Foo";
  record.InstallLocation = installLocation;
  return record;
}

TEST_F(SimMachineX86Test, SystemListsNameTheInstallFolderInTheOrderOfTheFullScan) {
  Machine().ImportReg(
      LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\BinSvc]
"Description"=hex:43,3a,5c,50,72,6f,67,72,61,6d,20,46,69,6c,65,73,5c,46,6f,6f,5c,62,69,6e,2e,65,78,65
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\Foo2Svc]
"ImagePath"="C:\\Program Files\\Foo2\\svc.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\Foo2Svc\Enum]
"0"="Root\\LEGACY_FOO2SVC\\0000"
"Count"=dword:00000001
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\FooSvc]
"ImagePath"="\"C:\\Program Files\\Foo\\foosvc.exe\""
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\FooSvc\Enum]
"0"="Root\\LEGACY_FOOSVC\\0000"
"1"="Root"
"2"="Root\\LEGACY_FOOSVC"
"Count"=dword:7fffffff
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\Root\LEGACY_FOOSVC\0000]
"Service"="FooSvc"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\Root\LEGACY_FOO2SVC\0000]

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\SharedAccess\Parameters\FirewallPolicy\FirewallRules]
"{R1}"="v2.10|Action=Allow|Dir=In|App=C:\\Program Files\\Foo\\foo.exe|Name=Foo|"
"{R2}"="v2.10|Action=Allow|Dir=In|App=C:\\Program Files\\Foo2\\foo.exe|Name=Foo2|"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\SharedAccess\Parameters\FirewallPolicy\RestrictedServices\Static\System]
"FooSvc-1"="v2.10|Action=Block|App=C:\\Program Files\\Foo\\foosvc.exe|Svc=FooSvc|"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\SharedAccess\Parameters\FirewallPolicy\StandardProfile\AuthorizedApplications\List]
"C:\\Program Files\\Foo\\foo.exe"="C:\\Program Files\\Foo\\foo.exe:*:Enabled:Foo"
"C:\\Program Files\\Foo2\\foo.exe"="C:\\Program Files\\Foo2\\foo.exe:*:Enabled:Foo2"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"Foo"="\"C:\\Program Files\\Foo\\foo.exe\" /tray"
"Foo2"="C:\\Program Files\\Foo2\\foo2.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"FooUser"="C:\\PROGRAM FILES\\FOO\\foo.exe"
"Other"="C:\\Program Files\\Other\\other.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\bar.exe]
"Path"="C:\\Program Files\\Foo\\"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\foo.exe]
@="C:\\Program Files\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\foo2.exe]
@="C:\\Program Files\\Foo2\\foo2.exe"
"Path"="C:\\Program Files\\Foo"
)");
  TRegFindings findings;
  TRegeditScanClasses scan;
  scan.Setup(&findings, nullptr, Record(L"C:\\Program Files\\Foo"), nullptr);
  scan.FullScan();

  const std::wstring services = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\";
  const std::wstring devices = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\";
  const std::wstring policy = services + L"SharedAccess\\Parameters\\FirewallPolicy\\";
  const std::wstring run = L"\\Microsoft\\Windows\\CurrentVersion\\Run | ";
  const std::wstring paths = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  EXPECT_EQ(
      Lines(findings),
      (std::vector<std::wstring>{
          services + L"FooSvc",
          services + L"FooSvc\\Enum",
          services + L"FooSvc\\Enum | 0 - Root\\LEGACY_FOOSVC\\0000",
          services + L"FooSvc\\Enum | 1 - Root",
          services + L"FooSvc\\Enum | 2 - Root\\LEGACY_FOOSVC",
          services + L"FooSvc\\Enum | Count - 2147483647",
          services + L"FooSvc | ImagePath - \"C:\\Program Files\\Foo\\foosvc.exe\"",
          // The device of instance 0; instances 1 and 2 would name the whole enumerator.
          devices + L"Root\\LEGACY_FOOSVC",
          devices + L"Root\\LEGACY_FOOSVC\\0000",
          devices + L"Root\\LEGACY_FOOSVC\\0000 | Service - FooSvc",
          policy + L"FirewallRules | {R1} - v2.10|Action=Allow|Dir=In|App=C:\\Program Files\\Foo\\foo.exe|Name=Foo|",
          policy + L"RestrictedServices\\Static\\System | FooSvc-1 - "
                   L"v2.10|Action=Block|App=C:\\Program Files\\Foo\\foosvc.exe|Svc=FooSvc|",
          policy + L"StandardProfile\\AuthorizedApplications\\List | C:\\Program Files\\Foo\\foo.exe - "
                   L"C:\\Program Files\\Foo\\foo.exe:*:Enabled:Foo",
          L"HKEY_LOCAL_MACHINE\\SOFTWARE" + run + L"Foo - \"C:\\Program Files\\Foo\\foo.exe\" /tray",
          L"HKEY_CURRENT_USER\\Software" + run + L"FooUser - C:\\PROGRAM FILES\\FOO\\foo.exe",
          paths + L"bar.exe",
          paths + L"bar.exe | Path - C:\\Program Files\\Foo\\",
          paths + L"foo.exe",
          paths + L"foo.exe | Default - C:\\Program Files\\Foo\\foo.exe",
      }));
}

// A 32-bit program on a 64-bit machine that also registered a 64-bit helper.
TEST_F(SimMachineTest, MachineRunListsOfBothViewsTheRestOnce) {
  Machine().ImportReg(
      LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
"Foo"="C:\\Program Files (x86)\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"FooHelper64"="C:\\Program Files (x86)\\Foo\\helper64.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"FooUser"="C:\\Program Files (x86)\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\foo.exe]
@="C:\\Program Files (x86)\\Foo\\foo.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\FooSvc]
"ImagePath"="C:\\Program Files (x86)\\Foo\\foosvc.exe"
)");
  TRegFindings findings;
  TRegeditScanClasses scan;
  scan.Setup(&findings, nullptr, Record(L"C:\\Program Files (x86)\\Foo"), nullptr);
  std::vector<TScanAreaPtr> areas;
  for (auto make : {MakeServiceArea, MakeFirewallArea, MakeMachineRunArea, MakeUserRunArea, MakeAppPathsArea}) {
    areas.push_back(make());
  }
  scan.FullScan(areas);

  const std::wstring run = L"\\Microsoft\\Windows\\CurrentVersion\\Run | ";
  const std::wstring paths = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  EXPECT_EQ(
      Lines(findings, true),
      (std::vector<std::wstring>{
          L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\FooSvc (32)",
          L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\FooSvc | ImagePath - "
          L"C:\\Program Files (x86)\\Foo\\foosvc.exe (32)",
          L"HKEY_LOCAL_MACHINE\\SOFTWARE" + run + L"Foo - C:\\Program Files (x86)\\Foo\\foo.exe (32)",
          L"HKEY_LOCAL_MACHINE\\SOFTWARE" + run + L"FooHelper64 - C:\\Program Files (x86)\\Foo\\helper64.exe (64)",
          L"HKEY_CURRENT_USER\\Software" + run + L"FooUser - C:\\Program Files (x86)\\Foo\\foo.exe (32)",
          paths + L"foo.exe (32)",
          paths + L"foo.exe | Default - C:\\Program Files (x86)\\Foo\\foo.exe (32)",
      }));

  for (const TShowRegInfo& f : findings) {
    if (!f.IsKey()) {
      EXPECT_TRUE(RegDeleteValueAt(f.RootKey, f.KeyPath, f.ValueName, f.View64)) << f.ValueName;
    }
  }
  const std::wstring lmRun = L"Microsoft\\Windows\\CurrentVersion\\Run";
  EXPECT_FALSE(Registry().GetValue(L"HKLM\\SOFTWARE\\Wow6432Node\\" + lmRun, L"Foo").has_value());
  EXPECT_FALSE(Registry().GetValue(L"HKLM\\SOFTWARE\\" + lmRun, L"FooHelper64").has_value());
}

}  // namespace
}  // namespace orvix::testing
