// orvix.exe addons in a Wine prefix: a COM server of ours registered by
// regsvr32 as an Internet Explorer helper object and toolbar is listed,
// switched off (Internet Explorer's own per-user switch is set, the entry
// shows as off) and switched on again, by both Windows builds.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

constexpr char kHelperClass[] = "{6C1D5E0A-3B2F-4F7A-9E51-0A7C2D4B8E11}";
constexpr char kSettings[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Ext\\Settings\\";

class OrvixAddonsTest : public ::testing::TestWithParam<bool> {
 protected:
  std::filesystem::path Output() const { return GetParam() ? Win64Output() : Win32Output(); }

  RunResult Orvix(const std::vector<std::string>& arguments) {
    return prefix_.Run((Output() / "orvix.exe").string(), arguments, std::chrono::seconds(120), OutputStreams::kApart);
  }
  // The listed entry of our helper, or null.
  nlohmann::json Helper() {
    const RunResult ran = Orvix({"addons", "list", "--browser", "ie", "--json"});
    EXPECT_EQ(ran.exitCode, 0) << ran.errors;
    const nlohmann::json list = nlohmann::json::parse(ran.output, nullptr, false);
    EXPECT_TRUE(list.is_array()) << ran.output << ran.errors;
    if (!list.is_array()) return nullptr;
    for (const auto& entry : list) {
      if (entry.value("id", "") == kHelperClass) return entry;
    }
    return nullptr;
  }

  WinePrefix prefix_;
};

TEST_P(OrvixAddonsTest, OurHelperIsListedSwitchedOffAndOnAgain) {
  // The regsvr32 of the server's own bitness registers it in its own view.
  const std::string regsvr32 = GetParam() ? "C:\\windows\\system32\\regsvr32.exe" : "C:\\windows\\syswow64\\regsvr32.exe";
  const std::string server = WinePrefix::WindowsPathOf(Output() / "orvix_test_browser_helper.dll");
  ASSERT_EQ(prefix_.Run(regsvr32, {"/s", server}).exitCode, 0);

  nlohmann::json helper = Helper();
  ASSERT_FALSE(helper.is_null());
  EXPECT_EQ(helper["caption"], "Orvix Test Helper");
  EXPECT_EQ(helper["group"], "BHO");
  EXPECT_EQ(helper["is64Bit"], GetParam());
  EXPECT_EQ(helper["active"], true);

  RunResult ran = Orvix({"addons", "disable", kHelperClass});
  EXPECT_EQ(ran.exitCode, 0) << ran.output << ran.errors;
  EXPECT_EQ(prefix_.RegQuery(std::string(kSettings) + kHelperClass, "Flags", RegView::k64), "0x1");
  helper = Helper();
  ASSERT_FALSE(helper.is_null());
  EXPECT_EQ(helper["active"], false);

  ran = Orvix({"addons", "enable", std::string("ie:") + kHelperClass});
  EXPECT_EQ(ran.exitCode, 0) << ran.output << ran.errors;
  EXPECT_EQ(prefix_.RegQuery(std::string(kSettings) + kHelperClass, "Flags", RegView::k64), "0x0");
  helper = Helper();
  ASSERT_FALSE(helper.is_null());
  EXPECT_EQ(helper["active"], true);
}

INSTANTIATE_TEST_SUITE_P(Builds, OrvixAddonsTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "win64" : "win32"; });

}  // namespace
}  // namespace orvix::e2e
