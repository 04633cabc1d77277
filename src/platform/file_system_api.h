// Files, folders and drives as the platform offers them: the kernel32
// operations the system needs, each answering a Win32 error code
// (ERROR_SUCCESS on success) instead of setting the thread's last error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

// An open file or listing; 0 is never a valid handle.
using FileHandle = std::uintptr_t;
using FindHandle = std::uintptr_t;

struct FileAttributeData {
  DWORD attributes = 0;
  FILETIME64 creationTime = 0;
  FILETIME64 lastAccessTime = 0;
  FILETIME64 lastWriteTime = 0;
  std::uint64_t size = 0;
};

// WIN32_FIND_DATAW: one entry of a folder listing.
struct FindData : FileAttributeData {
  std::wstring name;
  std::wstring alternateName;  // the 8.3 name, empty when the long name is already one
  DWORD reparseTag = 0;        // for entries with FILE_ATTRIBUTE_REPARSE_POINT
};

struct VolumeInfo {
  std::wstring label;
  DWORD serialNumber = 0;
  DWORD maxComponentLength = 0;
  DWORD flags = 0;
  std::wstring fileSystem;
};

struct DiskSpace {
  std::uint64_t freeToCaller = 0;
  std::uint64_t total = 0;
  std::uint64_t totalFree = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // FindFirstFileW / FindNextFileW / FindClose over a pattern such as
  // "C:\Foo\*"; hidden and system entries included, "." and ".." as Windows
  // gives them. The end of a listing is ERROR_NO_MORE_FILES.
  virtual DWORD FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) = 0;
  virtual DWORD FindNext(FindHandle handle, FindData* data) = 0;
  virtual void FindClose(FindHandle handle) = 0;

  virtual DWORD GetAttributes(const std::wstring& path, FileAttributeData* data) = 0;
  virtual DWORD SetAttributes(const std::wstring& path, DWORD attributes) = 0;
  virtual DWORD GetLongPathName(const std::wstring& path, std::wstring* longPath) = 0;
  virtual DWORD GetShortPathName(const std::wstring& path, std::wstring* shortPath) = 0;
  // Where `path` really is: every junction and symbolic link on the way
  // resolved (GetFinalPathNameByHandleW in DOS form, without a "\\?\"
  // prefix). ERROR_CALL_NOT_IMPLEMENTED where the system cannot tell.
  virtual DWORD GetFinalPathName(const std::wstring& path, std::wstring* finalPath) = 0;
  // The number of names (hard links) of the file itself, a reparse point
  // at `path` not followed (GetFileInformationByHandle's nNumberOfLinks).
  virtual DWORD GetLinkCount(const std::wstring& path, DWORD* links) = 0;

  virtual DWORD CreateDirectory(const std::wstring& path) = 0;
  virtual DWORD RemoveDirectory(const std::wstring& path) = 0;
  virtual DWORD DeleteFile(const std::wstring& path) = 0;
  virtual DWORD CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) = 0;
  // MoveFileExW; an empty `to` with MOVEFILE_DELAY_UNTIL_REBOOT deletes at
  // the next restart.
  virtual DWORD MoveFile(const std::wstring& from, const std::wstring& to, DWORD flags) = 0;

  // CreateFileW and the calls on its handle.
  virtual DWORD OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                         FileHandle* handle) = 0;
  virtual DWORD ReadFile(FileHandle handle, void* buffer, DWORD size, DWORD* read) = 0;
  virtual DWORD WriteFile(FileHandle handle, const void* buffer, DWORD size, DWORD* written) = 0;
  virtual DWORD SeekFile(FileHandle handle, std::uint64_t offset) = 0;
  virtual DWORD GetFileSize(FileHandle handle, std::uint64_t* size) = 0;
  virtual DWORD SetEndOfFile(FileHandle handle) = 0;
  virtual DWORD FlushFile(FileHandle handle) = 0;
  virtual DWORD CloseFile(FileHandle handle) = 0;

  // GetTempFileNameW with a unique number: creates the file and names it.
  virtual DWORD GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) = 0;

  // "A:\", "C:\", ... of GetLogicalDriveStringsW.
  virtual std::vector<std::wstring> GetLogicalDrives() = 0;
  virtual DWORD GetDriveType(const std::wstring& root) = 0;
  virtual DWORD GetVolumeInformation(const std::wstring& root, VolumeInfo* info) = 0;
  virtual DWORD GetDiskFreeSpace(const std::wstring& path, DiskSpace* space) = 0;

  // Wow64DisableWow64FsRedirection / Wow64RevertWow64FsRedirection for the
  // calling thread; false where the system has no such switch.
  virtual bool DisableFsRedirection(void** oldValue) = 0;
  virtual bool RevertFsRedirection(void* oldValue) = 0;
};

}  // namespace orvix
