// Facts about the running system and process that the core asks for.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace orvix {

struct OsVersionInfo {
  DWORD major = 0;
  DWORD minor = 0;
  DWORD build = 0;
  DWORD servicePackMajor = 0;
  bool serverProduct = false;
  bool amd64 = false;  // the processor architecture Windows itself runs on
};

class ISystemApi {
 public:
  virtual ~ISystemApi() = default;
  // IsWow64Process for the current process, looked up at run time: true only
  // for a 32-bit process on 64-bit Windows.
  virtual bool IsWow64Process() = 0;
  // The real version (RtlGetVersion), not the one GetVersionEx makes up.
  virtual OsVersionInfo OsVersion() = 0;
  // OutputDebugStringW: the few diagnostics the program writes.
  virtual void DebugOutput(const std::wstring& text) = 0;
  // FormatMessageW of a system error code, without the trailing line break.
  virtual std::wstring SystemErrorText(DWORD code) = 0;
  virtual DWORD LastError() = 0;
};

// The registry editor (regedit) opened at a key. The key text has already
// been put in the editor's form ("My\" + root + path, no trailing
// backslash); the backend drives the editor window, or records the request.
struct RegistryEditorRequest {
  std::wstring keyText;
  std::wstring valueName;
  bool view64 = false;
};

class IRegistryEditorApi {
 public:
  virtual ~IRegistryEditorApi() = default;
  virtual bool OpenAt(const RegistryEditorRequest& request) = 0;
};

}  // namespace orvix
