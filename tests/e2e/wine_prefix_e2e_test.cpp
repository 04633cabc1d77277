// The test machines themselves: a prefix's user folders are its own, never
// links to the home folder of whoever runs the tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

namespace fs = std::filesystem;

// The folders Wine links to the host's home folder in a prefix it boots.
constexpr const char* kLinkedByWine[] = {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos"};

void AssertFoldersOfThePrefix(const WinePrefix& prefix, const std::string& profile) {
  const fs::path drive = fs::canonical(prefix.DriveC());
  for (const char* name : kLinkedByWine) {
    SCOPED_TRACE(name);
    const fs::path folder = prefix.HostPath(profile + "\\" + name);
    ASSERT_FALSE(fs::is_symlink(folder)) << folder << " -> " << fs::read_symlink(folder);
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    const fs::path resolved = fs::canonical(folder);
    EXPECT_EQ(resolved.string().rfind(drive.string() + "/", 0), 0u) << resolved << " is outside " << drive;
  }
}

TEST(WinePrefixMachine, TheUserFoldersAreRealFoldersOfThePrefixAndStaySo) {
  WinePrefix prefix;
  const std::string profile = prefix.Expand("%USERPROFILE%");
  ASSERT_EQ(profile.rfind("C:\\", 0), 0u) << profile;
  // A link found stops the test before anything is written through it.
  ASSERT_NO_FATAL_FAILURE(AssertFoldersOfThePrefix(prefix, profile));

  // What a Windows program writes there lands in the prefix, and a restart
  // (a new boot of the prefix) makes no links again.
  const RunResult wrote = prefix.Run("cmd", {"/c", "echo probe>" + profile + "\\Downloads\\probe.txt"});
  ASSERT_EQ(wrote.exitCode, 0) << wrote.output;
  std::ifstream probe(prefix.HostPath(profile + "\\Downloads\\probe.txt"));
  std::string line;
  EXPECT_TRUE(std::getline(probe, line)) << "the probe is not in the prefix's Downloads folder";
  ASSERT_TRUE(prefix.Restart());
  AssertFoldersOfThePrefix(prefix, profile);
}

}  // namespace
}  // namespace orvix::e2e
