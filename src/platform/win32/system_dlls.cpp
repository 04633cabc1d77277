#include "platform/win32/system_dlls.h"

#include <string>

namespace orvix::win32 {
namespace {

// From the Windows 8 headers, which the toolchain may not target.
constexpr ::DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Looked up in the already loaded kernel32, never loaded by name.
template <typename Fn>
Fn Kernel32Function(const char* name) {
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  return kernel32 == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel32, name)));
}

// The LOAD_LIBRARY_SEARCH_ flags came with AddDllDirectory.
bool HasSearchFlags() {
  static const bool has = Kernel32Function<void*>("AddDllDirectory") != nullptr;
  return has;
}

}  // namespace

void RestrictDllSearchToSystem() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(::DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(const wchar_t*);
  if (const auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories")) {
    if (setDefault(kSearchSystem32)) return;
  }
  if (const auto setDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryW")) setDirectory(L"");
}

HMODULE LoadSystemDll(const wchar_t* name) {
  if (HasSearchFlags()) return ::LoadLibraryExW(name, nullptr, kSearchSystem32);
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return ::LoadLibraryW((std::wstring(folder, length) + L"\\" + name).c_str());
}

}  // namespace orvix::win32
