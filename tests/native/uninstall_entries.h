// The programs the uninstall session's tests remove, as .reg text for a
// 32-bit machine: Foo, whose COM server stays registered after it is gone,
// and Gone, whose uninstaller no longer exists.
#pragma once

namespace orvix::testing {

inline constexpr const wchar_t* kUninstallEntries = LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Foo]
"DisplayName"="Foo"
"UninstallString"="\"C:\\Program Files\\Foo\\uninst.exe\""
"InstallLocation"="C:\\Program Files\\Foo"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Gone]
"DisplayName"="Gone"
"UninstallString"="\"C:\\Program Files\\Gone\\uninst.exe\""

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}\InprocServer32]
@="C:\\Program Files\\Foo\\foo.dll"
)";
inline constexpr const wchar_t* kFooClsidKey = L"\\SOFTWARE\\Classes\\CLSID\\{6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}";

}  // namespace orvix::testing
