// The machine the core runs on. One process-wide current platform is set at
// start-up: the Win32 one in the executables, a fresh simulated machine in
// each test. Free helpers reach the machine through CurrentPlatform().
#pragma once

#include "platform/registry_api.h"
#include "platform/system_api.h"

namespace orvix {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual IRegistryApi& Registry() = 0;
  virtual ISystemApi& System() = 0;
  virtual IRegistryEditorApi& RegistryEditor() = 0;
};

// The current platform; using it before one is set is a programming error
// and aborts with a message.
Platform& CurrentPlatform();
// Sets the current platform (not owned) and returns the previous one.
Platform* SetCurrentPlatform(Platform* platform);

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
