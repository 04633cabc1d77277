// orvix uninstall with the real sample installers under Wine: the NSIS
// uninstaller hands its work to a copy of itself in %TEMP% and the wait
// covers the copy; msiexec removes the package; then every leftover the
// scan finds is deleted, a file held open is left for the restart where
// Wine records it, and the day's log lists each deletion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "e2e/installed_samples_test.h"
#include "e2e/sample_catalog.h"
#include "e2e/uninstall_logs.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

namespace fs = std::filesystem;

constexpr char kRunKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kNotesDesktopShortcut[] = "C:\\users\\Public\\Desktop\\Orvix Sample Notes.lnk";
constexpr char kSessionManager[] = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kHoldMarker[] = "C:\\orvix_e2e_hold.marker";

class OrvixUninstallTest : public SharedSamplesPrefixTest<OrvixUninstallTest> {
 protected:
  static RunResult Orvix(const std::vector<std::string>& arguments) {
    return Prefix().Run((Win32Output() / "orvix.exe").string(), arguments, std::chrono::seconds(600));
  }

  // Every uninstall log of the prefix's user, in one text.
  static std::string Logs() { return UninstallLogs(Prefix()); }
};

TEST_F(OrvixUninstallTest, NsisUninstallerIsWaitedForThenItsLeftoversGo) {
  const RunResult ran = Orvix({"uninstall", kNotes.displayName, "--scan", "--delete", "all", "--yes", "--quiet"});
  EXPECT_EQ(ran.exitCode, 0) << ran.output;

  // The copy in %TEMP% did the uninstaller's work before the scan began:
  // the scan would otherwise have found the program files and its entry.
  EXPECT_FALSE(Prefix().RegKeyExists(kNotes.uninstallKey, kNotes.view));
  EXPECT_FALSE(Exists(InstallFolder(kNotes)));
  EXPECT_EQ(ran.output.find("uninstall.exe"), ran.output.rfind("uninstall.exe")) << ran.output;

  // What its uninstaller left, gone.
  EXPECT_FALSE(Prefix().RegQuery(kRunKey, "OrvixSampleNotes", RegView::k32).has_value());
  EXPECT_FALSE(Exists(kNotesDesktopShortcut));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string("HKLM\\Software\\Classes\\CLSID\\") + kNotesClsid, RegView::k32));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string("HKCR\\") + kNotesProgId, RegView::k32));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string("HKCR\\") + kNotesIndependentProgId, RegView::k32));

  const std::string logs = Logs();
  EXPECT_NE(logs.find(std::string("[") + kNotes.displayName + "]"), std::string::npos) << logs;
  EXPECT_NE(logs.find(std::string("Delete File ") + kNotesDesktopShortcut), std::string::npos) << logs;
  EXPECT_NE(logs.find(std::string("Deleted Registry Key HKEY_CLASSES_ROOT\\") + kNotesProgId), std::string::npos)
      << logs;
}

TEST_F(OrvixUninstallTest, AFileHeldOpenWaitsForTheRestart) {
  // The log the Clock program wrote into its folder, which its uninstaller leaves.
  const std::string clockLog = InstallFolder(kClock) + "\\clock.log";
  ASSERT_TRUE(Exists(clockLog));
  // Another program keeps the file open while orvix deletes.
  std::thread holder([&] {
    Prefix().Run((Win32Output() / "orvix_test_sleeper.exe").string(), {"hold", clockLog, kHoldMarker},
                 std::chrono::seconds(600));
  });
  const fs::path marker = Prefix().HostPath(kHoldMarker);
  for (int i = 0; i < 1200 && !fs::exists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const bool held = fs::exists(marker);

  const RunResult ran = Orvix({"uninstall", kClock.displayName, "--scan", "--delete", "all", "--yes", "--quiet"});
  fs::remove(marker);
  holder.join();
  ASSERT_TRUE(held) << "the file was never held open";
  // Still there until the restart (checked before any other program of the
  // prefix starts: a new Wine session boots, as a restart does).
  EXPECT_TRUE(Exists(clockLog));
  // Left for the restart is not a failure.
  EXPECT_EQ(ran.exitCode, 0) << ran.output;
  EXPECT_FALSE(Prefix().RegKeyExists(kClock.uninstallKey, kClock.view));

  const std::string logs = Lower(Logs());
  EXPECT_NE(logs.find("(reboot to delete) delete file " + Lower(clockLog)), std::string::npos) << logs;

  // The restart removes it and its folder.
  ASSERT_TRUE(Prefix().Restart());
  EXPECT_FALSE(Exists(clockLog));
  EXPECT_FALSE(Exists(InstallFolder(kClock)));
  EXPECT_FALSE(Prefix().RegQuery(kSessionManager, "PendingFileRenameOperations", RegView::k64).has_value());
}

TEST_F(OrvixUninstallTest, MsiexecRemovesTheViewer) {
  ASSERT_TRUE(Prefix().RegKeyExists(kViewer.uninstallKey, kViewer.view));
  const RunResult ran = Orvix({"uninstall", kViewer.displayName, "--scan", "--delete", "all", "--yes", "--quiet"});
  EXPECT_EQ(ran.exitCode, 0) << ran.output;
  EXPECT_FALSE(Prefix().RegKeyExists(kViewer.uninstallKey, kViewer.view));
  EXPECT_FALSE(Exists(MainProgram(kViewer)));
  EXPECT_NE(Logs().find(std::string("[") + kViewer.displayName + "]"), std::string::npos);
}

TEST_F(OrvixUninstallTest, AProgramThatIsNotInstalledIsAClearFailure) {
  const RunResult ran = Orvix({"uninstall", "Orvix Sample Nothing", "--yes"});
  EXPECT_EQ(ran.exitCode, 1);
  EXPECT_NE(ran.output.find("no installed program matches: Orvix Sample Nothing"), std::string::npos) << ran.output;
}

}  // namespace
}  // namespace orvix::e2e
