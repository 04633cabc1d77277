// Faults injected into a simulated machine's files and registry, for tests
// that check what the program does when the system says no: a call that
// answers access denied, a sharing violation, a full disk or a path too
// long, a file that vanishes between the listing and its use, or a crash
// (power cut) at one call.
//
// A FaultyPlatform is the machine's platform with the file system and the
// registry behind a layer that counts every call and fails those the faults
// name. Making it current instead of the machine turns the faults on:
//
//   FaultyPlatform faulty(Machine());
//   ScopedPlatform scope(faulty);
//   faulty.faults.Add({.call = SimCall::DeleteFile, .error = ERROR_ACCESS_DENIED});
//
// A sweep runs the work once to count its calls, then once per call with a
// fault at that call alone (Fault::AtCall), so every failure point is met.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace orvix::sim {

// The calls a fault can hit. Closing a handle or a listing never fails.
enum class SimCall {
  FindFirst, FindNext, GetAttributes, SetAttributes, GetLongPathName, GetShortPathName, GetFinalPathName,
  GetLinkCount, CreateDirectory, RemoveDirectory, DeleteFile, CopyFile, MoveFile, OpenFile, ReadFile, WriteFile,
  SeekFile, GetFileSize, SetEndOfFile, FlushFile, GetTempFileName,
  RegOpenKey, RegCreateKey, RegFlushKey, RegQueryInfoKey, RegEnumKey, RegEnumValue, RegQueryValue, RegSetValue,
  RegDeleteKey, RegDeleteValue,
};

enum class FaultEffect {
  // The call changes nothing and answers the error; a write answering
  // ERROR_DISK_FULL has put the first half of its bytes in the file.
  Fail,
  // The path the call names is removed just before the call runs; a listing
  // hands out its next entry, which is removed just after. Registry calls
  // go on untouched.
  Vanish,
  // The program stops at the call (SimCrash is thrown, not an exception a
  // caller catches by type): what it had done stays, nothing more happens.
  Crash,
};

// Thrown at a Crash fault. Not a std::exception, so that the program's
// handlers for system errors do not take it for one.
struct SimCrash {};

struct Fault {
  std::optional<SimCall> call;  // any call when empty
  // Only calls on this path (ignoring case): a file call's path (a handle's is
  // the one it was opened by, a listing's its pattern), a registry call's
  // sub-key or value name. Any when empty.
  std::wstring path;
  unsigned nth = 0;             // only the n-th call this fault matches (from 1); every one when 0
  DWORD error = ERROR_ACCESS_DENIED;
  FaultEffect effect = FaultEffect::Fail;

  // The n-th call of any kind, counted from when the fault was added.
  static Fault AtCall(unsigned n, DWORD error, FaultEffect effect = FaultEffect::Fail) {
    return {std::nullopt, L"", n, error, effect};
  }
};

class SimFaults {
 public:
  void Add(Fault fault);
  void Clear();  // removes the faults and zeroes the counts
  // Calls made so far, faulty or not.
  unsigned Calls() const;
  // Faults that fired so far.
  unsigned Fired() const;

  // For the layers: the fault this call meets, if any (counted either way).
  std::optional<Fault> Meet(SimCall call, const std::wstring& path);

 private:
  struct Armed {
    Fault fault;
    unsigned seen = 0;
  };
  mutable std::mutex mutex_;
  std::vector<Armed> faults_;
  unsigned calls_ = 0;
  unsigned fired_ = 0;
};

// The machine's file system with faults in front.
class FaultyFileSystem : public IFileSystem {
 public:
  FaultyFileSystem(SimFileSystem& files, SimFaults& faults) : files_(files), faults_(faults) {}

