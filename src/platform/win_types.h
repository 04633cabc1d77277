// Win32 types and constants the core uses, declared by us so that the core
// never includes <windows.h>. Values are those of the Windows SDK.
#pragma once

#include <cstdint>

namespace orvix {

using DWORD = std::uint32_t;
using LSTATUS = std::int32_t;
using REGSAM = std::uint32_t;
using BYTE = std::uint8_t;

// A registry key handle: opaque, compared by value. The predefined roots
// carry their Win32 numbers.
using HKEY = std::uintptr_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

// Error codes.
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_PATH_NOT_FOUND = 3;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_KEY_DELETED = 1018;

// Registry value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Registry access rights and view bits.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
inline constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
inline constexpr REGSAM KEY_WOW64_RES = 0x0300;
inline constexpr REGSAM DELETE = 0x00010000;
inline constexpr REGSAM READ_CONTROL = 0x00020000;
inline constexpr REGSAM KEY_READ = 0x00020019;
inline constexpr REGSAM KEY_WRITE = 0x00020006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

inline constexpr LSTATUS ERROR_NOT_SAME_DEVICE = 17;
inline constexpr LSTATUS ERROR_NO_MORE_FILES = 18;
inline constexpr LSTATUS ERROR_NOT_READY = 21;
inline constexpr LSTATUS ERROR_SHARING_VIOLATION = 32;
inline constexpr LSTATUS ERROR_NOT_SUPPORTED = 50;
inline constexpr LSTATUS ERROR_FILE_EXISTS = 80;
inline constexpr LSTATUS ERROR_DISK_FULL = 112;
inline constexpr LSTATUS ERROR_INVALID_NAME = 123;
inline constexpr LSTATUS ERROR_DIR_NOT_EMPTY = 145;
inline constexpr LSTATUS ERROR_ALREADY_EXISTS = 183;
inline constexpr LSTATUS ERROR_PROC_NOT_FOUND = 127;
inline constexpr LSTATUS ERROR_MOD_NOT_FOUND = 126;
inline constexpr LSTATUS ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr LSTATUS ERROR_DIRECTORY = 267;
inline constexpr LSTATUS ERROR_CANT_RESOLVE_FILENAME = 1921;

// A FILETIME as one 64-bit count of 100 ns intervals since 1601-01-01.
using FILETIME64 = std::uint64_t;

// File attributes.
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Reparse point tags: junctions (mount points) and symbolic links.
inline constexpr DWORD IO_REPARSE_TAG_MOUNT_POINT = 0xA0000003;
inline constexpr DWORD IO_REPARSE_TAG_SYMLINK = 0xA000000C;

// CreateFileW access, sharing and disposition.
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD FILE_SHARE_DELETE = 0x4;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

// MoveFileExW flags.
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x2;
inline constexpr DWORD MOVEFILE_DELAY_UNTIL_REBOOT = 0x4;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

// GetDriveTypeW.
inline constexpr DWORD DRIVE_UNKNOWN = 0;
inline constexpr DWORD DRIVE_NO_ROOT_DIR = 1;
inline constexpr DWORD DRIVE_REMOVABLE = 2;
inline constexpr DWORD DRIVE_FIXED = 3;
inline constexpr DWORD DRIVE_REMOTE = 4;
inline constexpr DWORD DRIVE_CDROM = 5;
inline constexpr DWORD DRIVE_RAMDISK = 6;

// CreateProcessW flags, waits and ShowWindow values.
inline constexpr DWORD CREATE_SUSPENDED = 0x4;
inline constexpr DWORD CREATE_BREAKAWAY_FROM_JOB = 0x01000000;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMAXIMIZED = 3;

}  // namespace orvix
