#include <cwchar>

#include "platform/file_system_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/win32_text_call.h"

namespace orvix::win32 {
namespace {

orvix::DWORD ErrorUnless(BOOL ok) { return ok ? ERROR_SUCCESS : ::GetLastError(); }

std::uint64_t Join(::DWORD high, ::DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }
FILETIME64 Join(const ::FILETIME& time) { return Join(time.dwHighDateTime, time.dwLowDateTime); }

HANDLE NativeFile(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

void CopyFindData(const WIN32_FIND_DATAW& found, FindData* data) {
  data->attributes = found.dwFileAttributes;
  data->creationTime = Join(found.ftCreationTime);
  data->lastAccessTime = Join(found.ftLastAccessTime);
  data->lastWriteTime = Join(found.ftLastWriteTime);
  data->size = Join(found.nFileSizeHigh, found.nFileSizeLow);
  data->name = found.cFileName;
  data->alternateName = found.cAlternateFileName;
  // dwReserved0 carries the tag only for reparse points.
  data->reparseTag = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? found.dwReserved0 : 0;
}

// The WOW64 switch of file-system redirection, looked up once; the library
// handle stays loaded for the life of the process.
class Wow64Redirection {
 public:
  static const Wow64Redirection& Get() {
    static const Wow64Redirection instance;
    return instance;
  }

  bool Disable(void** oldValue) const { return disable_ != nullptr && disable_(oldValue); }
  bool Revert(void* oldValue) const { return revert_ != nullptr && revert_(oldValue); }

 private:
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  using RevertFn = BOOL(WINAPI*)(PVOID);

  Wow64Redirection() : kernel32_(::GetModuleHandleW(L"kernel32.dll")) {
    if (kernel32_ == nullptr) return;
    disable_ = reinterpret_cast<DisableFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel32_, "Wow64DisableWow64FsRedirection")));
    revert_ = reinterpret_cast<RevertFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel32_, "Wow64RevertWow64FsRedirection")));
  }

  HMODULE kernel32_;
  DisableFn disable_ = nullptr;
  RevertFn revert_ = nullptr;
};

// A handle on the file or folder itself, for asking about it: no access to
// its data, every sharing mode, folders too; `ownLink` opens a reparse
// point at the path instead of what it points to.
class QueryHandle {
 public:
  QueryHandle(const std::wstring& path, bool ownLink)
      : handle_(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | (ownLink ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr)) {}
  ~QueryHandle() {
    if (Opened()) ::CloseHandle(handle_);
  }
  QueryHandle(const QueryHandle&) = delete;
  QueryHandle& operator=(const QueryHandle&) = delete;

  bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// GetFinalPathNameByHandleW came with Vista: looked up at run time.
using FinalPathFunction = ::DWORD(WINAPI*)(HANDLE, LPWSTR, ::DWORD, ::DWORD);
FinalPathFunction FinalPathNameFunction() {
  static const auto function = reinterpret_cast<FinalPathFunction>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  return function;
}

// "\\?\C:\x" and "\\?\UNC\server\share" as the paths they stand for.
std::wstring WithoutDevicePrefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

class Win32FileSystem : public IFileSystem {
 public:
  orvix::DWORD FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) override {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
      *handle = 0;
      return ::GetLastError();
    }
    CopyFindData(found, data);
    *handle = reinterpret_cast<FindHandle>(find);
    return ERROR_SUCCESS;
  }

  orvix::DWORD FindNext(FindHandle handle, FindData* data) override {
    WIN32_FIND_DATAW found{};
    if (!::FindNextFileW(reinterpret_cast<HANDLE>(handle), &found)) return ::GetLastError();
    CopyFindData(found, data);
    return ERROR_SUCCESS;
  }

  void FindClose(FindHandle handle) override {
    if (handle != 0) ::FindClose(reinterpret_cast<HANDLE>(handle));
  }

  orvix::DWORD GetAttributes(const std::wstring& path, FileAttributeData* data) override {
    WIN32_FILE_ATTRIBUTE_DATA found{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &found)) return ::GetLastError();
    data->attributes = found.dwFileAttributes;
    data->creationTime = Join(found.ftCreationTime);
    data->lastAccessTime = Join(found.ftLastAccessTime);
    data->lastWriteTime = Join(found.ftLastWriteTime);
    data->size = Join(found.nFileSizeHigh, found.nFileSizeLow);
    return ERROR_SUCCESS;
  }

  orvix::DWORD SetAttributes(const std::wstring& path, orvix::DWORD attributes) override {
    return ErrorUnless(::SetFileAttributesW(path.c_str(), attributes));
  }

  orvix::DWORD GetLongPathName(const std::wstring& path, std::wstring* longPath) override {
    return TextFromCall([&](wchar_t* buffer, ::DWORD size) { return ::GetLongPathNameW(path.c_str(), buffer, size); },
                        longPath);
  }

  orvix::DWORD GetShortPathName(const std::wstring& path, std::wstring* shortPath) override {
    return TextFromCall([&](wchar_t* buffer, ::DWORD size) { return ::GetShortPathNameW(path.c_str(), buffer, size); },
                        shortPath);
  }

  orvix::DWORD GetFinalPathName(const std::wstring& path, std::wstring* finalPath) override {
    const FinalPathFunction function = FinalPathNameFunction();
    if (function == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    const QueryHandle file(path, false);
    if (!file.Opened()) return ::GetLastError();
    std::wstring found;
    const orvix::DWORD status = TextFromCall(
        [&](wchar_t* buffer, ::DWORD size) { return function(file.Get(), buffer, size, 0 /* VOLUME_NAME_DOS */); },
        &found);
    if (status == ERROR_SUCCESS) *finalPath = WithoutDevicePrefix(found);
    return status;
  }

  orvix::DWORD GetLinkCount(const std::wstring& path, orvix::DWORD* links) override {
    const QueryHandle file(path, true);
    if (!file.Opened()) return ::GetLastError();
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.Get(), &information)) return ::GetLastError();
    *links = information.nNumberOfLinks;
    return ERROR_SUCCESS;
  }

  orvix::DWORD CreateDirectory(const std::wstring& path) override {
    return ErrorUnless(::CreateDirectoryW(path.c_str(), nullptr));
  }
  orvix::DWORD RemoveDirectory(const std::wstring& path) override {
    return ErrorUnless(::RemoveDirectoryW(path.c_str()));
  }
  orvix::DWORD DeleteFile(const std::wstring& path) override { return ErrorUnless(::DeleteFileW(path.c_str())); }

  orvix::DWORD CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override {
    return ErrorUnless(::CopyFileW(from.c_str(), to.c_str(), failIfExists));
  }

  orvix::DWORD MoveFile(const std::wstring& from, const std::wstring& to, orvix::DWORD flags) override {
    return ErrorUnless(::MoveFileExW(from.c_str(), to.empty() ? nullptr : to.c_str(), flags));
  }

  orvix::DWORD OpenFile(const std::wstring& path, orvix::DWORD access, orvix::DWORD share, orvix::DWORD disposition,
                        FileHandle* handle) override {
    HANDLE file = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      *handle = 0;
      return ::GetLastError();
    }
    *handle = reinterpret_cast<FileHandle>(file);
    return ERROR_SUCCESS;
  }

  orvix::DWORD ReadFile(FileHandle handle, void* buffer, orvix::DWORD size, orvix::DWORD* read) override {
    ::DWORD done = 0;
    const BOOL ok = ::ReadFile(NativeFile(handle), buffer, size, &done, nullptr);
    if (read != nullptr) *read = done;
    return ErrorUnless(ok);
  }

  orvix::DWORD WriteFile(FileHandle handle, const void* buffer, orvix::DWORD size, orvix::DWORD* written) override {
    ::DWORD done = 0;
    const BOOL ok = ::WriteFile(NativeFile(handle), buffer, size, &done, nullptr);
    if (written != nullptr) *written = done;
    return ErrorUnless(ok);
  }

  orvix::DWORD SeekFile(FileHandle handle, std::uint64_t offset) override {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    return ErrorUnless(::SetFilePointerEx(NativeFile(handle), position, nullptr, FILE_BEGIN));
  }

  orvix::DWORD GetFileSize(FileHandle handle, std::uint64_t* size) override {
    LARGE_INTEGER found{};
    if (!::GetFileSizeEx(NativeFile(handle), &found)) return ::GetLastError();
    *size = static_cast<std::uint64_t>(found.QuadPart);
    return ERROR_SUCCESS;
  }

  orvix::DWORD SetEndOfFile(FileHandle handle) override { return ErrorUnless(::SetEndOfFile(NativeFile(handle))); }
  orvix::DWORD FlushFile(FileHandle handle) override { return ErrorUnless(::FlushFileBuffers(NativeFile(handle))); }
  orvix::DWORD CloseFile(FileHandle handle) override { return ErrorUnless(::CloseHandle(NativeFile(handle))); }

  orvix::DWORD GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) override {
    wchar_t buffer[MAX_PATH] = {};
    if (::GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0) return ::GetLastError();
    path->assign(buffer);
    return ERROR_SUCCESS;
  }

  std::vector<std::wstring> GetLogicalDrives() override {
    std::vector<std::wstring> drives;
    const ::DWORD needed = ::GetLogicalDriveStringsW(0, nullptr);
    if (needed == 0) return drives;
    std::wstring buffer(needed, L'\0');
    const ::DWORD length = ::GetLogicalDriveStringsW(needed, buffer.data());
    if (length == 0 || length >= needed) return drives;
    // "A:\", NUL, "C:\", NUL, ..., NUL
    for (const wchar_t* drive = buffer.c_str(); *drive != L'\0'; drive += std::wcslen(drive) + 1)
      drives.emplace_back(drive);
    return drives;
  }

  orvix::DWORD GetDriveType(const std::wstring& root) override { return ::GetDriveTypeW(root.c_str()); }

  orvix::DWORD GetVolumeInformation(const std::wstring& root, VolumeInfo* info) override {
    wchar_t label[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    ::DWORD serial = 0, maxComponent = 0, flags = 0;
    if (!::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, &maxComponent, &flags, fileSystem,
                                 MAX_PATH + 1))
      return ::GetLastError();
    info->label = label;
    info->serialNumber = serial;
    info->maxComponentLength = maxComponent;
    info->flags = flags;
    info->fileSystem = fileSystem;
    return ERROR_SUCCESS;
  }

  orvix::DWORD GetDiskFreeSpace(const std::wstring& path, DiskSpace* space) override {
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    if (!::GetDiskFreeSpaceExW(path.c_str(), &freeToCaller, &total, &totalFree)) return ::GetLastError();
    space->freeToCaller = freeToCaller.QuadPart;
    space->total = total.QuadPart;
    space->totalFree = totalFree.QuadPart;
    return ERROR_SUCCESS;
  }

  // A 64-bit process has nothing redirected: switching off and back succeeds
  // without a call.
  bool DisableFsRedirection(void** oldValue) override {
    if constexpr (sizeof(void*) == 8) return true;
    return Wow64Redirection::Get().Disable(oldValue);
  }
  bool RevertFsRedirection(void* oldValue) override {
    if constexpr (sizeof(void*) == 8) return true;
    return Wow64Redirection::Get().Revert(oldValue);
  }
};

}  // namespace

std::unique_ptr<IFileSystem> MakeFileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace orvix::win32
