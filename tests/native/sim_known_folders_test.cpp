// Known folders of the simulated shell, as SHGetKnownFolderPath answers a
// 32-bit program on each kind of machine.
#include <gtest/gtest.h>

#include "native/sim_fixture.h"
#include "native/test_text.h"

namespace orvix {
namespace {

using testing::Narrow;

constexpr const wchar_t* kProgramFiles = L"{905E63B6-C1BF-494E-B29C-65B732D3D21A}";
constexpr const wchar_t* kProgramFilesX86 = L"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}";
constexpr const wchar_t* kProgramFilesX64 = L"{6D809377-6AF0-444B-8957-A3773F02200E}";
constexpr const wchar_t* kProgramFilesCommonX64 = L"{6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D}";
constexpr const wchar_t* kSystem = L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}";
constexpr const wchar_t* kSystemX86 = L"{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}";
constexpr const wchar_t* kCommonPrograms = L"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}";
constexpr const wchar_t* kUserProgramFiles = L"{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}";

sim::MachineOptions Machine(sim::Bitness bitness, const OsVersionInfo& os) {
  sim::MachineOptions options = testing::MachineOf(bitness);
  options.os = os;
  return options;
}

TEST(SimKnownFolders, A64BitWindows10) {
  testing::CurrentSimMachine current(Machine(sim::Bitness::x64, sim::kWindows10));
  sim::SimShell& shell = current.machine.shell;
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFiles)), "C:\\Program Files (x86)");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFilesX86)), "C:\\Program Files (x86)");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFilesX64)), "");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFilesCommonX64)), "");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kSystem)), "C:\\Windows\\system32");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kSystemX86)), "C:\\Windows\\SysWOW64");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kCommonPrograms)),
            "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kUserProgramFiles)), "C:\\Users\\Ann\\AppData\\Local\\Programs");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(L"{1ac14e77-02e7-4e5d-b744-2eb1ae5198b7}")), "C:\\Windows\\system32");
  for (const wchar_t* notKnown : {L"{00000000-0000-0000-0000-000000000000}", L"1AC14E77-02E7-4E5D-B744-2EB1AE5198B7",
                                  L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7", L""}) {
    EXPECT_EQ(Narrow(shell.GetKnownFolderPath(notKnown)), "") << Narrow(notKnown);
  }
  // Known folders follow the special folders a test changes.
  shell.SetSpecialFolder(CSIDL_COMMON_PROGRAMS, L"D:\\Menu");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kCommonPrograms)), "D:\\Menu");
}

TEST(SimKnownFolders, A32BitWindows7) {
  testing::CurrentSimMachine current(Machine(sim::Bitness::x86, sim::kWindows7));
  sim::SimShell& shell = current.machine.shell;
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFilesX86)), "C:\\Program Files");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kProgramFilesX64)), "");
  EXPECT_EQ(Narrow(shell.GetKnownFolderPath(kSystemX86)), "C:\\Windows\\system32");
}

TEST(SimKnownFolders, XpHasNone) {
  testing::CurrentSimMachine current(Machine(sim::Bitness::x86, sim::kWindowsXp));
  EXPECT_EQ(Narrow(current.machine.shell.GetKnownFolderPath(kSystem)), "");
  EXPECT_FALSE(current.machine.shell.GetSpecialFolder(CSIDL_SYSTEM).empty());
}

}  // namespace
}  // namespace orvix
