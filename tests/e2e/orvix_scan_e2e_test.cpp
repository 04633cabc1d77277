// orvix.exe scan --json over the samples, in a Wine prefix: after each
// sample's own uninstaller has run, the scan finds exactly what the sample
// is known to leave behind (sample_catalog.cpp) and nothing protected; while
// the Windows Installer sample is installed, it finds the installer's keys
// in the 64-bit view.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/installed_samples_test.h"
#include "e2e/sample_catalog.h"
#include "e2e/wine_prefix.h"

namespace orvix::e2e {
namespace {

namespace fs = std::filesystem;

// Lower case, without trailing backslashes: how paths and keys are compared.
std::string Compared(const std::string& text) {
  std::string lower = Lower(text);
  while (!lower.empty() && lower.back() == '\\') lower.pop_back();
  return lower;
}

bool AtOrBelow(const std::string& path, const std::string& folder) {
  const std::string p = Compared(path);
  const std::string f = Compared(folder);
  return p == f || p.rfind(f + "\\", 0) == 0;
}

// One expected registry item: "VIEW ROOT\path" or "VIEW ROOT\path | value".
struct RegistryItem {
  std::string view;  // "32", "64" or "*"
  std::string key;   // ROOT\path
  std::string value;
  bool isValue = false;

  static RegistryItem Parse(const std::string& text) {
    RegistryItem item;
    const size_t blank = text.find(' ');
    item.view = text.substr(0, blank);
    std::string rest = text.substr(blank + 1);
    const size_t bar = rest.find(" | ");
    if (bar != std::string::npos) {
      item.isValue = true;
      item.value = rest.substr(bar + 3);
      rest = rest.substr(0, bar);
    }
    item.key = rest;
    return item;
  }
  // Whether the finding is this item or lies below it.
  bool Covers(const nlohmann::json& finding, bool exactly) const {
    if (view != "*" && finding["view"] != view) return false;
    const std::string findingKey = finding["root"].get<std::string>() + "\\" + finding["key"].get<std::string>();
    const bool valueFinding = !finding["value"].is_null();
    if (isValue)
      return valueFinding && Compared(findingKey) == Compared(key) && Lower(finding["value"]) == Lower(value);
    if (exactly) return !valueFinding && Compared(findingKey) == Compared(key);
    return AtOrBelow(findingKey, key);
  }
};

std::string Describe(const nlohmann::json& finding) {
  return finding.contains("text") ? finding["view"].get<std::string>() + " " + finding["text"].get<std::string>()
                                  : finding["path"].get<std::string>();
}

// reg.exe's short roots in the Uninstall keys of the catalog.
std::string FullKeyName(const std::string& key) {
  if (key.rfind("HKLM\\", 0) == 0) return "HKEY_LOCAL_MACHINE\\" + key.substr(5);
  if (key.rfind("HKCU\\", 0) == 0) return "HKEY_CURRENT_USER\\" + key.substr(5);
  return key;
}

// A .reg file that puts the key's string and number values back, for an
// import in the 64-bit view (the 32-bit view's keys under Wow6432Node).
std::string RegFileText(const SampleProduct& sample, const std::vector<WinePrefix::RegValue>& values) {
  std::string key = FullKeyName(sample.uninstallKey);
  const std::string software = "\\Software\\";
  if (sample.view == RegView::k32 && key.rfind("HKEY_LOCAL_MACHINE", 0) == 0)
    key.insert(key.find(software) + software.size(), "Wow6432Node\\");
  std::string text = "Windows Registry Editor Version 5.00\n\n[" + key + "]\n";
  for (const WinePrefix::RegValue& value : values) {
    const std::string name = value.name.empty() ? "@" : "\"" + value.name + "\"";
    if (value.type == "REG_DWORD") {
      char number[16];
      std::snprintf(number, sizeof number, "%08lx", std::stoul(value.data, nullptr, 16));
      text += name + "=dword:" + number + "\n";
    } else if (value.type == "REG_SZ" || value.type == "REG_EXPAND_SZ") {
      std::string data;
      for (const char c : value.data) data += (c == '\\' || c == '"') ? std::string("\\") + c : std::string(1, c);
      text += name + "=\"" + data + "\"\n";
    }
  }
  return text;
}

class OrvixScanTest : public SharedSamplesPrefixTest<OrvixScanTest, kAllSamples> {
 protected:
  static nlohmann::json Scan(const SampleProduct& sample) {
    // Wine's own diagnostics go to standard error; the JSON is orvix's.
    const RunResult ran = Prefix().Run((Win32Output() / "orvix.exe").string(), {"scan", sample.displayName, "--json"},
                                       std::chrono::seconds(300), OutputStreams::kApart);
    EXPECT_EQ(ran.exitCode, 0) << ran.errors;
    nlohmann::json found = nlohmann::json::parse(ran.output, nullptr, false);
    EXPECT_TRUE(found.is_object() && found["registry"].is_array() && found["files"].is_array())
        << ran.output << ran.errors;
    if (!found.is_object()) return {{"program", ""}, {"registry", nlohmann::json::array()}, {"files", nlohmann::json::array()}};
    EXPECT_EQ(found["program"], sample.displayName);
    return found;
  }

