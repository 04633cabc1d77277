#include "e2e/sample_catalog.h"

namespace orvix::e2e {

namespace fs = std::filesystem;

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

}  // namespace orvix::e2e
