// The desktop program under Wine and Xvfb, driven through its windows by the
// automation program (window messages only, as a user's clicks and keys
// arrive): the list of the installed samples, its tabs, the search as typed,
// F5, the language switch from the settings dialog, and one sample
// uninstalled end to end through the uninstall and review windows.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "e2e/installed_samples_test.h"
#include "e2e/sample_catalog.h"
#include "e2e/uninstall_logs.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

// The automation program's names for the windows and controls
// (ids agreed with the windows' code).
constexpr char kMain[] = "window class=TfrmOrvixUninstall timeout=90";
constexpr char kList[] = "#1001";
constexpr char kSearch[] = "#1002";
constexpr char kAllProgramsTab[] = "#1011";
constexpr char kLargeProgramsTab[] = "#1013";
constexpr int kSizeCell = 2;
constexpr int kDateCell = 3;
constexpr char kUninstallCommand[] = "command 2001";
constexpr char kSettingsCommand[] = "command 2101";

constexpr char kProbeKey[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixGuiProbe";
constexpr char kProbeName[] = "Orvix Gui Probe";
constexpr char kNotesDesktopShortcut[] = "C:\\users\\Public\\Desktop\\Orvix Sample Notes.lnk";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class DesktopProgramTest : public SharedSamplesPrefixTest<DesktopProgramTest, kAllSamples> {
 protected:
  // The 64-bit build: the prefix is a 64-bit Windows, and the automation
  // program must have the bitness of the program it reads.
  static std::filesystem::path Build() { return Win64Output(); }

  // Runs steps of the automation program; its output says what each found.
  static RunResult Drive(const std::vector<std::string>& steps) {
    return Prefix().Run((Build() / "orvix_automation.exe").string(), steps, std::chrono::seconds(600));
  }
};

TEST_F(DesktopProgramTest, ListsSearchesSwitchesLanguageAndUninstallsThroughItsWindows) {
  ASSERT_EQ(Prefix().Run("start", {"/unix", (Build() / "OrvixUninstaller.exe").string()}).exitCode, 0);

  // Every sample, with its size and install date once the analysis has them.
  std::vector<std::string> listed = {kMain};
  for (const SampleProduct* sample : kAllSamples) {
    listed.push_back("wait 120 row " + std::string(kList) + " " + Quoted(sample->displayName) + " " +
                     std::to_string(kSizeCell));
    listed.push_back("wait 30 row " + std::string(kList) + " " + Quoted(sample->displayName) + " " +
                     std::to_string(kDateCell));
  }
  RunResult ran = Drive(listed);
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  // A tab filters (no sample is a large program), and the search filters as
  // typed, within the tab.
  ran = Drive({kMain, std::string("click ") + kLargeProgramsTab, "wait 10 norow #1001 \"Orvix Sample\"",
               std::string("click ") + kAllProgramsTab, "wait 10 row #1001 \"Orvix Sample Notes\"",
               std::string("type ") + kSearch + " Clo", "wait 10 norow #1001 \"Orvix Sample Notes\"",
               "row #1001 \"Orvix Sample Clock\"", std::string("settext ") + kSearch + " \"\"",
               "wait 10 row #1001 \"Orvix Sample Notes\""});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  // F5 reads the inventory again: an entry added meanwhile appears.
  ASSERT_EQ(Prefix().Run("reg", {"add", kProbeKey, "/v", "DisplayName", "/d", kProbeName, "/f"}).exitCode, 0);
  ASSERT_EQ(Prefix().Run("reg", {"add", kProbeKey, "/v", "UninstallString", "/d", "C:\\probe\\uninst.exe", "/f"})
                .exitCode,
            0);
  ran = Drive({kMain, std::string("norow #1001 ") + Quoted(kProbeName), "key F5 #1001",
               std::string("wait 60 row #1001 ") + Quoted(kProbeName)});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  // The settings dialog switches to German: the open main window's texts
  // change at once, and the windows opened later come up in German.
  ran = Drive({kMain, "column #1001 \"Software Name\"", kSettingsCommand, "window class=TfrmSetting",
               "choose #3003 Deutsch", "wait 5 enabled #1", "click #1", "gone", kMain,
               "wait 10 column #1001 Programmname"});
  ASSERT_EQ(ran.exitCode, 0) << ran.output;

  // One sample through the windows: Uninstall, its own uninstaller waited
  // for, the scan, Select All, Delete confirmed, and it is gone.
  ran = Drive({kMain, std::string("select #1001 ") + Quoted(kNotes.displayName), kUninstallCommand,
               "window class=TfrmUninstalling", "click #3101",
               "window class=#32770 title~=\"Orvix Sample Notes\" timeout=120", "wait 120 enabled Close",
               "click Close", "window class=TfrmUninstalling", "wait 180 enabled #3102", "click #3102",
               "window class=TfrmPowerScan timeout=300", "wait 10 node #3201 \"Orvix Sample Notes\"",
               "click #3202", "wait 5 enabled #3203", "click #3203",
               // The question, answered Yes; then the closing message, answered with Enter.
               "window class=#32770 timeout=30", "click #6", "gone",
               "window class=#32770 timeout=300", "controls", "key ENTER", "gone", kMain,
               std::string("wait 60 norow #1001 ") + Quoted(kNotes.displayName)});
  EXPECT_EQ(ran.exitCode, 0) << ran.output;

  EXPECT_FALSE(Prefix().RegKeyExists(kNotes.uninstallKey, kNotes.view));
  EXPECT_FALSE(Exists(InstallFolder(kNotes)));
  EXPECT_FALSE(Exists(kNotesDesktopShortcut));
  const std::string logs = UninstallLogs(Prefix());
  EXPECT_NE(logs.find(std::string("[") + kNotes.displayName + "]"), std::string::npos) << logs;
  EXPECT_NE(logs.find(kNotesDesktopShortcut), std::string::npos) << logs;

  Drive({kMain, "close", "gone"});
}

}  // namespace
}  // namespace orvix::e2e
