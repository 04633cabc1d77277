#include "platform/win32/win32_platform.h"

namespace orvix::win32 {

Win32Platform::Win32Platform()
    : ownRegistry_(MakeRegistry()),
      ownSystem_(MakeSystem()),
      ownRegistryEditor_(MakeRegistryEditor()),
      ownFiles_(MakeFileSystem()),
      ownShell_(MakeShell()),
      ownProcesses_(MakeProcesses()),
      ownVersions_(MakeVersions()),
      ownLocale_(MakeLocale()),
      ownClock_(MakeClock()),
      ownModules_(MakeModules()),
      ownIcons_(MakeIcons()),
      ownWindows_(MakeWindows()) {
  registry_ = ownRegistry_.get();
  system_ = ownSystem_.get();
  registryEditor_ = ownRegistryEditor_.get();
  files_ = ownFiles_.get();
  shell_ = ownShell_.get();
  processes_ = ownProcesses_.get();
  versions_ = ownVersions_.get();
  locale_ = ownLocale_.get();
  clock_ = ownClock_.get();
  modules_ = ownModules_.get();
  icons_ = ownIcons_.get();
  windows_ = ownWindows_.get();
}

}  // namespace orvix::win32
