// The simulated shell: the special folders of Windows XP, 7 or 10 as a
// 32-bit program sees them on a 32- or 64-bit machine, the process
// environment, the program's own path, and a record of shell requests.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/shell_api.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_registry.h"
#include "platform/system_api.h"
#include "platform/text.h"

namespace orvix::sim {

// Windows versions to build machines of; the folder layout follows the
// version: XP (5.x), Vista to 8 (6.0 - 6.2), 8.1 and later.
inline constexpr OsVersionInfo kWindowsXp{5, 1, 2600, 3, false};
inline constexpr OsVersionInfo kWindows7{6, 1, 7601, 1, false};
inline constexpr OsVersionInfo kWindows10{10, 0, 19045, 0, false};

// One ShellExecuteW call.
struct ShellRequest {
  std::wstring verb;
  std::wstring file;
  std::wstring parameters;
  std::wstring directory;
  int show = 0;
  bool redirectionOff = false;  // WOW64 file-system redirection was off for the call
};

class SimShell : public IShellApi {
 public:
  // Lays out the folders of `os` for the user `userName`, creates them (and
  // the compatibility junctions of Vista and later) in `files`, and fills
  // the environment.
  SimShell(SimFileSystem& files, Bitness machine, const OsVersionInfo& os, const std::wstring& userName);

  std::wstring GetWindowsDirectory() override;
  // "system32" under the Windows folder, also for a 32-bit program on a
  // 64-bit machine: redirection happens when the folder is used.
  std::wstring GetSystemDirectory() override;
  // TMP, else TEMP, else USERPROFILE, else the Windows folder; with a
  // trailing backslash. On XP TEMP holds the 8.3 form, as XP sets it.
  std::wstring GetTempPath() override;
  std::wstring GetSpecialFolder(int csidl) override;
  // The common known folders, following the special folders above (a test
  // that changes one changes both); none on XP, which lacks the function.
  std::wstring GetKnownFolderPath(const std::wstring& guid) override;
  std::wstring GetModuleFileName() override;
  std::optional<std::wstring> GetEnvironmentVariable(const std::wstring& name) override;
  std::wstring ExpandEnvironmentStrings(const std::wstring& text) override;
  // Read from the file with the shell link reader: the LinkInfo target,
  // else the environment block's target expanded; cut to 259 characters.
  std::wstring GetShortcutPath(const std::wstring& shortcut) override;
  bool ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& directory, int show) override;

  // Set-up and inspection for tests.
  void SetEnvironmentVariable(const std::wstring& name, const std::wstring& value);
  void RemoveEnvironmentVariable(const std::wstring& name);
  // Changes one folder's answer; empty: the system has no such folder.
  void SetSpecialFolder(int csidl, const std::wstring& path);
  void SetModuleFileName(const std::wstring& path);
  // Whether ShellExecute accepts requests (it records them either way).
  void SetShellExecuteResult(bool accepted);
  std::vector<ShellRequest> Requests() const;

  // Writes the folders where Windows also keeps them in the registry:
  // Explorer's "Shell Folders" of the user and of the machine, and the
  // Program Files folders under CurrentVersion, in both views. A new
  // machine's registry starts empty; tests that need these call this.
  void WriteRegistryFolders(SimRegistry& registry) const;

 private:
  mutable std::mutex mutex_;
  SimFileSystem& files_;
  Bitness machine_;
  OsVersionInfo os_;
  std::wstring windowsDir_;
  std::map<int, std::wstring> folders_;
  std::map<std::wstring, std::wstring, TextLess> environment_;
  std::wstring moduleFileName_;
  std::vector<ShellRequest> requests_;
  bool accept_ = true;
};

}  // namespace orvix::sim
