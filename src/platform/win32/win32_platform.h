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

 private:
  std::unique_ptr<IRegistryApi> ownRegistry_;
  std::unique_ptr<ISystemApi> ownSystem_;
  std::unique_ptr<IRegistryEditorApi> ownRegistryEditor_;
};

}  // namespace orvix::win32
