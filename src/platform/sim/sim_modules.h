// Libraries a test places on the simulated machine: named exports backed by
// functions, every call recorded. A bare name is searched as Windows does by
// default: the program's folder first, then System32.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/module_api.h"
#include "platform/sim/sim_shell.h"
#include "platform/text.h"

namespace orvix::sim {

using SimExport = std::function<std::int32_t(const std::vector<ExportArg>&)>;

struct SimLibrary {
  std::map<std::string, SimExport> exports;
};

struct SimExportCall {
  std::wstring library;
  std::string name;
  std::vector<ExportArg> args;
};

class SimModules : public IModuleApi {
 public:
  // `shell` tells the program's folder and System32; it is used only once
  // a library is loaded.
  explicit SimModules(SimShell& shell) : shell_(shell) {}

  ModuleHandle LoadLibrary(const std::wstring& path) override;
  ModuleHandle LoadSystemLibrary(const std::wstring& name) override;
  bool HasExport(ModuleHandle module, const std::string& name) override;
  std::int32_t CallExport(ModuleHandle module, const std::string& name, const std::vector<ExportArg>& args) override;

  void Install(const std::wstring& path, SimLibrary library) { libraries_[path] = std::move(library); }

  std::vector<SimExportCall> calls;

 private:
  const SimExport* Find(ModuleHandle module, const std::string& name) const;
  ModuleHandle Load(const std::wstring& path);

  SimShell& shell_;

  std::map<std::wstring, SimLibrary, TextLess> libraries_;
  std::vector<std::wstring> loaded_;  // a handle is its index + 1
};

}  // namespace orvix::sim
