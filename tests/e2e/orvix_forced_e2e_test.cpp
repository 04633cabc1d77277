// orvix.exe forced on a program installed by its real installer, in a Wine
// prefix: the program's own file leads to its entry, declining keeps it, and
// with --delete all its real uninstaller runs and what it forgot goes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "e2e/installed_samples_test.h"
#include "e2e/sample_catalog.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

class OrvixForcedTest : public SharedSamplesPrefixTest<OrvixForcedTest> {};

TEST_F(OrvixForcedTest, TheProgramFileListsItsEntryAndDecliningKeepsIt) {
  const std::string program = MainProgram(kNotes);
  ASSERT_TRUE(Exists(program));
  // No answer on standard input declines the uninstall.
  const RunResult ran = Prefix().Run((Win32Output() / "orvix.exe").string(), {"forced", program});
  EXPECT_NE(ran.output.find("Path: " + program), std::string::npos) << ran.output;
  EXPECT_NE(ran.output.find("Installed in this folder:\n  Orvix Sample Notes"), std::string::npos) << ran.output;
  EXPECT_EQ(ran.exitCode, 1) << ran.output;
  EXPECT_TRUE(Exists(program));
  EXPECT_TRUE(Prefix().RegKeyExists(kNotes.uninstallKey, kNotes.view));
}

TEST_F(OrvixForcedTest, TheWindowsFolderIsRefused) {
  const RunResult ran = Prefix().Run((Win32Output() / "orvix.exe").string(), {"forced", "C:\\windows", "--yes"});
  EXPECT_EQ(ran.exitCode, 1) << ran.output;
  EXPECT_NE(ran.output.find("Invalid path. Please select again!"), std::string::npos) << ran.output;
}

// Its own prefix: this test removes the program the others expect installed.
class OrvixForcedUninstallTest : public SharedSamplesPrefixTest<OrvixForcedUninstallTest> {};

TEST_F(OrvixForcedUninstallTest, TheProgramFileRunsTheRealUninstallerThenItsLeftoversGo) {
  const std::string program = MainProgram(kNotes);
  ASSERT_TRUE(Exists(program));
  // --quiet: the uninstaller's own window would wait for a click.
  const RunResult ran = Prefix().Run((Win32Output() / "orvix.exe").string(),
                                     {"forced", program, "--delete", "all", "--quiet", "--yes"},
                                     std::chrono::seconds(600));
  EXPECT_EQ(ran.exitCode, 0) << ran.output;
  EXPECT_NE(ran.output.find(std::string("Uninstalled ") + kNotes.displayName + "."), std::string::npos) << ran.output;

  // The uninstaller's own work, waited for before the scan.
  EXPECT_FALSE(Prefix().RegKeyExists(kNotes.uninstallKey, kNotes.view));
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(Exists(InstallFolder(kNotes)));
  // What it forgot, found and deleted.
  EXPECT_FALSE(Prefix().RegKeyExists(std::string("HKLM\\Software\\Classes\\CLSID\\") + kNotesClsid, RegView::k32));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string("HKCR\\") + kNotesProgId, RegView::k32));
  EXPECT_FALSE(Prefix()
                   .RegQuery("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "OrvixSampleNotes",
                             RegView::k32)
                   .has_value());
  EXPECT_FALSE(Exists("C:\\users\\Public\\Desktop\\Orvix Sample Notes.lnk"));
}

}  // namespace
}  // namespace orvix::e2e
