// A fresh 64-bit Wine prefix for an end-to-end test, made by
// scripts/wine-prefix and removed with everything in it when the object goes
// away. It runs Windows programs and reads the prefix's registry through
// Wine's own reg.exe, so what the tests see is what a Windows program sees.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "e2e/host_process.h"

namespace orvix::e2e {

enum class RegView { k32, k64 };

// The source tree, from the build, and the output folders of the two Windows builds.
std::filesystem::path RepoRoot();
std::filesystem::path Win32Output();
std::filesystem::path Win64Output();

class WinePrefix {
 public:
  // Throws std::runtime_error when the prefix cannot be made.
  WinePrefix();
  ~WinePrefix();
  WinePrefix(const WinePrefix&) = delete;
  WinePrefix& operator=(const WinePrefix&) = delete;

  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path DriveC() const { return dir_ / "drive_c"; }

  // The host path of a path on C:, each element matched ignoring case as
  // Windows does; elements that do not exist are kept as written.
  std::filesystem::path HostPath(const std::string& windowsPath) const;
  // A host path as Windows programs see it, on Wine's Z: drive.
  static std::string WindowsPathOf(const std::filesystem::path& hostPath);

  // Runs a Windows program (a name Wine finds, a Windows path or a host path)
  // and waits for it, not for what it leaves running. Output has no CRs.
  RunResult Run(const std::string& program, const std::vector<std::string>& arguments = {},
                std::chrono::seconds timeout = std::chrono::seconds(120),
                OutputStreams streams = OutputStreams::kTogether) const;
  // Waits until every program of the prefix has ended; false on timeout.
  bool Wait(std::chrono::seconds timeout = std::chrono::seconds(120)) const;
  // Ends every program of the prefix and starts it again, as a restart of
  // Windows would: Wine's boot step carries out the renames and deletions
  // left in PendingFileRenameOperations.
  bool Restart(std::chrono::seconds timeout = std::chrono::seconds(120)) const;
  // Expands the environment variables in a text, as cmd.exe does ("%APPDATA%").
  std::string Expand(const std::string& text) const;

  // Data of a registry value as reg.exe shows it (REG_DWORD as "0x1a"); an
  // empty name is the default value. Nothing when the key or value is missing.
  std::optional<std::string> RegQuery(const std::string& key, const std::string& value, RegView view) const;
  bool RegKeyExists(const std::string& key, RegView view) const;
  // Imports a .reg file in the 64-bit view: its SOFTWARE\Wow6432Node keys
  // land in the 32-bit view, as with a 64-bit importer on Windows.
  RunResult ImportReg(const std::filesystem::path& file) const;
  struct RegValue {
    std::string name;  // empty for the default value
    std::string type;  // "REG_SZ", "REG_DWORD", ...
    std::string data;  // as reg.exe shows it
  };
  // The values of a key, not of its sub-keys, in reg.exe's order.
  std::vector<RegValue> RegValues(const std::string& key, RegView view) const;

 private:
  EnvironmentOverrides Environment() const;
  RunResult RunScript(const std::vector<std::string>& arguments) const;
  std::string VariableValue(const std::string& name) const;

  std::filesystem::path dir_;
  mutable std::map<std::string, std::string> variables_;  // the prefix's environment does not change
};

}  // namespace orvix::e2e
