// Memory in another process through VirtualAllocEx and Read/WriteProcessMemory.
#include "automation/remote_memory.h"

#include <vector>

namespace orvix::automation {
namespace {

HANDLE OpenOwner(HWND window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return nullptr;
  return ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                       FALSE, processId);
}

bool IsWow64(HANDLE process) {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(process, &wow64) && wow64;
}

}  // namespace

RemoteMemory::RemoteMemory(HWND window, size_t size) : process_(OpenOwner(window)) {
  if (process_)
    address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
  if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_) ::CloseHandle(process_);
}

bool RemoteMemory::Write(size_t offset, const void* data, size_t size) const {
  SIZE_T written = 0;
  return address_ && ::WriteProcessMemory(process_, At(offset), data, size, &written) && written == size;
}

bool RemoteMemory::Read(size_t offset, void* data, size_t size) const {
  SIZE_T read = 0;
  return address_ && ::ReadProcessMemory(process_, At(offset), data, size, &read) && read == size;
}

std::wstring RemoteMemory::ReadText(size_t offset, size_t maxChars) const {
  std::vector<wchar_t> buffer(maxChars + 1, L'\0');
  if (!Read(offset, buffer.data(), maxChars * sizeof(wchar_t))) return {};
  return std::wstring(buffer.data());
}

bool SameBitness(HWND window) {
  const HANDLE process = OpenOwner(window);
  if (!process) return false;
  const bool same = IsWow64(process) == IsWow64(::GetCurrentProcess());
  ::CloseHandle(process);
  return same;
}

}  // namespace orvix::automation
