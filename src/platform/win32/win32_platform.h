// The real machine: thin calls into the Win32 API.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace orvix::win32 {

std::unique_ptr<IRegistryApi> MakeRegistry();
std::unique_ptr<ISystemApi> MakeSystem();
std::unique_ptr<IRegistryEditorApi> MakeRegistryEditor();

class Win32Platform : public Platform {
 public:
  Win32Platform();
  IRegistryApi& Registry() override { return *registry_; }
  ISystemApi& System() override { return *system_; }
  IRegistryEditorApi& RegistryEditor() override { return *registryEditor_; }

 private:
  std::unique_ptr<IRegistryApi> registry_;
  std::unique_ptr<ISystemApi> system_;
  std::unique_ptr<IRegistryEditorApi> registryEditor_;
};

}  // namespace orvix::win32
