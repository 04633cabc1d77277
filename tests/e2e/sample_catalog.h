// What the sample installers of tests/samples install, as the end-to-end
// tests look for it, and the one step that installs them all.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/wine_prefix.h"

namespace orvix::e2e {

// Paths, keys and log lines compared without regard to letter case.
inline std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

struct SampleProduct {
  const char* displayName;
  const char* uninstallKey;  // as reg.exe takes it
  RegView view;              // the view that holds the Uninstall key
  const char* version;
  const char* installFolder;  // a Windows path, possibly with %VARIABLES%
  const char* mainProgram;    // the program's file inside installFolder
  const char* installer;      // the installer's file in out/win32/samples
};

inline constexpr SampleProduct kNotes = {
    "Orvix Sample Notes",
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixSampleNotes",
    RegView::k32,
    "1.4.2",
    "C:\\Program Files (x86)\\Orvix Samples\\Sample Notes",
    "OrvixNotes.exe",
    "OrvixSampleNotesSetup.exe"};
inline constexpr SampleProduct kClock = {
    "Orvix Sample Clock",
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixSampleClock",
    RegView::k64,
    "2.0.1",
    "C:\\Program Files\\Orvix Samples\\Sample Clock",
    "OrvixClock.exe",
    "OrvixSampleClockSetup.exe"};
inline constexpr SampleProduct kSketch = {
    "Orvix Sample Sketch",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixSampleSketch",
    RegView::k64,
    "0.9",
    "%LOCALAPPDATA%\\Programs\\Orvix Samples\\Sample Sketch",
    "OrvixSketch.exe",
    "OrvixSampleSketchSetup.exe"};
inline constexpr SampleProduct kViewer = {
    "Orvix Sample Viewer",
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}",
    RegView::k32,
    "3.1.0",
    "C:\\Program Files (x86)\\Orvix Samples\\Sample Viewer",
    "OrvixViewer.exe",
    "OrvixSampleViewer.msi"};
inline constexpr const SampleProduct* kAllSamples[] = {&kNotes, &kClock, &kSketch, &kViewer};

// The Windows Installer product and its codes in the packed form the
// installer's own keys are named by.
inline constexpr char kViewerProductCode[] = "{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}";
inline constexpr char kViewerPackedCode[] = "25C7E0B34A19F6D4E872C5A1F9406B3D";
inline constexpr char kViewerPackedUpgradeCode[] = "60E14D7A59C283B41B0FE6382D7C5A49";

// The Notes sample's COM server.
inline constexpr char kNotesClsid[] = "{6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}";
inline constexpr char kNotesProgId[] = "OrvixSamples.NotesShell.1";
inline constexpr char kNotesIndependentProgId[] = "OrvixSamples.NotesShell";

// What `orvix scan NAME` finds of a sample once its own uninstaller has
// run, each item with everything below it. Registry items read
// "VIEW ROOT\path" for a key, "VIEW ROOT\path | name" for one value, VIEW
// being 32, 64 or * (a key both views share); files are Windows paths,
// possibly with %VARIABLES%. What a sample leaves that nothing ties to it
// (tests/samples/README.md) is not here: no scan can find it.
struct ScanLeftovers {
  std::vector<std::string> registry;
  std::vector<std::string> files;
};
ScanLeftovers ExpectedScanLeftovers(const SampleProduct& sample);

std::filesystem::path SampleInstaller(const SampleProduct& sample);
std::filesystem::path TrickyEntriesFile();

// Installs every sample silently, the NSIS ones with /S and the package with
// msiexec /qn, then imports the tricky Uninstall entries. Answers what went
// wrong, one line per step; empty when all went well.
std::vector<std::string> InstallAllSamples(const WinePrefix& prefix);

// Removes a sample as a user's uninstall would: runs the program of its
// UninstallString silently (NSIS, /S) or msiexec /x (the package), and waits
// for everything it started: an NSIS uninstaller hands its work to a copy of
// itself in %TEMP% and ends at once. Answers what went wrong.
std::vector<std::string> UninstallSample(const WinePrefix& prefix, const SampleProduct& sample);

}  // namespace orvix::e2e
