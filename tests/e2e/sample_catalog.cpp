#include "e2e/sample_catalog.h"

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
  // Sketch and the Viewer leave only what nothing ties to them: the copy's
  // folder in %TEMP%, and the Viewer's shared parent folder.
  return {};
}

fs::path SampleInstaller(const SampleProduct& sample) { return Win32Output() / "samples" / sample.installer; }

fs::path TrickyEntriesFile() { return RepoRoot() / "tests" / "samples" / "tricky_uninstall_entries.reg"; }

std::vector<std::string> InstallAllSamples(const WinePrefix& prefix) {
  std::vector<std::string> problems;
  auto check = [&problems](const std::string& step, const RunResult& result) {
    if (result.exitCode != 0)
      problems.push_back(step + " ended with " + std::to_string(result.exitCode) + ": " + result.output);
  };
  for (const SampleProduct* sample : kAllSamples) {
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
    const std::string command =
        prefix.RegQuery(sample.uninstallKey, "UninstallString", sample.view).value_or("(missing)");
    if (command.size() <= 2 || command.front() != '"' || command.back() != '"')
      return {std::string(sample.displayName) + ": not a quoted uninstaller: " + command};
    ran = prefix.Run(command.substr(1, command.size() - 2), {"/S"});
  }
  std::vector<std::string> problems;
  if (ran.exitCode != 0)
    problems.push_back(std::string(sample.displayName) + ": the uninstaller ended with " +
                       std::to_string(ran.exitCode) + ": " + ran.output);
  if (!prefix.Wait()) problems.push_back(std::string(sample.displayName) + ": its programs did not end");
  return problems;
}

}  // namespace orvix::e2e
