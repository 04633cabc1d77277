// A simulated Windows machine: the platform every native test runs on.
// Build one per test, fill it, make it current with ScopedPlatform.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_icons.h"
#include "platform/sim/sim_locale.h"
#include "platform/sim/sim_modules.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_version.h"
#include "platform/sim/sim_windows.h"

namespace orvix::sim {

struct MachineOptions {
  Bitness bitness = Bitness::x64;
  OsVersionInfo os = kWindows10;  // also picks the folder layout: kWindowsXp, kWindows7, kWindows10
  std::wstring userName = L"Ann";
};

class SimSystem : public ISystemApi {
 public:
  explicit SimSystem(const MachineOptions& options) : options_(options) {}
  bool IsWow64Process() override { return options_.bitness == Bitness::x64; }
  OsVersionInfo OsVersion() override {
    OsVersionInfo os = options_.os;
    os.amd64 = options_.bitness == Bitness::x64;
    return os;
  }
  void DebugOutput(const std::wstring& text) override { debugLines.push_back(text); }
  std::wstring SystemErrorText(DWORD code) override;
  DWORD LastError() override { return lastError; }

  void SetOsVersion(const OsVersionInfo& os) { options_.os = os; }

  std::vector<std::wstring> debugLines;  // what the program wrote to the debugger output
  DWORD lastError = 0;

 private:
  MachineOptions options_;
};

// Records each request; there is no editor to drive.
class SimRegistryEditor : public IRegistryEditorApi {
 public:
  bool OpenAt(const RegistryEditorRequest& request) override {
    requests.push_back(request);
    return true;
  }
  std::vector<RegistryEditorRequest> requests;
};

class SimMachine : public Platform {
 public:
  explicit SimMachine(const MachineOptions& options = {});

  // Loads the text of a .reg file into the registry.
  void ImportReg(std::wstring_view text);

  SimRegistry registry;
  SimSystem system;
  SimRegistryEditor registryEditor;
  SimClock clock;
  SimLocale locale;
  SimVersions versions;
  SimModules modules{shell};
  SimProcesses processes;
  SimFileSystem files;  // drive C: with Windows, Program Files and the user's profile
  SimShell shell;
  SimIcons icons{files};  // files a test marks as holding icons
  SimWindows windows;
};

}  // namespace orvix::sim
