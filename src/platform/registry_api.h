// The Windows registry as the platform offers it: the advapi32 operations the
// system needs, with their Win32 return codes, access masks and view bits.
#pragma once

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

struct RegKeyInfo {
  DWORD subKeys = 0;
  DWORD maxSubKeyLen = 0;    // characters, without the terminating NUL
  DWORD values = 0;
  DWORD maxValueNameLen = 0; // characters, without the terminating NUL
  DWORD maxValueLen = 0;     // bytes
  FILETIME64 lastWriteTime = 0;
};

class IRegistryApi {
 public:
  virtual ~IRegistryApi() = default;

  // RegOpenKeyExW / RegCreateKeyExW (non-volatile, no class, default security).
  virtual LSTATUS OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) = 0;
  virtual LSTATUS CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) = 0;
  virtual LSTATUS CloseKey(HKEY key) = 0;
  virtual LSTATUS FlushKey(HKEY key) = 0;
  virtual LSTATUS QueryInfoKey(HKEY key, RegKeyInfo* info) = 0;
  // RegEnumKeyExW / RegEnumValueW: the name at an index, in index order.
  virtual LSTATUS EnumKey(HKEY key, DWORD index, std::wstring* name) = 0;
  virtual LSTATUS EnumValue(HKEY key, DWORD index, std::wstring* name) = 0;
  // RegQueryValueExW: with data null, reports type and size of an existing
  // value; with a buffer too small, ERROR_MORE_DATA and the size needed.
  virtual LSTATUS QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) = 0;
  virtual LSTATUS SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) = 0;
  // RegDeleteKeyExW: deletes one key without sub-keys, in the view the bits
  // of viewSam choose (RegDeleteKeyW where the system lacks the Ex form).
  virtual LSTATUS DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) = 0;
  virtual LSTATUS DeleteValue(HKEY key, const std::wstring& name) = 0;
};

}  // namespace orvix
