// The rule both Windows builds are held to: on the same machine they give
// the same answers. orvix list --json and orvix scan NAME --json of each
// sample, run with out/win32/orvix.exe and out/win64/orvix.exe in one prefix
// with every sample installed, print the same.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/installed_samples_test.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

class BuildIdentityTest : public SharedSamplesPrefixTest<BuildIdentityTest, kAllSamples> {
 protected:
  // What one build prints, parsed; fails the test on a bad run.
  static nlohmann::json Printed(const std::filesystem::path& output, const std::vector<std::string>& arguments) {
    // Wine's own diagnostics go to standard error; the JSON is orvix's.
    const RunResult ran =
        Prefix().Run((output / "orvix.exe").string(), arguments, std::chrono::seconds(120), OutputStreams::kApart);
    EXPECT_EQ(ran.exitCode, 0) << output << ": " << ran.errors;
    const nlohmann::json printed = nlohmann::json::parse(ran.output, nullptr, false);
    EXPECT_FALSE(printed.is_discarded()) << output << " printed no JSON: " << ran.output << ran.errors;
    return printed;
  }

  static void ExpectSameFromBothBuilds(const std::vector<std::string>& arguments) {
    // A first run (of the quicker build) leaves what later runs find (the
    // analysis cache) for both compared runs.
    Printed(Win64Output(), arguments);
    const nlohmann::json of32 = Printed(Win32Output(), arguments);
    const nlohmann::json of64 = Printed(Win64Output(), arguments);
    ASSERT_FALSE(of32.is_null());
    EXPECT_FALSE(of32.empty()) << "nothing to compare";
    EXPECT_EQ(of64, of32) << "the 64-bit build:\n" << of64.dump(1) << "\nthe 32-bit build:\n" << of32.dump(1);
  }
};

TEST_F(BuildIdentityTest, BothBuildsListTheSame) { ExpectSameFromBothBuilds({"list", "--json"}); }

TEST_F(BuildIdentityTest, BothBuildsFindTheSameOfEachSample) {
  for (const SampleProduct* sample : kAllSamples) {
    SCOPED_TRACE(sample->displayName);
    ExpectSameFromBothBuilds({"scan", sample->displayName, "--json"});
  }
}

}  // namespace
}  // namespace orvix::e2e