  // Runs the sample's own uninstaller, then puts its Uninstall entry back as
  // it was: the review window scans with the entry it had before the
  // uninstall, and orvix scan finds a program only by its entry.
  static void UninstallKeepingTheEntry(const SampleProduct& sample) {
    const std::vector<WinePrefix::RegValue> values = Prefix().RegValues(sample.uninstallKey, sample.view);
    ASSERT_FALSE(values.empty()) << sample.uninstallKey;
    for (const std::string& problem : UninstallSample(Prefix(), sample)) FAIL() << problem;
    ASSERT_FALSE(Prefix().RegKeyExists(sample.uninstallKey, sample.view)) << "the uninstaller removes its entry";
    const fs::path saved = Prefix().Dir() / (std::string(sample.installer) + ".reg");
    std::ofstream(saved) << RegFileText(sample, values);
    const RunResult imported = Prefix().ImportReg(saved);
    ASSERT_EQ(imported.exitCode, 0) << imported.output;
    ASSERT_TRUE(Prefix().RegKeyExists(sample.uninstallKey, sample.view));
  }

  // Never a drive root, a system or special folder, anything in the Windows
  // folder, or a folder that holds the install folder.
  static void ExpectNothingProtected(const nlohmann::json& found, const SampleProduct& sample) {
    std::vector<std::string> untouchable = {"C:\\", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData",
                                            "C:\\users\\Public\\Desktop", Expanded("%USERPROFILE%"),
                                            Expanded("%APPDATA%"), Expanded("%LOCALAPPDATA%"), Expanded("%TEMP%"),
                                            "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs",
                                            Expanded("%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs")};
    const std::string install = InstallFolder(sample);
    for (size_t slash = install.find('\\'); slash != std::string::npos; slash = install.find('\\', slash + 1))
      untouchable.push_back(install.substr(0, slash));
    for (const auto& file : found["files"]) {
      const std::string path = file["path"];
      EXPECT_FALSE(AtOrBelow(path, "C:\\windows")) << path;
      for (const std::string& folder : untouchable) EXPECT_NE(Compared(path), Compared(folder)) << path;
    }
  }

