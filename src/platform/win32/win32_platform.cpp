#include "platform/win32/win32_platform.h"

namespace orvix::win32 {

Win32Platform::Win32Platform()
    : registry_(MakeRegistry()), system_(MakeSystem()), registryEditor_(MakeRegistryEditor()) {}

}  // namespace orvix::win32
