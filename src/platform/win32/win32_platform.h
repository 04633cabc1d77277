// The real machine: thin calls into the Win32 API.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace orvix::win32 {

std::unique_ptr<IRegistryApi> MakeRegistry();
std::unique_ptr<ISystemApi> MakeSystem();
std::unique_ptr<IRegistryEditorApi> MakeRegistryEditor();
std::unique_ptr<IFileSystem> MakeFileSystem();
std::unique_ptr<IShellApi> MakeShell();
std::unique_ptr<IProcessApi> MakeProcesses();
std::unique_ptr<IVersionApi> MakeVersions();
std::unique_ptr<ILocaleApi> MakeLocale();
std::unique_ptr<IClockApi> MakeClock();
std::unique_ptr<IModuleApi> MakeModules();
std::unique_ptr<IIconApi> MakeIcons();
std::unique_ptr<IWindowApi> MakeWindows();

class Win32Platform : public Platform {
 public:
  Win32Platform();

 private:
  std::unique_ptr<IRegistryApi> ownRegistry_;
  std::unique_ptr<ISystemApi> ownSystem_;
  std::unique_ptr<IRegistryEditorApi> ownRegistryEditor_;
  std::unique_ptr<IFileSystem> ownFiles_;
  std::unique_ptr<IShellApi> ownShell_;
  std::unique_ptr<IProcessApi> ownProcesses_;
  std::unique_ptr<IVersionApi> ownVersions_;
  std::unique_ptr<ILocaleApi> ownLocale_;
  std::unique_ptr<IClockApi> ownClock_;
  std::unique_ptr<IModuleApi> ownModules_;
  std::unique_ptr<IIconApi> ownIcons_;
  std::unique_ptr<IWindowApi> ownWindows_;
};

}  // namespace orvix::win32
