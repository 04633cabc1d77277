// Libraries loaded at run time and their exported functions.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orvix {

using ModuleHandle = std::uintptr_t;

// An argument of an exported stdcall function: a zero-terminated UTF-16
// text or a 32-bit integer.
using ExportArg = std::variant<std::wstring, std::int32_t>;

class IModuleApi {
 public:
  virtual ~IModuleApi() = default;
  // LoadLibraryW; 0 when the library cannot be loaded. Loaded libraries stay
  // loaded until the process ends.
  virtual ModuleHandle LoadLibrary(const std::wstring& path) = 0;
  // GetProcAddress by name.
  virtual bool HasExport(ModuleHandle module, const std::string& name) = 0;
  // Calls an exported stdcall function whose every argument is 32 bits
  // wide and which returns a 32-bit integer; 0 when there is no such export.
  virtual std::int32_t CallExport(ModuleHandle module, const std::string& name, const std::vector<ExportArg>& args) = 0;
};

}  // namespace orvix
