// <windows.h> for the Win32 backend. Include it after every project header:
// its macros (ERROR_SUCCESS, HKEY_LOCAL_MACHINE, DELETE...) would otherwise
// rewrite the core's own declarations of the same names.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "platform/win_types.h"

#include <windows.h>
#include <shellapi.h>

// The platform interfaces name their operations after the Win32 calls they
// wrap; the macros that pick a call's A or W form would rename them.
#undef CopyFile
#undef CreateDirectory
#undef CreateProcess
#undef DeleteFile
#undef ExpandEnvironmentStrings
#undef GetDiskFreeSpace
#undef GetDriveType
#undef GetEnvironmentVariable
#undef GetLongPathName
#undef GetFinalPathName
#undef GetModuleFileName
#undef GetShortPathName
#undef GetSystemDirectory
#undef GetTempFileName
#undef GetTempPath
#undef GetVolumeInformation
#undef GetWindowsDirectory
#undef LoadLibrary
#undef MoveFile
#undef RemoveDirectory
#undef ShellExecute

namespace orvix::win32 {

inline ::HKEY Native(orvix::HKEY key) { return reinterpret_cast<::HKEY>(key); }
inline orvix::HKEY Portable(::HKEY key) { return reinterpret_cast<orvix::HKEY>(key); }

}  // namespace orvix::win32
