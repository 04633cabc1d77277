// What the sample installers of tests/samples install, as the end-to-end
// tests look for it, and the one step that installs them all.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <span>
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
  // An NSIS sample's uninstaller in installFolder and the arguments its
  // UninstallString gives it; whether its entry records InstallLocation.
  const char* uninstaller = "uninstall.exe";
  const char* uninstallArguments = "";
  bool recordsInstallLocation = true;
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
inline constexpr SampleProduct kJournal = {
    "Orvix Sample Journal",
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvix Sample Journal",
    RegView::k64,
    "5.2.0",
    "%LOCALAPPDATA%\\Programs\\Orvix Sample Journal",
    "OrvixJournal.exe",
    "OrvixSampleJournalSetup.exe",
    "Uninstall Orvix Sample Journal.exe",
    "/currentuser",
    false};
inline constexpr SampleProduct kMixer = {
    "Orvix Sample Mixer",
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixSampleMixer",
    RegView::k32,
    "1.7.3",
    "C:\\Program Files (x86)\\Orvix Sample Mixer",
    "OrvixMixer.exe",
    "OrvixSampleMixerSetup.exe",
    "uninst.exe",
    "/allusers",
    false};
inline constexpr const SampleProduct* kAllSamples[] = {&kNotes, &kClock, &kSketch, &kViewer, &kJournal, &kMixer};
// The samples the suites of orvix's commands install: the later ones cost
// every such suite two installs and add nothing those suites look at.
inline constexpr const SampleProduct* kCommandSamples[] = {&kNotes, &kClock, &kSketch, &kViewer};
using SampleSet = std::span<const SampleProduct* const>;

// The Windows Installer product and its codes in the packed form the
// installer's own keys are named by.
inline constexpr char kViewerProductCode[] = "{3B0E7C52-91A4-4D6F-8E27-5C1A9F04B6D3}";
inline constexpr char kViewerPackedCode[] = "25C7E0B34A19F6D4E872C5A1F9406B3D";
inline constexpr char kViewerPackedUpgradeCode[] = "60E14D7A59C283B41B0FE6382D7C5A49";

// The Notes sample's COM server.
inline constexpr char kNotesClsid[] = "{6F1C2A9E-4B7D-4E21-9C3A-0D5E8B7A4F10}";
inline constexpr char kNotesProgId[] = "OrvixSamples.NotesShell.1";
inline constexpr char kNotesIndependentProgId[] = "OrvixSamples.NotesShell";

// The Journal sample's registrations for the user: its file type and its
// "Open with" entries in HKCU\Software\Classes, its capabilities (below
// HKCU, named in HKCU\Software\RegisteredApplications) and its taskbar pin.
inline constexpr char kJournalExtension[] = ".orvjournal";
inline constexpr char kJournalProgId[] = "OrvixSamples.JournalEntry";
inline constexpr char kJournalCapabilities[] = "Software\\Orvix Samples\\Sample Journal\\Capabilities";
inline constexpr char kJournalPin[] =
    "%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\Orvix Sample Journal.lnk";

// The Mixer sample's vendor key, below HKLM in the 32-bit view.
inline constexpr char kMixerVendorKey[] = "Software\\Orvix Samples\\Sample Mixer";

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

// Installs the samples silently, the NSIS ones with /S and the package with
// msiexec /qn, then imports the tricky Uninstall entries. Answers what went
// wrong, one line per step; empty when all went well.
std::vector<std::string> InstallSamples(const WinePrefix& prefix, SampleSet samples);

// Removes a sample as a user's uninstall would: runs its UninstallString
// silently (NSIS, with /S) or msiexec /x (the package), and waits
// for everything it started: an NSIS uninstaller hands its work to a copy of
// itself in %TEMP% and ends at once. Answers what went wrong.
std::vector<std::string> UninstallSample(const WinePrefix& prefix, const SampleProduct& sample);

}  // namespace orvix::e2e
