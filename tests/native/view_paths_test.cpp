// Paths of a registration as its own program resolves them: the x86 folders
// and SysWOW64 for the 32-bit view of a 64-bit machine, the native folders
// for its 64-bit view, and the text as written on a 32-bit machine.
#include <gtest/gtest.h>

#include <string>

#include "inventory/uninstall_entry.h"
#include "named_case.h"
#include "platform/view_paths.h"
#include "sim_fixture.h"

namespace orvix::testing {
namespace {

struct ViewPathCase : NamedCase {
  sim::Bitness machine;
  bool view64;
  const wchar_t* written;
  const wchar_t* resolved;
};

class PathTextForViewTest : public ::testing::TestWithParam<ViewPathCase> {};

TEST_P(PathTextForViewTest, ResolvesAsTheRegistrationsProgramDoes) {
  const ViewPathCase& c = GetParam();
  CurrentSimMachine current(MachineOf(c.machine));
  EXPECT_EQ(PathTextForView(c.written, c.view64), c.resolved);
}

constexpr auto x64 = sim::Bitness::x64;
constexpr auto x86 = sim::Bitness::x86;

INSTANTIATE_TEST_SUITE_P(
    Table, PathTextForViewTest,
    ::testing::Values(
        ViewPathCase{{"ProgramFiles32"}, x64, false, L"\"%ProgramFiles%\\Foo\\unins.exe\" /x",
                     L"\"C:\\Program Files (x86)\\Foo\\unins.exe\" /x"},
        ViewPathCase{{"ProgramFiles64"}, x64, true, L"%programfiles%\\Foo", L"C:\\Program Files\\Foo"},
        ViewPathCase{{"CommonFiles32"}, x64, false, L"%CommonProgramFiles%\\Foo\\a.dll",
                     L"C:\\Program Files (x86)\\Common Files\\Foo\\a.dll"},
        ViewPathCase{{"CommonFiles64"}, x64, true, L"%CommonProgramFiles%\\Foo\\a.dll",
                     L"C:\\Program Files\\Common Files\\Foo\\a.dll"},
        ViewPathCase{{"System32Of32"}, x64, false, L"C:\\WINDOWS\\system32\\foo.dll",
                     L"C:\\WINDOWS\\SysWOW64\\foo.dll"},
        ViewPathCase{{"System32ByVariable"}, x64, false, L"\"%SystemRoot%\\System32\\rundll32.exe\" a.dll,Run",
                     L"\"%SystemRoot%\\SysWOW64\\rundll32.exe\" a.dll,Run"},
        ViewPathCase{{"System32OfTheKernel"}, x64, false, L"\\SystemRoot\\System32\\drivers\\foo.sys",
                     L"\\SystemRoot\\SysWOW64\\drivers\\foo.sys"},
        ViewPathCase{{"System32Itself"}, x64, false, L"%windir%\\system32", L"%windir%\\SysWOW64"},
        ViewPathCase{{"Sysnative32"}, x64, false, L"C:\\Windows\\Sysnative\\foo.exe",
                     L"C:\\Windows\\System32\\foo.exe"},
        // Sub-folders both views share, and names that only begin alike.
        ViewPathCase{{"SharedHosts"}, x64, false, L"C:\\Windows\\System32\\drivers\\etc\\hosts",
                     L"C:\\Windows\\System32\\drivers\\etc\\hosts"},
        ViewPathCase{{"SharedSpool"}, x64, false, L"%windir%\\System32\\spool\\drivers\\x.dll",
                     L"%windir%\\System32\\spool\\drivers\\x.dll"},
        ViewPathCase{{"NotShared"}, x64, false, L"C:\\Windows\\System32\\spooler\\x.dll",
                     L"C:\\Windows\\SysWOW64\\spooler\\x.dll"},
        ViewPathCase{{"OtherFolder"}, x64, false, L"C:\\Windows\\System32x\\a.dll", L"C:\\Windows\\System32x\\a.dll"},
        ViewPathCase{{"NotBelowWindows"}, x64, false, L"D:\\Tools\\System32\\a.dll", L"D:\\Tools\\System32\\a.dll"},
        ViewPathCase{{"LiteralProgramFiles"}, x64, false, L"C:\\Program Files\\Foo", L"C:\\Program Files\\Foo"},
        ViewPathCase{{"System32Of64"}, x64, true, L"C:\\Windows\\System32\\foo.dll", L"C:\\Windows\\System32\\foo.dll"},
        // One view: nothing to resolve.
        ViewPathCase{{"ProgramFilesOn32BitWindows"}, x86, false, L"%ProgramFiles%\\Foo", L"%ProgramFiles%\\Foo"},
        ViewPathCase{{"System32On32BitWindows"}, x86, false, L"C:\\Windows\\System32\\a.dll",
                     L"C:\\Windows\\System32\\a.dll"}),
    CaseName());

// The entry's paths are read that way: a 64-bit program's folder under
// %ProgramFiles% is the native one even for this 32-bit program, and a
// 32-bit program's uninstaller under System32 is the one in SysWOW64.
class EntryPathsTest : public SimMachineTest {
 protected:
  static constexpr const wchar_t* kKeyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
  void Put(const std::wstring& stored, const wchar_t* location, const wchar_t* uninstall) {
    Registry().PutString(stored, L"DisplayName", L"Foo");
    Registry().PutString(stored, L"UninstallString", uninstall);
    Registry().PutString(stored, L"InstallLocation", location);
  }
};

TEST_F(EntryPathsTest, ReadAsTheEntrysProgramResolvesThem) {
  Machine().files.PutFolder(L"C:\\Program Files\\Foo");
  Machine().files.PutFolder(L"C:\\Program Files (x86)\\Foo");
  Put(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"%ProgramFiles%\\Foo",
      L"%windir%\\System32\\foo_uninstall.exe");
  Put(L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo", L"%ProgramFiles%\\Foo",
      L"%windir%\\System32\\foo_uninstall.exe");

  const std::optional<TSoftInfo> native = ReadUninstallEntry(L"HKEY_LOCAL_MACHINE", kKeyPath, true);
  const std::optional<TSoftInfo> x86 = ReadUninstallEntry(L"HKEY_LOCAL_MACHINE", kKeyPath, false);
  ASSERT_TRUE(native && x86);
  EXPECT_EQ(native->InstallLocation, L"C:\\Program Files\\Foo");
  EXPECT_EQ(native->UninstallString, L"%windir%\\System32\\foo_uninstall.exe");
  EXPECT_EQ(x86->InstallLocation, L"C:\\Program Files (x86)\\Foo");
  EXPECT_EQ(x86->UninstallString, L"%windir%\\SysWOW64\\foo_uninstall.exe");
}

}  // namespace
}  // namespace orvix::testing
