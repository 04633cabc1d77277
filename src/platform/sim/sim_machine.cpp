#include "platform/sim/sim_machine.h"

#include "platform/sim/reg_file.h"

namespace orvix::sim {

std::wstring SimSystem::SystemErrorText(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS: return L"The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return L"The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND: return L"The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED: return L"Access is denied.";
    default: return L"Error " + std::to_wstring(code) + L".";
  }
}

SimMachine::SimMachine(const MachineOptions& options) : registry(options.bitness), system(options) {
  registry_ = &registry;
  system_ = &system;
  registryEditor_ = &registryEditor;
}

void SimMachine::ImportReg(std::wstring_view text) { ImportRegText(registry, text); }

}  // namespace orvix::sim
