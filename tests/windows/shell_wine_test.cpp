// The Win32 shell and environment against a 64-bit Wine prefix, as each
// build sees it.
#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "platform/win32/win32_platform.h"
#include "windows/test_files.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

using test::BesideTestProgram;
using test::PathExists;

class ShellWineTest : public ::testing::Test {
 protected:
  IShellApi& shell() { return platform_.Shell(); }

  win32::Win32Platform platform_;
};

std::wstring RawEnvironment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  return ::GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"";
}

TEST_F(ShellWineTest, FoldersOfEachBuildOn64BitWindows) {
  ASSERT_TRUE(platform_.System().IsWow64Process()) << "the test prefix is 64-bit";
  wchar_t wow64[MAX_PATH] = {};
  ASSERT_GT(::GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u);
  const std::wstring systemDrive = RawEnvironment(L"SystemDrive");
  ASSERT_FALSE(systemDrive.empty());

  // A 32-bit program is shown the x86 folders as "the" program files, a
  // 64-bit one the native folders; both are shown the x86 ones by name.
  const std::wstring programFiles =
      systemDrive + (sizeof(void*) == 8 ? L"\\Program Files" : L"\\Program Files (x86)");
  const struct {
    int csidl;
    std::wstring expected;
  } cases[] = {
      {CSIDL_PROGRAM_FILES, programFiles},
      {CSIDL_PROGRAM_FILESX86, systemDrive + L"\\Program Files (x86)"},
      {CSIDL_PROGRAM_FILES_COMMON, programFiles + L"\\Common Files"},
      {CSIDL_PROGRAM_FILES_COMMONX86, systemDrive + L"\\Program Files (x86)\\Common Files"},
      {CSIDL_SYSTEMX86, wow64},
      {CSIDL_SYSTEM, shell().GetSystemDirectory()},
      {CSIDL_WINDOWS, shell().GetWindowsDirectory()},
      {CSIDL_APPDATA, RawEnvironment(L"APPDATA")},
      {CSIDL_LOCAL_APPDATA, RawEnvironment(L"LOCALAPPDATA")},
      {CSIDL_PROFILE, RawEnvironment(L"USERPROFILE")},
      {CSIDL_COMMON_APPDATA, RawEnvironment(L"ProgramData")},
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(c.expected.empty()) << "csidl " << c.csidl;
    EXPECT_TRUE(SameText(shell().GetSpecialFolder(c.csidl), c.expected))
        << "csidl " << c.csidl << ": " << shell().GetSpecialFolder(c.csidl) << " instead of " << c.expected;
  }
  EXPECT_TRUE(EndsWithText(shell().GetSpecialFolder(CSIDL_APPDATA), L"\\AppData\\Roaming"));
}

TEST_F(ShellWineTest, WindowsSystemAndTempFolders) {
  const std::wstring windows = shell().GetWindowsDirectory();
  EXPECT_TRUE(SameText(windows, RawEnvironment(L"SystemRoot"))) << windows;
  // System32 by name even for a 32-bit program; redirection does the rest.
  EXPECT_TRUE(SameText(shell().GetSystemDirectory(), windows + L"\\system32")) << shell().GetSystemDirectory();

  const std::wstring temp = shell().GetTempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  EXPECT_TRUE(PathExists(temp)) << temp;
}

TEST_F(ShellWineTest, MissingFoldersAreEmptyAndNotCreated) {
  // A fresh prefix has no CD burning folder; asking must not make one.
  const std::wstring burn = shell().GetSpecialFolder(CSIDL_LOCAL_APPDATA) + L"\\Microsoft\\Windows\\Burn\\Burn";
  ASSERT_FALSE(PathExists(burn));
  EXPECT_EQ(shell().GetSpecialFolder(CSIDL_CDBURN_AREA), L"");
  EXPECT_FALSE(PathExists(burn));
  EXPECT_EQ(shell().GetSpecialFolder(0x7F), L"");  // no such folder
}

TEST_F(ShellWineTest, ModuleFileNameIsTheRunningProgram) {
  const std::wstring self = shell().GetModuleFileName();
  EXPECT_TRUE(EndsWithText(self, L"\\orvix_windows_tests.exe")) << self;
  EXPECT_TRUE(PathExists(self));
}

// A process environment variable for one test.
class TestVariable {
 public:
  TestVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~TestVariable() { ::SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

TEST_F(ShellWineTest, EnvironmentVariablesAndTheirExpansion) {
  const std::wstring longValue(1000, L'x');  // beyond any first buffer
  TestVariable empty(L"ORVIX_TEST_EMPTY", L"");
  TestVariable plain(L"ORVIX_TEST_PLAIN", L"C:\\Some Folder");
  TestVariable large(L"ORVIX_TEST_LONG", longValue);

  EXPECT_EQ(shell().GetEnvironmentVariable(L"ORVIX_TEST_MISSING"), std::nullopt);
  EXPECT_EQ(shell().GetEnvironmentVariable(L"ORVIX_TEST_EMPTY"), std::wstring());
  EXPECT_EQ(shell().GetEnvironmentVariable(L"orvix_test_plain"), L"C:\\Some Folder");
  EXPECT_EQ(shell().GetEnvironmentVariable(L"ORVIX_TEST_LONG"), longValue);

  EXPECT_EQ(shell().ExpandEnvironmentStrings(L"%ORVIX_TEST_PLAIN%\\app.exe %ORVIX_TEST_MISSING% 100%"),
            L"C:\\Some Folder\\app.exe %ORVIX_TEST_MISSING% 100%");
  EXPECT_EQ(shell().ExpandEnvironmentStrings(L"[%ORVIX_TEST_LONG%]"), L"[" + longValue + L"]");
  EXPECT_EQ(shell().ExpandEnvironmentStrings(L""), L"");
}

TEST_F(ShellWineTest, ShellExecuteStartsAProgramAndRefusesAMissingOne) {
  const std::wstring sleeper = BesideTestProgram(L"orvix_test_sleeper.exe");
  IProcessApi& processes = platform_.Processes();
  const DWORD self = processes.CurrentProcessId();
  auto ourSleepers = [&] {
    std::vector<DWORD> ids;
    for (const ProcessEntry& entry : processes.Snapshot())
      if (entry.parentProcessId == self && SameText(entry.exeFile, L"orvix_test_sleeper.exe"))
        ids.push_back(entry.processId);
    return ids;
  };
  ASSERT_TRUE(ourSleepers().empty());

  ASSERT_TRUE(shell().ShellExecute(L"open", sleeper, L"30000", L"", SW_HIDE));
  const std::vector<DWORD> started = ourSleepers();
  ASSERT_EQ(started.size(), 1u);
  const ProcessHandle process = processes.OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, started[0]);
  ASSERT_NE(process, 0u);
  EXPECT_TRUE(processes.TerminateProcess(process, 0));
  EXPECT_EQ(processes.WaitForProcess(process, 10000), WAIT_OBJECT_0);
  processes.CloseProcess(process);

  EXPECT_FALSE(shell().ShellExecute(L"open", BesideTestProgram(L"no_such_program.exe"), L"", L"", SW_HIDE));
}

}  // namespace
}  // namespace orvix
