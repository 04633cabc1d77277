// The machine the core runs on. One process-wide current platform is set at
// start-up: the Win32 one in the executables, a fresh simulated machine in
// each test. Free helpers reach the machine through CurrentPlatform().
#pragma once

#include <cstdint>

#include "platform/file_system_api.h"
#include "platform/icon_api.h"
#include "platform/locale_api.h"
#include "platform/module_api.h"
#include "platform/process_api.h"
#include "platform/registry_api.h"
#include "platform/shell_api.h"
#include "platform/system_api.h"
#include "platform/version_api.h"
#include "platform/window_api.h"

namespace orvix {

// A backend fills in the services it offers; asking for one it lacks is a
// programming error that stops the program with the service's name.
class Platform {
 public:
  virtual ~Platform() = default;

  IRegistryApi& Registry() const { return Need(registry_, "registry"); }
  ISystemApi& System() const { return Need(system_, "system"); }
  IRegistryEditorApi& RegistryEditor() const { return Need(registryEditor_, "registry editor"); }
  IFileSystem& Files() const { return Need(files_, "file system"); }
  IShellApi& Shell() const { return Need(shell_, "shell"); }
  IProcessApi& Processes() const { return Need(processes_, "processes"); }
  IVersionApi& Versions() const { return Need(versions_, "version resources"); }
  ILocaleApi& Locale() const { return Need(locale_, "locale"); }
  IClockApi& Clock() const { return Need(clock_, "clock"); }
  IModuleApi& Modules() const { return Need(modules_, "modules"); }
  IIconApi& Icons() const { return Need(icons_, "icons"); }
  IWindowApi& Windows() const { return Need(windows_, "windows"); }

 protected:
  IRegistryApi* registry_ = nullptr;
  ISystemApi* system_ = nullptr;
  IRegistryEditorApi* registryEditor_ = nullptr;
  IFileSystem* files_ = nullptr;
  IShellApi* shell_ = nullptr;
  IProcessApi* processes_ = nullptr;
  IVersionApi* versions_ = nullptr;
  ILocaleApi* locale_ = nullptr;
  IClockApi* clock_ = nullptr;
  IModuleApi* modules_ = nullptr;
  IIconApi* icons_ = nullptr;
  IWindowApi* windows_ = nullptr;

 private:
  template <typename T>
  static T& Need(T* service, const char* name) {
    if (service == nullptr) MissingService(name);
    return *service;
  }
  [[noreturn]] static void MissingService(const char* name);
};

// The current platform; using it before one is set is a programming error
// and aborts with a message.
Platform& CurrentPlatform();
// Sets the current platform (not owned) and returns the previous one.
Platform* SetCurrentPlatform(Platform* platform);
// Changes whenever the current platform is set: what was read from one
// machine is not taken for another's.
std::uint64_t PlatformGeneration();

// Makes a platform current for one scope, e.g. one test.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& platform) : previous_(SetCurrentPlatform(&platform)) {}
  ~ScopedPlatform() { SetCurrentPlatform(previous_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

}  // namespace orvix
