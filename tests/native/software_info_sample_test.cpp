// The inventory over the sample of tricky Uninstall entries in tests/samples,
// imported as written (the plain SOFTWARE keys are the 64-bit view).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "inventory/software_info.h"
#include "platform/sim/reg_file.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix::testing {
namespace {

const std::filesystem::path kSample =
    std::filesystem::path(ORVIX_SOURCE_DIR) / "tests" / "samples" / "tricky_uninstall_entries.reg";

// One line per listed entry: what the list and its categories show.
std::string Describe(const TSoftInfo& entry) {
  std::string line = Narrow(entry.DisplayName) + (entry.IsX64 ? "(x64)" : "");
  line += entry.RootName == L"HKEY_LOCAL_MACHINE" ? " | HKLM | " : " | HKCU | ";
  line += Narrow(entry.Publisher) + " | " + Narrow(entry.DisplayVersion) + " | " + Narrow(entry.SizeText) + " | " +
          Narrow(entry.InstallDateText);
  if (entry.IsUpdate) line += " | update";
  if (entry.IsToolbar) line += " | toolbar";
  return line;
}

using SampleEntriesTest = SimMachineTest;

TEST_F(SampleEntriesTest, TrickyEntriesAreListedByTheRules) {
  std::ifstream file(kSample, std::ios::binary);
  ASSERT_TRUE(file) << "no sample at " << kSample;
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  sim::ImportRegBytes(Registry(), Bytes(text.begin(), text.end()));

  const TSoftwareInfo info;
  std::vector<std::string> listed;
  for (const auto& entry : info.Items()) {
    if (!entry->Hidden) listed.push_back(Describe(*entry));
  }
  // Keys come in the registry's order: the 32-bit view (machine, then user),
  // then the 64-bit view.
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "Orvix Fixture Capital Control | HKLM | Microsoft Corporation | - |  | ",
                        "Orvix Fixture Framework Service Pack 1 | HKLM | Microsoft Corporation | - |  |  | update",
                        "Orvix Fixture Other Control | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Padded | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Shared Name | HKLM | Orvix Fixtures | 1.0-user |  | ",
                        "Orvix Fixture Slashed Date | HKLM | Orvix Fixtures | - | 1023.00 KB | ",
                        "Orvix Fixture Suite | HKLM | Orvix Fixtures | 7.0 | 5.00 GB | ",
                        "Orvix Fixture Toolbar | HKLM | Orvix Fixtures | - |  |  | toolbar",
                        "Orvix Fixture Toolbox | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Search Tool-bar | HKLM | Orvix Fixtures | - |  |  | toolbar",
                        "Orvix Fixture Tools Service Pack 2 | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Twin | HKLM | Orvix Fixtures | 2.0 | 2.00 MB | ",
                        "Orvix Fixture Code Only | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Installer Package | HKLM | Orvix Fixtures | 4.2.0 |  | 1/15/2024",
                        "Orvix Fixture Suite Editor | HKLM | Orvix Fixtures | - |  | ",
                        "Orvix Fixture Shopping Tool Bar | HKCU | Orvix Fixtures | - |  |  | toolbar",
                        "Security Update for Windows (KB2479943)(x64) | HKLM | Microsoft Corporation | - |  | 3/8/2011"
                        " | update",
                        "Orvix Fixture Component Twin(x64) | HKLM | Orvix Fixtures | 1.1 |  | ",
                    }));

  std::vector<std::wstring> found;
  ASSERT_EQ(info.FindByName(L"code only", found), 1);
  EXPECT_EQ(Narrow(info.GetItem(std::stoi(found[0]))->UninstallString),
            "MsiExec.exe /X {1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}");
  found.clear();
  ASSERT_EQ(info.FindByName(L"installer package", found), 1);
  EXPECT_EQ(Narrow(info.GetItem(std::stoi(found[0]))->UninstallString),
            "MsiExec.exe /X{4A5B6C7D-8E9F-4A0B-9C1D-2E3F4A5B6C7D}");
  found.clear();
  ASSERT_EQ(info.FindByName(L"fixture twin", found), 1);
  EXPECT_EQ(Narrow(info.GetItem(std::stoi(found[0]))->HelpLink), "https://orvix-fixtures.example/twin");
}

}  // namespace
}  // namespace orvix::testing
