#include "platform/sim/sim_faults.h"

#include <stdexcept>

#include "platform/text.h"

namespace orvix::sim {

void SimFaults::Add(Fault fault) {
  std::lock_guard lock(mutex_);
  faults_.push_back({std::move(fault), 0});
}

void SimFaults::Clear() {
  std::lock_guard lock(mutex_);
  faults_.clear();
  calls_ = 0;
  fired_ = 0;
}

unsigned SimFaults::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

unsigned SimFaults::Fired() const {
  std::lock_guard lock(mutex_);
  return fired_;
}

std::optional<Fault> SimFaults::Meet(SimCall call, const std::wstring& path) {
  std::lock_guard lock(mutex_);
  ++calls_;
  std::optional<Fault> met;
  for (Armed& armed : faults_) {
    const Fault& fault = armed.fault;
    if (fault.call && *fault.call != call) continue;
    if (!fault.path.empty() && !SameText(fault.path, path)) continue;
    ++armed.seen;
    if (!met && (fault.nth == 0 || fault.nth == armed.seen)) met = fault;
  }
  if (met) ++fired_;
  return met;
}

namespace {

// The folder of a listing's pattern, with its backslash: "C:\Foo\" of "C:\Foo\*".
std::wstring PatternFolder(const std::wstring& pattern) {
  const std::size_t slash = pattern.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : pattern.substr(0, slash + 1);
}

// Removing what a test machine holds throws for a path it cannot store
// (a pattern, a "\\?\" form): such a path has nothing to vanish.
void RemoveIfThere(SimFileSystem& files, const std::wstring& path) {
  try {
    if (files.Exists(path)) files.Remove(path);
  } catch (const std::invalid_argument&) {
  }
}

}  // namespace

DWORD FaultyFileSystem::Inject(SimCall call, const std::wstring& path) {
  const std::optional<Fault> fault = faults_.Meet(call, path);
  if (!fault) return ERROR_SUCCESS;
  switch (fault->effect) {
    case FaultEffect::Crash: throw SimCrash{};
    case FaultEffect::Vanish: RemoveIfThere(files_, path); return ERROR_SUCCESS;
    case FaultEffect::Fail: break;
  }
  return fault->error;
}

std::wstring FaultyFileSystem::HandlePath(FileHandle handle) const {
  std::lock_guard lock(mutex_);
  const auto found = handlePaths_.find(handle);
  return found == handlePaths_.end() ? std::wstring() : found->second;
}

DWORD FaultyFileSystem::FindFirst(const std::wstring& pattern, FindData* data, FindHandle* handle) {
  const std::optional<Fault> fault = faults_.Meet(SimCall::FindFirst, pattern);
  if (fault && fault->effect == FaultEffect::Crash) throw SimCrash{};
  if (fault && fault->effect == FaultEffect::Fail) return fault->error;
  const DWORD status = files_.FindFirst(pattern, data, handle);
  if (status != ERROR_SUCCESS) return status;
  const std::wstring folder = PatternFolder(pattern);
  {
    std::lock_guard lock(mutex_);
    listingFolders_[*handle] = folder;
  }
  if (fault && data->name != L"." && data->name != L"..") RemoveIfThere(files_, folder + data->name);
  return status;
}

DWORD FaultyFileSystem::FindNext(FindHandle handle, FindData* data) {
  std::wstring folder;
  {
    std::lock_guard lock(mutex_);
    const auto found = listingFolders_.find(handle);
    if (found != listingFolders_.end()) folder = found->second;
  }
  const std::optional<Fault> fault = faults_.Meet(SimCall::FindNext, folder);
  if (fault && fault->effect == FaultEffect::Crash) throw SimCrash{};
  if (fault && fault->effect == FaultEffect::Fail) return fault->error;
  const DWORD status = files_.FindNext(handle, data);
  if (fault && status == ERROR_SUCCESS && data->name != L"." && data->name != L"..") {
    RemoveIfThere(files_, folder + data->name);
  }
  return status;
}

void FaultyFileSystem::FindClose(FindHandle handle) {
  {
    std::lock_guard lock(mutex_);
    listingFolders_.erase(handle);
  }
  files_.FindClose(handle);
}

DWORD FaultyFileSystem::GetAttributes(const std::wstring& path, FileAttributeData* data) {
  if (const DWORD error = Inject(SimCall::GetAttributes, path)) return error;
  return files_.GetAttributes(path, data);
}

DWORD FaultyFileSystem::SetAttributes(const std::wstring& path, DWORD attributes) {
  if (const DWORD error = Inject(SimCall::SetAttributes, path)) return error;
  return files_.SetAttributes(path, attributes);
}

DWORD FaultyFileSystem::GetLongPathName(const std::wstring& path, std::wstring* longPath) {
  if (const DWORD error = Inject(SimCall::GetLongPathName, path)) return error;
  return files_.GetLongPathName(path, longPath);
}

DWORD FaultyFileSystem::GetShortPathName(const std::wstring& path, std::wstring* shortPath) {
  if (const DWORD error = Inject(SimCall::GetShortPathName, path)) return error;
  return files_.GetShortPathName(path, shortPath);
}

DWORD FaultyFileSystem::GetFinalPathName(const std::wstring& path, std::wstring* finalPath) {
  if (const DWORD error = Inject(SimCall::GetFinalPathName, path)) return error;
  return files_.GetFinalPathName(path, finalPath);
}

DWORD FaultyFileSystem::GetLinkCount(const std::wstring& path, DWORD* links) {
  if (const DWORD error = Inject(SimCall::GetLinkCount, path)) return error;
  return files_.GetLinkCount(path, links);
}

DWORD FaultyFileSystem::CreateDirectory(const std::wstring& path) {
  if (const DWORD error = Inject(SimCall::CreateDirectory, path)) return error;
  return files_.CreateDirectory(path);
}

DWORD FaultyFileSystem::RemoveDirectory(const std::wstring& path) {
  if (const DWORD error = Inject(SimCall::RemoveDirectory, path)) return error;
  return files_.RemoveDirectory(path);
}

DWORD FaultyFileSystem::DeleteFile(const std::wstring& path) {
  if (const DWORD error = Inject(SimCall::DeleteFile, path)) return error;
  return files_.DeleteFile(path);
}

DWORD FaultyFileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool failIfExists) {
  if (const DWORD error = Inject(SimCall::CopyFile, from)) return error;
  return files_.CopyFile(from, to, failIfExists);
}

