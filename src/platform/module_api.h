// Libraries loaded at run time and their exported functions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace orvix {

using ModuleHandle = std::uintptr_t;

// A buffer an exported function writes into: the caller keeps a share of it
// to read the result.
using ExportBuffer = std::shared_ptr<std::vector<std::uint8_t>>;

// An argument of an exported stdcall function: a zero-terminated UTF-16
// text (read by the function), a 32-bit integer, or a buffer it writes.
using ExportArg = std::variant<std::wstring, std::int32_t, ExportBuffer>;

class IModuleApi {
 public:
  virtual ~IModuleApi() = default;
  // LoadLibraryW; 0 when the library cannot be loaded. Loaded libraries stay
  // loaded until the process ends.
  virtual ModuleHandle LoadLibrary(const std::wstring& path) = 0;
  // A system library by its bare name, from the system folder only (never
  // one placed beside the program); 0 when it is not there.
  virtual ModuleHandle LoadSystemLibrary(const std::wstring& name) = 0;
  // GetProcAddress by name.
  virtual bool HasExport(ModuleHandle module, const std::string& name) = 0;
  // Calls an exported stdcall function whose every argument is 32 bits
  // wide and which returns a 32-bit integer; 0 when there is no such export.
  virtual std::int32_t CallExport(ModuleHandle module, const std::string& name, const std::vector<ExportArg>& args) = 0;
};

}  // namespace orvix
