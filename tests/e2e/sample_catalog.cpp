#include "e2e/sample_catalog.h"

#include <sstream>

namespace orvix::e2e {

namespace fs = std::filesystem;

ScanLeftovers ExpectedScanLeftovers(const SampleProduct& sample) {
  const std::string clsid = kNotesClsid;
  if (&sample == &kNotes) {
    // The COM registration (the CLSID, 32-bit view, names the removed DLL;
    // its ProgIDs follow from it), the Run value and the desktop shortcut,
    // both naming the removed program. Its data folder and HKCU key are named
    // "Sample Notes", not after the program, and no value in them names the
    // install folder.
    return {{"32 HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + clsid, "32 HKEY_CLASSES_ROOT\\CLSID\\" + clsid,
             std::string("* HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\") + kNotesProgId,
             std::string("* HKEY_CLASSES_ROOT\\") + kNotesProgId,
             std::string("* HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\") + kNotesIndependentProgId,
             std::string("* HKEY_CLASSES_ROOT\\") + kNotesIndependentProgId,
             "32 HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run | OrvixSampleNotes"},
            {"C:\\users\\Public\\Desktop\\Orvix Sample Notes.lnk"}};
  }
  if (&sample == &kClock) {
    // The install folder with the log the program wrote (its parent, which
    // other programs may share, stays), and the vendor key named like the
    // program that records the folder (the maker's key above it stays).
    return {{"64 HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix Samples\\Sample Clock"},
            {"C:\\Program Files\\Orvix Samples\\Sample Clock"}};
  }
  if (&sample == &kMixer) {
    // The install folder with the INI file and the data folder, found from
    // the uninstall command (the entry has no InstallLocation), and the
    // vendor key named like the program that records the folder.
    return {{"32 HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvix Samples\\Sample Mixer"},
            {"C:\\Program Files (x86)\\Orvix Sample Mixer"}};
  }
  if (&sample == &kJournal) {
    // The "Open with" application of its program and the text files' entry
    // naming it, the capabilities whose icon is the program, with the
    // RegisteredApplications value naming them, and the taskbar pin
    // starting the removed program. The text files' list and the user's
    // RegisteredApplications key are everyone's.
    return {{"* HKEY_CURRENT_USER\\Software\\Classes\\Applications\\OrvixJournal.exe",
             "* HKEY_CURRENT_USER\\Software\\Classes\\.txt\\OpenWithList | OrvixJournal.exe",
             std::string("* HKEY_CURRENT_USER\\") + kJournalCapabilities,
             "* HKEY_CURRENT_USER\\Software\\RegisteredApplications | Orvix Sample Journal"},
            {kJournalPin}};
  }
  // Sketch and the Viewer leave only what nothing ties to them: the copy's
  // folder in %TEMP%, and the Viewer's shared parent folder.
  return {};
}

fs::path SampleInstaller(const SampleProduct& sample) { return Win32Output() / "samples" / sample.installer; }

fs::path TrickyEntriesFile() { return RepoRoot() / "tests" / "samples" / "tricky_uninstall_entries.reg"; }

std::vector<std::string> InstallSamples(const WinePrefix& prefix, SampleSet samples) {
  std::vector<std::string> problems;
  auto check = [&problems](const std::string& step, const RunResult& result) {
    if (result.exitCode != 0)
      problems.push_back(step + " ended with " + std::to_string(result.exitCode) + ": " + result.output);
  };
  for (const SampleProduct* sample : samples) {
    const fs::path installer = SampleInstaller(*sample);
    if (!fs::exists(installer)) {
      problems.push_back(installer.string() + " is missing: build the Windows configuration first");
    } else if (installer.extension() == ".msi") {
      check(sample->installer, prefix.Run("msiexec", {"/i", WinePrefix::WindowsPathOf(installer), "/qn"}));
    } else {
      check(sample->installer, prefix.Run(installer.string(), {"/S"}));
    }
  }
  check("importing the tricky entries", prefix.ImportReg(TrickyEntriesFile()));
  return problems;
}

std::vector<std::string> UninstallSample(const WinePrefix& prefix, const SampleProduct& sample) {
  RunResult ran;
  if (fs::path(sample.installer).extension() == ".msi") {
    const std::string key = sample.uninstallKey;
    ran = prefix.Run("msiexec", {"/x", key.substr(key.rfind('\\') + 1), "/qn"});
  } else {
    // "PROGRAM" ARGUMENTS, as NSIS scripts write it.
    const std::string command =
        prefix.RegQuery(sample.uninstallKey, "UninstallString", sample.view).value_or("(missing)");
    const size_t end = command.find('"', 1);
    if (command.size() <= 2 || command.front() != '"' || end == std::string::npos)
      return {std::string(sample.displayName) + ": not a quoted uninstaller: " + command};
    std::vector<std::string> arguments;
    std::istringstream words(command.substr(end + 1));
    for (std::string word; words >> word;) arguments.push_back(word);
    arguments.push_back("/S");
    ran = prefix.Run(command.substr(1, end - 1), arguments);
  }
  std::vector<std::string> problems;
  if (ran.exitCode != 0)
    problems.push_back(std::string(sample.displayName) + ": the uninstaller ended with " +
                       std::to_string(ran.exitCode) + ": " + ran.output);
  if (!prefix.Wait()) problems.push_back(std::string(sample.displayName) + ": its programs did not end");
  return problems;
}

}  // namespace orvix::e2e