  DWORD FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) override;
  DWORD FindNext(FindHandle handle, FindData* data) override;
  void FindClose(FindHandle handle) override;
  DWORD GetAttributes(const std::wstring& path, FileAttributeData* data) override;
  DWORD SetAttributes(const std::wstring& path, DWORD attributes) override;
  DWORD GetLongPathName(const std::wstring& path, std::wstring* longPath) override;
  DWORD GetShortPathName(const std::wstring& path, std::wstring* shortPath) override;
  DWORD GetFinalPathName(const std::wstring& path, std::wstring* finalPath) override;
  DWORD GetLinkCount(const std::wstring& path, DWORD* links) override;
  DWORD CreateDirectory(const std::wstring& path) override;
  DWORD RemoveDirectory(const std::wstring& path) override;
  DWORD DeleteFile(const std::wstring& path) override;
  DWORD CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) override;
  DWORD MoveFile(const std::wstring& from, const std::wstring& to, DWORD flags) override;
  DWORD OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                 FileHandle* handle) override;
  DWORD ReadFile(FileHandle handle, void* buffer, DWORD size, DWORD* read) override;
  DWORD WriteFile(FileHandle handle, const void* buffer, DWORD size, DWORD* written) override;
  DWORD SeekFile(FileHandle handle, std::uint64_t offset) override;
  DWORD GetFileSize(FileHandle handle, std::uint64_t* size) override;
  DWORD SetEndOfFile(FileHandle handle) override;
  DWORD FlushFile(FileHandle handle) override;
  DWORD CloseFile(FileHandle handle) override;
  DWORD GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) override;
  std::vector<std::wstring> GetLogicalDrives() override { return files_.GetLogicalDrives(); }
  DWORD GetDriveType(const std::wstring& root) override { return files_.GetDriveType(root); }
  DWORD GetVolumeInformation(const std::wstring& root, VolumeInfo* info) override {
    return files_.GetVolumeInformation(root, info);
  }
  DWORD GetDiskFreeSpace(const std::wstring& path, DiskSpace* space) override {
    return files_.GetDiskFreeSpace(path, space);
  }
  bool DisableFsRedirection(void** oldValue) override { return files_.DisableFsRedirection(oldValue); }
  bool RevertFsRedirection(void* oldValue) override { return files_.RevertFsRedirection(oldValue); }

 private:
  // The fault a call on `path` meets, carried out up to its answer: an error
  // to return, or ERROR_SUCCESS to go on with the call.
  DWORD Inject(SimCall call, const std::wstring& path);
  std::wstring HandlePath(FileHandle handle) const;

  SimFileSystem& files_;
  SimFaults& faults_;
  mutable std::mutex mutex_;
  std::map<FileHandle, std::wstring> handlePaths_;
  std::map<FindHandle, std::wstring> listingFolders_;
};

// The machine's registry with faults in front.
class FaultyRegistry : public IRegistryApi {
 public:
  FaultyRegistry(IRegistryApi& registry, SimFaults& faults) : registry_(registry), faults_(faults) {}

  LSTATUS OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override;
  LSTATUS CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) override;
  LSTATUS CloseKey(HKEY key) override { return registry_.CloseKey(key); }
  LSTATUS FlushKey(HKEY key) override;
  LSTATUS QueryInfoKey(HKEY key, RegKeyInfo* info) override;
  LSTATUS EnumKey(HKEY key, DWORD index, std::wstring* name) override;
  LSTATUS EnumValue(HKEY key, DWORD index, std::wstring* name) override;
  LSTATUS QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override;
  LSTATUS SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override;
  LSTATUS DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) override;
  LSTATUS DeleteValue(HKEY key, const std::wstring& name) override;

 private:
  LSTATUS Inject(SimCall call, const std::wstring& name);

  IRegistryApi& registry_;
  SimFaults& faults_;
};

// A machine's platform with its files and registry behind the faults; every
// other service is the machine's own. The machine must outlive it.
class FaultyPlatform : public Platform {
 public:
  explicit FaultyPlatform(SimMachine& machine);

  SimFaults faults;

 private:
  FaultyFileSystem faultyFiles_;
  FaultyRegistry faultyRegistry_;
};

}  // namespace orvix::sim
