#include "platform/win32/win32_platform.h"

namespace orvix::win32 {

Win32Platform::Win32Platform()
    : ownRegistry_(MakeRegistry()), ownSystem_(MakeSystem()), ownRegistryEditor_(MakeRegistryEditor()) {
  registry_ = ownRegistry_.get();
  system_ = ownSystem_.get();
  registryEditor_ = ownRegistryEditor_.get();
}

}  // namespace orvix::win32
