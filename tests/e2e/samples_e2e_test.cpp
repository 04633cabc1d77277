// The sample installers for real, in fresh Wine prefixes: each installs
// silently into its folder and registry view, the tricky Uninstall entries
// land where the inventory will look for them, and the samples' own
// uninstallers (and msiexec) remove them, leaving behind exactly what
// tests/samples/README.md promises the leftover scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "e2e/installed_samples_test.h"
#include "e2e/sample_catalog.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

namespace fs = std::filesystem;

constexpr char kMachineSoftware[] = "HKLM\\Software\\";
constexpr char kUserSoftware[] = "HKCU\\Software\\";
constexpr char kUninstallKeys[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kUserUninstallKeys[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kRunKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kNotesAppPathsKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OrvixNotes.exe";
constexpr char kInstallerUserData[] =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\";
constexpr char kCommonStartMenu[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\";
constexpr char kUserStartMenu[] = "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\";
constexpr char kNotesDesktopShortcut[] = "C:\\users\\Public\\Desktop\\Orvix Sample Notes.lnk";
constexpr char kNotesUserData[] = "%APPDATA%\\Orvix Samples\\Sample Notes\\notes.ini";

RegView Other(RegView view) { return view == RegView::k32 ? RegView::k64 : RegView::k32; }

std::string Text(const std::optional<std::string>& data) { return data.value_or("(missing)"); }

// A REG_DWORD as reg.exe shows it ("0x1a"); -1 when it is missing.
long long DwordOf(const std::optional<std::string>& data) {
  return data && data->rfind("0x", 0) == 0 ? std::stoll(data->substr(2), nullptr, 16) : -1;
}

std::string NotesClsidKey() { return std::string("HKLM\\Software\\Classes\\CLSID\\") + kNotesClsid; }
std::string NotesVendorKey() { return std::string(kMachineSoftware) + "Orvix Samples\\Sample Notes"; }
std::string NotesUserKey() { return std::string(kUserSoftware) + "Orvix Samples\\Sample Notes"; }
std::string ClockVendorKey() { return std::string(kMachineSoftware) + "Orvix Samples\\Sample Clock"; }
std::string UserClass(const std::string& name) { return "HKCU\\Software\\Classes\\" + name; }
std::string JournalApplicationKey() { return UserClass("Applications\\") + kJournal.mainProgram; }
std::string JournalCapabilitiesKey() { return std::string("HKCU\\") + kJournalCapabilities; }
std::string MixerVendorKey() { return std::string("HKLM\\") + kMixerVendorKey; }

// ---------------------------------------------------------------------------
// Everything installed, nothing removed.

class SamplesInstalledTest : public SharedSamplesPrefixTest<SamplesInstalledTest, kAllSamples> {};

TEST_F(SamplesInstalledTest, EachProductHasItsUninstallEntryInItsViewAndItsFiles) {
  for (const SampleProduct* sample : kAllSamples) {
    SCOPED_TRACE(sample->displayName);
    const std::string key = sample->uninstallKey;
    EXPECT_EQ(Text(Prefix().RegQuery(key, "DisplayName", sample->view)), sample->displayName);
    EXPECT_EQ(Text(Prefix().RegQuery(key, "Publisher", sample->view)), "Orvix Samples");
    EXPECT_EQ(Text(Prefix().RegQuery(key, "DisplayVersion", sample->view)), sample->version);
    // HKEY_CURRENT_USER\Software is one key in both views; the machine's is not.
    EXPECT_EQ(Prefix().RegKeyExists(key, Other(sample->view)), key.rfind("HKCU\\", 0) == 0);

    EXPECT_TRUE(Exists(MainProgram(*sample))) << MainProgram(*sample);
    std::string location = Text(Prefix().RegQuery(key, "InstallLocation", sample->view));
    if (location.ends_with('\\')) location.pop_back();  // Windows Installer writes one
    EXPECT_EQ(location, sample->recordsInstallLocation ? InstallFolder(*sample) : "(missing)");
  }
}

TEST_F(SamplesInstalledTest, NsisEntriesCarryIconSizeLinksAndTheirUninstaller) {
  for (const SampleProduct* sample : {&kNotes, &kClock, &kSketch, &kJournal, &kMixer}) {
    SCOPED_TRACE(sample->displayName);
    const std::string uninstaller = InstallFolder(*sample) + "\\" + sample->uninstaller;
    const std::string arguments = sample->uninstallArguments;
    auto value = [&](const char* name) { return Prefix().RegQuery(sample->uninstallKey, name, sample->view); };
    EXPECT_EQ(Text(value("DisplayIcon")), MainProgram(*sample) + ",0");
    EXPECT_EQ(Text(value("UninstallString")), "\"" + uninstaller + "\"" + (arguments.empty() ? "" : " " + arguments));
    EXPECT_TRUE(Exists(uninstaller));
    EXPECT_EQ(Text(value("URLInfoAbout")).rfind("https://orvix-samples.example/", 0), 0u)
        << Text(value("URLInfoAbout"));
    EXPECT_GT(DwordOf(value("EstimatedSize")), 0);  // KB of the install folder
  }
}

TEST_F(SamplesInstalledTest, NotesRegistersItsProgramWithWindows) {
  const std::string program = MainProgram(kNotes);
  const std::string shell = InstallFolder(kNotes) + "\\OrvixNotesShell.dll";
  EXPECT_EQ(Text(Prefix().RegQuery(kRunKey, "OrvixSampleNotes", RegView::k32)), "\"" + program + "\" /tray");
  EXPECT_EQ(Prefix().RegQuery(kRunKey, "OrvixSampleNotes", RegView::k64), std::nullopt);
  EXPECT_EQ(Text(Prefix().RegQuery(kNotesAppPathsKey, "", RegView::k32)), program);
  EXPECT_EQ(Text(Prefix().RegQuery(NotesVendorKey(), "InstallDir", RegView::k32)), InstallFolder(kNotes));

  // regsvr32 ran the 32-bit server: its CLSID is in the 32-bit view only,
  // its ProgIDs in the classes both views share.
  EXPECT_EQ(Text(Prefix().RegQuery(NotesClsidKey() + "\\InprocServer32", "", RegView::k32)), shell);
  EXPECT_FALSE(Prefix().RegKeyExists(NotesClsidKey(), RegView::k64));
  for (RegView view : {RegView::k32, RegView::k64}) {
    EXPECT_EQ(Text(Prefix().RegQuery(std::string("HKCR\\") + kNotesProgId + "\\CLSID", "", view)), kNotesClsid);
    EXPECT_EQ(Text(Prefix().RegQuery(std::string("HKCR\\") + kNotesIndependentProgId + "\\CurVer", "", view)),
              kNotesProgId);
  }

  EXPECT_EQ(DwordOf(Prefix().RegQuery(NotesUserKey(), "StartCount", RegView::k64)), 1);
  for (const std::string& path : {std::string(kNotesUserData), std::string(kNotesDesktopShortcut),
                                  std::string(kCommonStartMenu) + "Orvix Sample Notes\\Orvix Sample Notes.lnk"})
    EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(SamplesInstalledTest, ClockKeepsItsKeysInThe64BitView) {
  EXPECT_EQ(Text(Prefix().RegQuery(ClockVendorKey(), "InstallDir", RegView::k64)), InstallFolder(kClock));
  EXPECT_FALSE(Prefix().RegKeyExists(ClockVendorKey(), RegView::k32));
  EXPECT_TRUE(Exists(InstallFolder(kClock) + "\\clock.log"));
  EXPECT_TRUE(Exists(std::string(kCommonStartMenu) + "Orvix Sample Clock\\Orvix Sample Clock.lnk"));
}

TEST_F(SamplesInstalledTest, SketchStaysWithTheUser) {
  EXPECT_EQ(
      Text(Prefix().RegQuery(std::string(kUserSoftware) + "Orvix Samples\\Sample Sketch", "InstallDir", RegView::k64)),
      InstallFolder(kSketch));
  EXPECT_TRUE(Exists(std::string(kUserStartMenu) + "Orvix Sample Sketch.lnk"));
}

TEST_F(SamplesInstalledTest, JournalRegistersItsFileTypeOpenWithAndCapabilitiesForTheUser) {
  const std::string program = MainProgram(kJournal);
  const std::string openCommand = "\"" + program + "\" \"%1\"";
  auto query = [&](const std::string& key, const std::string& value) { return Prefix().RegQuery(key, value, RegView::k64); };
  EXPECT_EQ(Text(query(UserClass(kJournalExtension), "")), kJournalProgId);
  EXPECT_EQ(Text(query(UserClass(kJournalExtension) + "\\OpenWithProgids", kJournalProgId)), "");
  EXPECT_EQ(Text(query(UserClass(kJournalProgId) + "\\DefaultIcon", "")), program + ",0");
  EXPECT_EQ(Text(query(UserClass(kJournalProgId) + "\\shell\\open\\command", "")), openCommand);
  EXPECT_EQ(Text(query(JournalApplicationKey() + "\\shell\\open\\command", "")), openCommand);
  EXPECT_EQ(Text(query(JournalApplicationKey() + "\\SupportedTypes", kJournalExtension)), "");
  EXPECT_EQ(Text(query(UserClass(".txt\\OpenWithList"), kJournal.mainProgram)), "");
  EXPECT_EQ(Text(query(JournalCapabilitiesKey(), "ApplicationIcon")), program + ",0");
  EXPECT_EQ(Text(query("HKCU\\Software\\RegisteredApplications", kJournal.displayName)), kJournalCapabilities);
  EXPECT_EQ(Text(query(kJournal.uninstallKey, "QuietUninstallString")),
            "\"" + InstallFolder(kJournal) + "\\" + kJournal.uninstaller + "\" /currentuser /S");
  for (const std::string& path : {std::string(kUserStartMenu) + "Orvix Sample Journal\\Orvix Sample Journal.lnk",
                                  std::string(kUserStartMenu) + "Orvix Sample Journal\\Uninstall Orvix Sample Journal.lnk",
                                  std::string(kJournalPin)})
    EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(SamplesInstalledTest, MixerKeepsNestedFoldersAnIniFileAndItsVendorKey) {
  const std::string folder = InstallFolder(kMixer);
  for (const char* file : {"plugins\\echo.orvplug", "plugins\\reverb.orvplug", "data\\devices.list",
                           "data\\presets\\default.preset", "data\\presets\\studio.preset", "mixer.ini"})
    EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
  std::ifstream ini(Prefix().HostPath(folder + "\\mixer.ini"));
  const std::string settings((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(settings.find("Plugins=" + folder + "\\plugins"), std::string::npos) << settings;

  EXPECT_EQ(Text(Prefix().RegQuery(MixerVendorKey(), "Install_Dir", RegView::k32)), folder);
  EXPECT_FALSE(Prefix().RegKeyExists(MixerVendorKey(), RegView::k64));
  EXPECT_EQ(Prefix().RegQuery(kMixer.uninstallKey, "QuietUninstallString", kMixer.view), std::nullopt);
  for (const char* link : {"Orvix Sample Mixer.lnk", "Uninstall.lnk"})
    EXPECT_TRUE(Exists(std::string(kCommonStartMenu) + "Orvix Sample Mixer\\" + link)) << link;
}

TEST_F(SamplesInstalledTest, ViewerIsAWindowsInstallerProduct) {
  auto value = [&](const char* name) { return Prefix().RegQuery(kViewer.uninstallKey, name, kViewer.view); };
  EXPECT_EQ(Text(value("UninstallString")), std::string("MsiExec.exe /I") + kViewerProductCode);
  EXPECT_EQ(DwordOf(value("WindowsInstaller")), 1);
  EXPECT_NE(Text(value("Comments")), "");  // the leftover scan looks for the installer data only then
  EXPECT_EQ(Text(value("InstallDate")).size(), 8u) << Text(value("InstallDate"));

  // The installer's own data: UserData only in the 64-bit view, the
  // published product in the classes both views share.
  const std::string userDataProduct = std::string(kInstallerUserData) + "Products\\" + kViewerPackedCode;
  EXPECT_EQ(Text(Prefix().RegQuery(userDataProduct + "\\InstallProperties", "DisplayName", RegView::k64)),
            kViewer.displayName);
  EXPECT_FALSE(Prefix().RegKeyExists(userDataProduct, RegView::k32));
  for (RegView view : {RegView::k32, RegView::k64}) {
    EXPECT_EQ(Text(Prefix().RegQuery(std::string("HKLM\\Software\\Classes\\Installer\\Products\\") + kViewerPackedCode,
                                     "ProductName", view)),
              kViewer.displayName);
  }
  EXPECT_EQ(Text(Prefix().RegQuery(
                std::string("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\") +
                    kViewerPackedUpgradeCode,
                kViewerPackedCode, RegView::k64)),
            "");

  EXPECT_EQ(Text(Prefix().RegQuery(std::string(kMachineSoftware) + "Orvix Samples\\Sample Viewer", "InstallDir",
                                   RegView::k32)),
            InstallFolder(kViewer) + "\\");
  EXPECT_EQ(DwordOf(Prefix().RegQuery(std::string(kUserSoftware) + "Orvix Samples\\Sample Viewer", "StartMenuShortcut",
                                      RegView::k64)),
            1);
  // Wine's msi puts the shortcut in the user's Start menu even for a
  // per-machine package.
  EXPECT_TRUE(Exists(std::string(kUserStartMenu) + "Orvix Sample Viewer\\Orvix Sample Viewer.lnk"));
}

TEST_F(SamplesInstalledTest, TrickyEntriesLandInTheirViews) {
  struct Entry {
    const char* key;  // below the Uninstall key of HKLM, or of HKCU when it starts with "HKCU:"
    RegView view;
    const char* displayName;
  };
  const Entry entries[] = {
      {"OrvixFixtureTwin", RegView::k32, "Orvix Fixture Twin"},
      {"OrvixFixtureTwin", RegView::k64, "orvix fixture twin"},
      {"OrvixFixtureComponentTwin", RegView::k32, "Orvix Fixture Component Twin"},
      {"OrvixFixtureComponentTwin", RegView::k64, "Orvix Fixture Component Twin"},
      {"{0D8F3E21-6A4B-4C97-B5E2-3F1A9C7D8E60}", RegView::k32, "Orvix Fixture Runtime Component"},
      {"{4A5B6C7D-8E9F-4A0B-9C1D-2E3F4A5B6C7D}", RegView::k32, "Orvix Fixture Installer Package"},
      {"{1E2D3C4B-5A69-4788-9766-A5B4C3D2E1F0}", RegView::k32, "Orvix Fixture Code Only"},
      {"{2F3E4D5C-6B7A-4899-A877-B6C5D4E3F201}", RegView::k32, "Orvix Fixture Hidden Code Only"},
      {"KB2479943", RegView::k64, "Security Update for Windows (KB2479943)"},
      {"OrvixFixtureFrameworkSP1", RegView::k32, "Orvix Fixture Framework Service Pack 1"},
      {"OrvixFixtureToolsSP2", RegView::k32, "Orvix Fixture Tools Service Pack 2"},
      {"OrvixFixtureToolbar", RegView::k32, "Orvix Fixture Toolbar"},
      {"OrvixFixtureToolDashBar", RegView::k32, "Orvix Fixture Search Tool-bar"},
      {"HKCU:OrvixFixtureToolSpaceBar", RegView::k64, "Orvix Fixture Shopping Tool Bar"},
      {"OrvixFixtureToolbox", RegView::k32, "Orvix Fixture Toolbox"},
      {"OrvixFixtureLegacyControl", RegView::k32, "Orvix Fixture Legacy Control"},
      {"OrvixFixtureCapitalControl", RegView::k32, "Orvix Fixture Capital Control"},
      {"OrvixFixtureOtherControl", RegView::k32, "Orvix Fixture Other Control"},
      {"OrvixFixtureSuite", RegView::k32, "Orvix Fixture Suite"},
      {"OrvixFixtureSlashedDate", RegView::k32, "Orvix Fixture Slashed Date"},
      {"OrvixFixtureSuite\\Components\\Editor", RegView::k32, "Orvix Fixture Suite Editor"},
      {"OrvixFixtureSuite\\Components\\Core", RegView::k32, "Orvix Fixture Suite"},
      {"OrvixFixtureSharedName", RegView::k32, "Orvix Fixture Shared Name"},
      {"HKCU:OrvixFixtureSharedName", RegView::k64, "Orvix Fixture Shared Name"},
      {"OrvixFixtureNoUninstallString", RegView::k32, "Orvix Fixture No Uninstall String"},
      {"OrvixFixturePadded", RegView::k32, "   Orvix Fixture Padded   "},
  };
  auto fullKey = [](const std::string& key) {
    return key.rfind("HKCU:", 0) == 0 ? kUserUninstallKeys + key.substr(5) : kUninstallKeys + key;
  };
  auto listed = [&](const std::string& key, RegView view) {
    return std::any_of(std::begin(entries), std::end(entries),
                       [&](const Entry& entry) { return entry.key == key && entry.view == view; });
  };
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.key);
    EXPECT_EQ(Text(Prefix().RegQuery(fullKey(entry.key), "DisplayName", entry.view)), entry.displayName);
    if (fullKey(entry.key).rfind("HKLM\\", 0) == 0 && !listed(entry.key, Other(entry.view))) {
      EXPECT_FALSE(Prefix().RegKeyExists(fullKey(entry.key), Other(entry.view)));
    }
  }
  EXPECT_EQ(Text(Prefix().RegQuery(fullKey("OrvixFixtureSlashedDate"), "InstallDate", RegView::k32)), "01/15/2024");
  EXPECT_EQ(DwordOf(Prefix().RegQuery(fullKey("OrvixFixtureTwin"), "EstimatedSize", RegView::k64)), 2048);
  EXPECT_EQ(Text(Prefix().RegQuery(fullKey("OrvixFixtureNoName"), "DisplayName", RegView::k32)), "(missing)");
  EXPECT_TRUE(Prefix().RegKeyExists(fullKey("OrvixFixtureNoName"), RegView::k32));
}

// ---------------------------------------------------------------------------
// Each test removes one product; the products share nothing their
// uninstallers touch, so the order of the tests does not matter.

class SampleUninstallTest : public SharedSamplesPrefixTest<SampleUninstallTest, kAllSamples> {
 protected:
  // Runs the sample's own uninstaller, which removes its Uninstall key.
  void RunNsisUninstaller(const SampleProduct& sample) {
    ASSERT_TRUE(Prefix().RegKeyExists(sample.uninstallKey, sample.view));
    for (const std::string& problem : UninstallSample(Prefix(), sample)) FAIL() << problem;
    EXPECT_FALSE(Prefix().RegKeyExists(sample.uninstallKey, sample.view));
  }
};

TEST_F(SampleUninstallTest, NotesUninstallerLeavesUserDataAndRegistrationsBehind) {
  const std::string folder = InstallFolder(kNotes);
  ASSERT_NO_FATAL_FAILURE(RunNsisUninstaller(kNotes));

  // What it removes.
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(std::string(kCommonStartMenu) + "Orvix Sample Notes"));
  EXPECT_FALSE(Prefix().RegKeyExists(kNotesAppPathsKey, RegView::k32));
  EXPECT_FALSE(Prefix().RegKeyExists(NotesVendorKey(), RegView::k32));

  // What it leaves behind.
  EXPECT_TRUE(Exists(kNotesUserData));
  EXPECT_EQ(DwordOf(Prefix().RegQuery(NotesUserKey(), "StartCount", RegView::k64)), 1);
  EXPECT_EQ(Text(Prefix().RegQuery(kRunKey, "OrvixSampleNotes", RegView::k32)),
            "\"" + MainProgram(kNotes) + "\" /tray");
  EXPECT_TRUE(Exists(kNotesDesktopShortcut));
  EXPECT_EQ(Text(Prefix().RegQuery(NotesClsidKey() + "\\InprocServer32", "", RegView::k32)),
            folder + "\\OrvixNotesShell.dll");
  EXPECT_TRUE(Prefix().RegKeyExists(std::string("HKCR\\") + kNotesProgId, RegView::k32));
  EXPECT_TRUE(Prefix().RegKeyExists(std::string("HKCR\\") + kNotesIndependentProgId, RegView::k32));

  // And the folder of the copy of itself that did the work: the copy asked
  // to be deleted at the next start of Windows, which in Wine is the next
  // wineserver session (its Un.exe goes then, the folder stays).
  bool copyFolderLeft = false;
  for (const fs::directory_entry& entry : fs::directory_iterator(Prefix().HostPath(Expanded("%TEMP%"))))
    copyFolderLeft = copyFolderLeft || (entry.is_directory() && entry.path().filename().string().starts_with("~nsu"));
  EXPECT_TRUE(copyFolderLeft);
}

TEST_F(SampleUninstallTest, ClockUninstallerLeavesItsFolderAndVendorKeyBehind) {
  const std::string folder = InstallFolder(kClock);
  ASSERT_NO_FATAL_FAILURE(RunNsisUninstaller(kClock));

  EXPECT_FALSE(Exists(MainProgram(kClock)));
  EXPECT_FALSE(Exists(folder + "\\uninstall.exe"));
  EXPECT_FALSE(Exists(std::string(kCommonStartMenu) + "Orvix Sample Clock"));

  EXPECT_TRUE(Exists(folder + "\\clock.log"));
  EXPECT_EQ(Text(Prefix().RegQuery(ClockVendorKey(), "InstallDir", RegView::k64)), folder);
}

TEST_F(SampleUninstallTest, SketchUninstallerRemovesEverything) {
  const std::string folder = InstallFolder(kSketch);
  ASSERT_NO_FATAL_FAILURE(RunNsisUninstaller(kSketch));

  EXPECT_FALSE(Prefix().RegKeyExists(std::string(kUserSoftware) + "Orvix Samples\\Sample Sketch", RegView::k64));
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(std::string(kUserStartMenu) + "Orvix Sample Sketch.lnk"));

  const RunResult listed = Prefix().Run((Win32Output() / "orvix.exe").string(), {"list", "--json", "--no-analysis"});
  ASSERT_EQ(listed.exitCode, 0) << listed.output;
  EXPECT_EQ(listed.output.find("Orvix Sample Sketch"), std::string::npos) << "orvix list no longer shows it";
  EXPECT_NE(listed.output.find("Orvix Sample Viewer"), std::string::npos) << listed.output;
}

TEST_F(SampleUninstallTest, JournalUninstallerLeavesItsOpenWithEntriesCapabilitiesAndPinBehind) {
  const std::string folder = InstallFolder(kJournal);
  ASSERT_NO_FATAL_FAILURE(RunNsisUninstaller(kJournal));

  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(Exists(std::string(kUserStartMenu) + "Orvix Sample Journal"));
  EXPECT_FALSE(Prefix().RegKeyExists(UserClass(kJournalExtension), RegView::k64));
  EXPECT_FALSE(Prefix().RegKeyExists(UserClass(kJournalProgId), RegView::k64));

  EXPECT_TRUE(Prefix().RegKeyExists(JournalApplicationKey(), RegView::k64));
  EXPECT_EQ(Text(Prefix().RegQuery(UserClass(".txt\\OpenWithList"), kJournal.mainProgram, RegView::k64)), "");
  EXPECT_EQ(Text(Prefix().RegQuery("HKCU\\Software\\RegisteredApplications", kJournal.displayName, RegView::k64)),
            kJournalCapabilities);
  EXPECT_EQ(Text(Prefix().RegQuery(JournalCapabilitiesKey(), "ApplicationIcon", RegView::k64)),
            MainProgram(kJournal) + ",0");
  EXPECT_TRUE(Exists(kJournalPin));
}

TEST_F(SampleUninstallTest, MixerUninstallerLeavesItsDataIniFileAndVendorKeyBehind) {
  const std::string folder = InstallFolder(kMixer);
  ASSERT_NO_FATAL_FAILURE(RunNsisUninstaller(kMixer));

  for (const std::string& path : {MainProgram(kMixer), folder + "\\uninst.exe", folder + "\\plugins",
                                  std::string(kCommonStartMenu) + "Orvix Sample Mixer"})
    EXPECT_FALSE(Exists(path)) << path;

  EXPECT_TRUE(Exists(folder + "\\mixer.ini"));
  EXPECT_TRUE(Exists(folder + "\\data\\presets\\studio.preset"));
  EXPECT_EQ(Text(Prefix().RegQuery(MixerVendorKey(), "Install_Dir", RegView::k32)), folder);
}

TEST_F(SampleUninstallTest, MsiexecRemovesTheViewerWithItsInstallerData) {
  const std::string userDataProduct = std::string(kInstallerUserData) + "Products\\" + kViewerPackedCode;
  const std::string publishedProduct =
      std::string("HKLM\\Software\\Classes\\Installer\\Products\\") + kViewerPackedCode;
  ASSERT_TRUE(Prefix().RegKeyExists(kViewer.uninstallKey, kViewer.view));
  ASSERT_TRUE(Prefix().RegKeyExists(userDataProduct, RegView::k64));

  const RunResult removed = Prefix().Run("msiexec", {"/x", kViewerProductCode, "/qn"});
  EXPECT_EQ(removed.exitCode, 0) << removed.output;
  ASSERT_TRUE(Prefix().Wait());

  EXPECT_FALSE(Prefix().RegKeyExists(kViewer.uninstallKey, kViewer.view));
  EXPECT_FALSE(Prefix().RegKeyExists(userDataProduct, RegView::k64));
  EXPECT_FALSE(Prefix().RegKeyExists(publishedProduct, RegView::k64));
  EXPECT_FALSE(Prefix().RegKeyExists(
      std::string("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\") +
          kViewerPackedUpgradeCode,
      RegView::k64));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string(kMachineSoftware) + "Orvix Samples\\Sample Viewer", RegView::k32));
  EXPECT_FALSE(Prefix().RegKeyExists(std::string(kUserSoftware) + "Orvix Samples\\Sample Viewer", RegView::k64));
  EXPECT_FALSE(Exists(InstallFolder(kViewer)));
  EXPECT_FALSE(Exists(std::string(kUserStartMenu) + "Orvix Sample Viewer"));
  EXPECT_FALSE(Exists(std::string("C:\\windows\\Installer\\") + kViewerProductCode));
  // Wine's msi keeps the parent folder it created. Run in order, the Notes
  // uninstaller has already left it (the Viewer was still in it), so it is
  // empty now; with Notes still installed it is there all the same.
  EXPECT_TRUE(Exists("C:\\Program Files (x86)\\Orvix Samples"));
}

}  // namespace
}  // namespace orvix::e2e