DWORD FaultyFileSystem::MoveFile(const std::wstring& from, const std::wstring& to, DWORD flags) {
  if (const DWORD error = Inject(SimCall::MoveFile, from)) return error;
  return files_.MoveFile(from, to, flags);
}

DWORD FaultyFileSystem::OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                 FileHandle* handle) {
  if (const DWORD error = Inject(SimCall::OpenFile, path)) return error;
  const DWORD status = files_.OpenFile(path, access, share, disposition, handle);
  if (status == ERROR_SUCCESS) {
    std::lock_guard lock(mutex_);
    handlePaths_[*handle] = path;
  }
  return status;
}

DWORD FaultyFileSystem::ReadFile(FileHandle handle, void* buffer, DWORD size, DWORD* read) {
  if (const DWORD error = Inject(SimCall::ReadFile, HandlePath(handle))) return error;
  return files_.ReadFile(handle, buffer, size, read);
}

DWORD FaultyFileSystem::WriteFile(FileHandle handle, const void* buffer, DWORD size, DWORD* written) {
  if (const DWORD error = Inject(SimCall::WriteFile, HandlePath(handle))) {
    *written = 0;
    // A disk that fills up mid-write keeps what fitted.
    if (error == ERROR_DISK_FULL) files_.WriteFile(handle, buffer, size / 2, written);
    return error;
  }
  return files_.WriteFile(handle, buffer, size, written);
}

DWORD FaultyFileSystem::SeekFile(FileHandle handle, std::uint64_t offset) {
  if (const DWORD error = Inject(SimCall::SeekFile, HandlePath(handle))) return error;
  return files_.SeekFile(handle, offset);
}

DWORD FaultyFileSystem::GetFileSize(FileHandle handle, std::uint64_t* size) {
  if (const DWORD error = Inject(SimCall::GetFileSize, HandlePath(handle))) return error;
  return files_.GetFileSize(handle, size);
}

DWORD FaultyFileSystem::SetEndOfFile(FileHandle handle) {
  if (const DWORD error = Inject(SimCall::SetEndOfFile, HandlePath(handle))) return error;
  return files_.SetEndOfFile(handle);
}

