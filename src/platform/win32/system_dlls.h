// Where the programs load DLLs from. Run elevated from a folder anyone can
// write to (Downloads), a program that loads a DLL by its bare name picks up a
// DLL planted beside it before the system's own.
#pragma once

#include "platform/win32/windows_api.h"

namespace orvix::win32 {

// Called first thing by every program: DLLs loaded later by name, ours and
// those the system loads for us, come from System32 only. Where Windows lacks
// that (before 8, without its update) the current folder at least leaves
// the search.
void RestrictDllSearchToSystem();

// A system DLL by its bare name ("SrClient.dll"), from System32 only; null
// where it is missing.
HMODULE LoadSystemDll(const wchar_t* name);

// A function of a system DLL looked up at run time; null where the system
// lacks it.
template <typename Fn>
Fn SystemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = ::GetModuleHandleW(module);
  if (handle == nullptr) handle = LoadSystemDll(module);
  if (handle == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

}  // namespace orvix::win32
