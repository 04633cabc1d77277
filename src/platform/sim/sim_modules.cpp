#include "platform/sim/sim_modules.h"

namespace orvix::sim {

ModuleHandle SimModules::LoadLibrary(const std::wstring& path) {
  if (path.find(L'\\') != std::wstring::npos) return Load(path);
  const std::wstring program = shell_.GetModuleFileName();
  const ModuleHandle beside = Load(program.substr(0, program.find_last_of(L'\\') + 1) + path);
  return beside != 0 ? beside : LoadSystemLibrary(path);
}

ModuleHandle SimModules::LoadSystemLibrary(const std::wstring& name) {
  return Load(shell_.GetSystemDirectory() + L"\\" + name);
}

ModuleHandle SimModules::Load(const std::wstring& path) {
  if (libraries_.find(path) == libraries_.end()) return 0;
  for (std::size_t i = 0; i < loaded_.size(); ++i) {
    if (SameText(loaded_[i], path)) return i + 1;
  }
  loaded_.push_back(path);
  return loaded_.size();
}

const SimExport* SimModules::Find(ModuleHandle module, const std::string& name) const {
  if (module == 0 || module > loaded_.size()) return nullptr;
  const SimLibrary& library = libraries_.find(loaded_[module - 1])->second;
  const auto it = library.exports.find(name);
  return it == library.exports.end() ? nullptr : &it->second;
}

bool SimModules::HasExport(ModuleHandle module, const std::string& name) { return Find(module, name) != nullptr; }

std::int32_t SimModules::CallExport(ModuleHandle module, const std::string& name, const std::vector<ExportArg>& args) {
  const SimExport* function = Find(module, name);
  if (function == nullptr) return 0;
  calls.push_back({loaded_[module - 1], name, args});
  return (*function)(args);
}

}  // namespace orvix::sim
