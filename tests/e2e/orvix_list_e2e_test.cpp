// orvix.exe list --json over programs installed by their real installers and
// the tricky Uninstall entries, in a Wine prefix.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "e2e/installed_samples_test.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

class OrvixListTest : public SharedSamplesPrefixTest<OrvixListTest> {
 protected:
  // The listed entries by display name; fails the test on a bad run.
  static nlohmann::json ListedByName() {
    // Wine's own diagnostics go to standard error; the JSON is orvix's.
    const RunResult ran = Prefix().Run((Win32Output() / "orvix.exe").string(), {"list", "--json"},
                                       std::chrono::seconds(120), OutputStreams::kApart);
    EXPECT_EQ(ran.exitCode, 0) << ran.errors;
    const nlohmann::json list = nlohmann::json::parse(ran.output, nullptr, false);
    EXPECT_TRUE(list.is_array()) << ran.output << ran.errors;
    nlohmann::json byName = nlohmann::json::object();
    if (!list.is_array()) return byName;
    for (const auto& entry : list) {
      const std::string name = entry.value("DisplayName", "");
      EXPECT_FALSE(byName.contains(name)) << "listed twice: " << name;
      byName[name] = entry;
    }
    return byName;
  }
};

TEST_F(OrvixListTest, ListsTheInstalledProgramsFromEveryViewAndRoot) {
  const nlohmann::json listed = ListedByName();
  const struct {
    const char* name;
    const char* root;
    bool x64;
  } programs[] = {
      {"Orvix Sample Notes", "HKEY_LOCAL_MACHINE", false},
      {"Orvix Sample Clock", "HKEY_LOCAL_MACHINE", true},
      {"Orvix Sample Sketch", "HKEY_CURRENT_USER", false},
      {"Orvix Sample Viewer", "HKEY_LOCAL_MACHINE", false},
  };
  for (const auto& program : programs) {
    SCOPED_TRACE(program.name);
    ASSERT_TRUE(listed.contains(program.name));
    const auto& entry = listed[program.name];
    EXPECT_EQ(entry["RootName"], program.root);
    EXPECT_EQ(entry["IsX64"], program.x64);
    EXPECT_EQ(entry["Publisher"], "Orvix Samples");
    EXPECT_FALSE(entry["UninstallString"].get<std::string>().empty());
    EXPECT_EQ(entry["KeyPath"].get<std::string>().rfind("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", 0),
              0u);
  }
  EXPECT_NE(listed["Orvix Sample Viewer"]["UninstallString"].get<std::string>().find("/X{"), std::string::npos)
      << "Windows Installer commands are turned into removals";
}

TEST_F(OrvixListTest, TrickyEntriesFollowTheInventoryRules) {
  const nlohmann::json listed = ListedByName();
  ASSERT_TRUE(listed.contains("Orvix Fixture Twin")) << "one of the two namesakes stays";
  EXPECT_EQ(listed["Orvix Fixture Twin"]["IsX64"], false) << "the default view comes first";
  ASSERT_TRUE(listed.contains("Orvix Fixture Code Only"));
  EXPECT_EQ(listed["Orvix Fixture Code Only"]["UninstallString"],
            "MsiExec.exe /X {1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}");
  EXPECT_FALSE(listed.contains("Orvix Fixture Hidden Code Only")) << "a system component without a command";
}

}  // namespace
}  // namespace orvix::e2e
