// orvix list runs one analysis pass before printing, unless told not to;
// what it finds is kept in the software cache for the next run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/software_commands.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

class AnalysisConsoleTest : public testing::SimMachineTest {
 protected:
  void SetUp() override {
    const std::wstring key = L"HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Foo";
    Registry().PutString(key, L"DisplayName", L"Foo");
    Registry().PutString(key, L"UninstallString", L"\"C:\\Program Files\\Foo\\uninst.exe\" /S");
    Machine().files.PutFile(L"C:\\Program Files\\Foo\\uninst.exe", Bytes(1536));
  }

  // The size text `list --json` shows for Foo.
  std::string ListedSize(std::vector<std::wstring> args) {
    StringOutput out;
    StringOutput err;
    args.insert(args.begin(), L"list");
    args.push_back(L"--json");
    EXPECT_EQ(RunListCommand(args, out, err), 0) << testing::Narrow(err.Text());
    return nlohmann::json::parse(testing::Narrow(out.Text())).at(0).at("SizeText");
  }
};

TEST_F(AnalysisConsoleTest, ListMeasuresWhatTheRegistryLacksAndTheCacheKeepsIt) {
  EXPECT_EQ(ListedSize({L"--no-analysis"}), "");
  EXPECT_EQ(ListedSize({}), "1.50 KB");
  EXPECT_EQ(ListedSize({L"--no-analysis"}), "1.50 KB") << "the next run takes the size from the cache";
}

}  // namespace
}  // namespace orvix