  // Every finding belongs to an expected item, and every item was found.
  static void ExpectExactly(const nlohmann::json& found, const SampleProduct& sample) {
    ScanLeftovers expected = ExpectedScanLeftovers(sample);
    // The entry the test put back.
    // HKCU is one key in both views.
    const bool userKey = std::string(sample.uninstallKey).rfind("HKCU\\", 0) == 0;
    expected.registry.push_back(std::string(userKey ? "* " : sample.view == RegView::k64 ? "64 " : "32 ") +
                                FullKeyName(sample.uninstallKey));
    std::vector<RegistryItem> items;
    for (const std::string& text : expected.registry) items.push_back(RegistryItem::Parse(text));
    std::vector<std::string> files;
    for (const std::string& path : expected.files) files.push_back(Expanded(path));

    for (const auto& finding : found["registry"]) {
      EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const RegistryItem& i) { return i.Covers(finding, false); }))
          << "not a known leftover: " << Describe(finding);
    }
    for (const RegistryItem& item : items) {
      EXPECT_TRUE(std::any_of(found["registry"].begin(), found["registry"].end(),
                              [&](const nlohmann::json& f) { return item.Covers(f, true); }))
          << "not found: " << item.view << " " << item.key << (item.isValue ? " | " + item.value : "");
    }
    for (const auto& finding : found["files"]) {
      EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const std::string& f) { return AtOrBelow(finding["path"], f); }))
          << "not a known leftover: " << Describe(finding);
    }
    for (const std::string& path : files) {
      EXPECT_TRUE(std::any_of(found["files"].begin(), found["files"].end(),
                              [&](const nlohmann::json& f) { return Compared(f["path"]) == Compared(path); }))
          << "not found: " << path;
    }
    ExpectNothingProtected(found, sample);
  }

  static void ExpectLeftoversAfterUninstall(const SampleProduct& sample) {
    ASSERT_NO_FATAL_FAILURE(UninstallKeepingTheEntry(sample));
    ExpectExactly(Scan(sample), sample);
  }
};

TEST_F(OrvixScanTest, NotesLeavesItsComServerRunValueAndDesktopShortcut) {
  ExpectLeftoversAfterUninstall(kNotes);
}

TEST_F(OrvixScanTest, ClockLeavesItsFolderAndVendorValue) { ExpectLeftoversAfterUninstall(kClock); }

TEST_F(OrvixScanTest, SketchLeavesNothingTheScanCanTell) { ExpectLeftoversAfterUninstall(kSketch); }

TEST_F(OrvixScanTest, MixerLeavesItsFolderWithDataAndIniAndItsVendorKey) { ExpectLeftoversAfterUninstall(kMixer); }

// Its entry records no InstallLocation and its uninstaller removed the
// folder: the scan goes by the folder the uninstall command names all the same.
TEST_F(OrvixScanTest, JournalLeavesItsOpenWithEntriesCapabilitiesAndPin) {
  ExpectLeftoversAfterUninstall(kJournal);
}

TEST_F(OrvixScanTest, ViewerInstallerKeysWhileInstalledAndNothingAfterMsiexec) {
  const nlohmann::json installed = Scan(kViewer);
  const std::string machineInstaller = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\";
  for (const std::string& key :
       {machineInstaller + "UserData\\S-1-5-18\\Products\\" + kViewerPackedCode,
        machineInstaller + "UpgradeCodes\\" + kViewerPackedUpgradeCode,
        std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Installer\\Products\\") + kViewerPackedCode,
        std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Installer\\Features\\") + kViewerPackedCode}) {
    const RegistryItem item = RegistryItem::Parse("64 " + key);
    EXPECT_TRUE(std::any_of(installed["registry"].begin(), installed["registry"].end(),
                            [&](const nlohmann::json& f) { return item.Covers(f, true); }))
        << "not found in the 64-bit view: " << key;
  }
  const std::string program = MainProgram(kViewer);
  EXPECT_TRUE(std::any_of(installed["files"].begin(), installed["files"].end(),
                          [&](const nlohmann::json& f) { return Compared(f["path"]) == Compared(program); }))
      << program;
  ExpectNothingProtected(installed, kViewer);

  ExpectLeftoversAfterUninstall(kViewer);
}

}  // namespace
}  // namespace orvix::e2e
