// The SQLite file system over IFileSystem (see sqlite_platform_vfs.h).
// Randomness, sleeping and the clock come from SQLite's own default.
#include "addons/sqlite_platform_vfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "formats/text_codec.h"
#include "platform/platform.h"

namespace orvix {
namespace {

constexpr char kVfsName[] = "orvix-platform";
constexpr int kMaxPathBytes = 1024;

struct PlatformFile {
  sqlite3_file base;  // first: SQLite sees a sqlite3_file
  FileHandle handle;
  std::wstring* path;
  bool deleteOnClose;
};

IFileSystem& Files() { return CurrentPlatform().Files(); }
PlatformFile& Of(sqlite3_file* file) { return *reinterpret_cast<PlatformFile*>(file); }
sqlite3_vfs* DefaultVfs() { return sqlite3_vfs_find(nullptr); }

int Close(sqlite3_file* file) {
  PlatformFile& f = Of(file);
  Files().CloseFile(f.handle);
  if (f.deleteOnClose) Files().DeleteFile(*f.path);
  delete f.path;
  f.path = nullptr;
  return SQLITE_OK;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  PlatformFile& f = Of(file);
  if (Files().SeekFile(f.handle, static_cast<std::uint64_t>(offset)) != ERROR_SUCCESS) return SQLITE_IOERR_READ;
  DWORD read = 0;
  if (Files().ReadFile(f.handle, buffer, static_cast<DWORD>(amount), &read) != ERROR_SUCCESS) return SQLITE_IOERR_READ;
  if (read < static_cast<DWORD>(amount)) {
    // SQLite wants the rest zeroed on a short read.
    std::memset(static_cast<char*>(buffer) + read, 0, static_cast<std::size_t>(amount) - read);
    return SQLITE_IOERR_SHORT_READ;
  }
  return SQLITE_OK;
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  PlatformFile& f = Of(file);
  if (Files().SeekFile(f.handle, static_cast<std::uint64_t>(offset)) != ERROR_SUCCESS) return SQLITE_IOERR_WRITE;
  DWORD written = 0;
  const DWORD status = Files().WriteFile(f.handle, buffer, static_cast<DWORD>(amount), &written);
  if (status == ERROR_DISK_FULL) return SQLITE_FULL;
  return status == ERROR_SUCCESS && written == static_cast<DWORD>(amount) ? SQLITE_OK : SQLITE_IOERR_WRITE;
}

int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  PlatformFile& f = Of(file);
  if (Files().SeekFile(f.handle, static_cast<std::uint64_t>(size)) != ERROR_SUCCESS) return SQLITE_IOERR_TRUNCATE;
  return Files().SetEndOfFile(f.handle) == ERROR_SUCCESS ? SQLITE_OK : SQLITE_IOERR_TRUNCATE;
}

int Sync(sqlite3_file* file, int) {
  return Files().FlushFile(Of(file).handle) == ERROR_SUCCESS ? SQLITE_OK : SQLITE_IOERR_FSYNC;
}

int FileSize(sqlite3_file* file, sqlite3_int64* size) {
  std::uint64_t bytes = 0;
  if (Files().GetFileSize(Of(file).handle, &bytes) != ERROR_SUCCESS) return SQLITE_IOERR_FSTAT;
  *size = static_cast<sqlite3_int64>(bytes);
  return SQLITE_OK;
}

int Lock(sqlite3_file*, int) { return SQLITE_OK; }
int Unlock(sqlite3_file*, int) { return SQLITE_OK; }
int CheckReservedLock(sqlite3_file*, int* reserved) {
  *reserved = 0;
  return SQLITE_OK;
}
int FileControl(sqlite3_file*, int, void*) { return SQLITE_NOTFOUND; }
int SectorSize(sqlite3_file*) { return 512; }
int DeviceCharacteristics(sqlite3_file*) { return 0; }

const sqlite3_io_methods kIoMethods = {
    1,    Close,    Read,       Write,      Truncate,          Sync, FileSize, Lock, Unlock, CheckReservedLock,
    FileControl, SectorSize, DeviceCharacteristics,
};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  PlatformFile& f = Of(file);
  f.base.pMethods = nullptr;  // SQLite calls no method of a file that failed to open
  std::wstring path;
  if (name != nullptr) {
    path = FromUtf8(name);
  } else if (Files().GetTempFileName(CurrentPlatform().Shell().GetTempPath(), L"sql", &path) != ERROR_SUCCESS) {
    return SQLITE_CANTOPEN;
  }
  const bool readOnly = (flags & SQLITE_OPEN_READONLY) != 0;
  const DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  const DWORD disposition = (flags & SQLITE_OPEN_CREATE) != 0 || name == nullptr ? OPEN_ALWAYS : OPEN_EXISTING;
  FileHandle handle = 0;
  if (Files().OpenFile(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition, &handle) !=
      ERROR_SUCCESS) {
    return SQLITE_CANTOPEN;
  }
  f.handle = handle;
  f.path = new std::wstring(std::move(path));
  f.deleteOnClose = name == nullptr || (flags & SQLITE_OPEN_DELETEONCLOSE) != 0;
  f.base.pMethods = &kIoMethods;
  if (outFlags != nullptr) *outFlags = flags;
  return SQLITE_OK;
}

int Delete(sqlite3_vfs*, const char* name, int) {
  const DWORD status = Files().DeleteFile(FromUtf8(name));
  if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return SQLITE_IOERR_DELETE_NOENT;
  return status == ERROR_SUCCESS ? SQLITE_OK : SQLITE_IOERR_DELETE;
}

int Access(sqlite3_vfs*, const char* name, int flags, int* result) {
  FileAttributeData data;
  const bool exists = Files().GetAttributes(FromUtf8(name), &data) == ERROR_SUCCESS;
  *result = exists && (flags != SQLITE_ACCESS_READWRITE || (data.attributes & FILE_ATTRIBUTE_READONLY) == 0);
  return SQLITE_OK;
}

// The program only ever names files by full paths.
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  const std::size_t length = std::strlen(name);
  if (length + 1 > static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
  std::memcpy(out, name, length + 1);
  return SQLITE_OK;
}

void* DlOpen(sqlite3_vfs*, const char*) { return nullptr; }
void DlError(sqlite3_vfs*, int size, char* out) {
  if (size > 0) out[0] = 0;
}
void (*DlSym(sqlite3_vfs*, void*, const char*))(void) { return nullptr; }
void DlClose(sqlite3_vfs*, void*) {}
int Randomness(sqlite3_vfs*, int size, char* out) { return DefaultVfs()->xRandomness(DefaultVfs(), size, out); }
int Sleep(sqlite3_vfs*, int microseconds) { return DefaultVfs()->xSleep(DefaultVfs(), microseconds); }
int CurrentTime(sqlite3_vfs*, double* now) { return DefaultVfs()->xCurrentTime(DefaultVfs(), now); }
int GetLastError(sqlite3_vfs*, int, char*) { return 0; }

sqlite3_vfs kVfs = {
    1,      static_cast<int>(sizeof(PlatformFile)), kMaxPathBytes, nullptr, kVfsName, nullptr, Open, Delete, Access,
    FullPathname, DlOpen, DlError, DlSym, DlClose, Randomness, Sleep, CurrentTime, GetLastError,
};

}  // namespace

const char* PlatformVfsName() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    sqlite3_initialize();
    sqlite3_vfs_register(&kVfs, 0);
  });
  return kVfsName;
}

}  // namespace orvix