DWORD FaultyFileSystem::FlushFile(FileHandle handle) {
  if (const DWORD error = Inject(SimCall::FlushFile, HandlePath(handle))) return error;
  return files_.FlushFile(handle);
}

DWORD FaultyFileSystem::CloseFile(FileHandle handle) {
  {
    std::lock_guard lock(mutex_);
    handlePaths_.erase(handle);
  }
  return files_.CloseFile(handle);
}

DWORD FaultyFileSystem::GetTempFileName(const std::wstring& folder, const std::wstring& prefix, std::wstring* path) {
  if (const DWORD error = Inject(SimCall::GetTempFileName, folder)) return error;
  return files_.GetTempFileName(folder, prefix, path);
}

LSTATUS FaultyRegistry::Inject(SimCall call, const std::wstring& name) {
  const std::optional<Fault> fault = faults_.Meet(call, name);
  if (!fault) return ERROR_SUCCESS;
  switch (fault->effect) {
    case FaultEffect::Crash: throw SimCrash{};
    case FaultEffect::Vanish: return ERROR_SUCCESS;
    case FaultEffect::Fail: break;
  }
  return static_cast<LSTATUS>(fault->error);
}

LSTATUS FaultyRegistry::OpenKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) {
  if (const LSTATUS error = Inject(SimCall::RegOpenKey, subKey)) return error;
  return registry_.OpenKey(parent, subKey, access, result);
}

LSTATUS FaultyRegistry::CreateKey(HKEY parent, const std::wstring& subKey, REGSAM access, HKEY* result) {
  if (const LSTATUS error = Inject(SimCall::RegCreateKey, subKey)) return error;
  return registry_.CreateKey(parent, subKey, access, result);
}

LSTATUS FaultyRegistry::FlushKey(HKEY key) {
  if (const LSTATUS error = Inject(SimCall::RegFlushKey, L"")) return error;
  return registry_.FlushKey(key);
}

LSTATUS FaultyRegistry::QueryInfoKey(HKEY key, RegKeyInfo* info) {
  if (const LSTATUS error = Inject(SimCall::RegQueryInfoKey, L"")) return error;
  return registry_.QueryInfoKey(key, info);
}

LSTATUS FaultyRegistry::EnumKey(HKEY key, DWORD index, std::wstring* name) {
  if (const LSTATUS error = Inject(SimCall::RegEnumKey, L"")) return error;
  return registry_.EnumKey(key, index, name);
}

LSTATUS FaultyRegistry::EnumValue(HKEY key, DWORD index, std::wstring* name) {
  if (const LSTATUS error = Inject(SimCall::RegEnumValue, L"")) return error;
  return registry_.EnumValue(key, index, name);
}

LSTATUS FaultyRegistry::QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) {
  if (const LSTATUS error = Inject(SimCall::RegQueryValue, name)) return error;
  return registry_.QueryValue(key, name, type, data, size);
}

LSTATUS FaultyRegistry::SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) {
  if (const LSTATUS error = Inject(SimCall::RegSetValue, name)) return error;
  return registry_.SetValue(key, name, type, data, size);
}

LSTATUS FaultyRegistry::DeleteKey(HKEY parent, const std::wstring& subKey, REGSAM viewSam) {
  if (const LSTATUS error = Inject(SimCall::RegDeleteKey, subKey)) return error;
  return registry_.DeleteKey(parent, subKey, viewSam);
}

LSTATUS FaultyRegistry::DeleteValue(HKEY key, const std::wstring& name) {
  if (const LSTATUS error = Inject(SimCall::RegDeleteValue, name)) return error;
  return registry_.DeleteValue(key, name);
}

FaultyPlatform::FaultyPlatform(SimMachine& machine)
    : faultyFiles_(machine.files, faults), faultyRegistry_(machine.registry, faults) {
  registry_ = &faultyRegistry_;
  files_ = &faultyFiles_;
  system_ = &machine.system;
  registryEditor_ = &machine.registryEditor;
  clock_ = &machine.clock;
  locale_ = &machine.locale;
  versions_ = &machine.versions;
  modules_ = &machine.modules;
  processes_ = &machine.processes;
  shell_ = &machine.shell;
  icons_ = &machine.icons;
}

}  // namespace orvix::sim
