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

SimMachine::SimMachine(const MachineOptions& options)
    : registry(options.bitness),
      system(options),
      processes(clock, [this](const std::wstring& path) {
        FileAttributeData data;
        return files_ != nullptr && files_->GetAttributes(path, &data) == ERROR_SUCCESS &&
               (data.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
      }),
      files(options.bitness, options.os, &clock),
      shell(files, options.bitness, options.os, options.userName) {
  registry_ = &registry;
  system_ = &system;
  registryEditor_ = &registryEditor;
  clock_ = &clock;
  locale_ = &locale;
  versions_ = &versions;
  modules_ = &modules;
  processes_ = &processes;
  files_ = &files;
  shell_ = &shell;
  icons_ = &icons;
  windows_ = &windows;
  // What Windows keeps about the machine from its first start.
  shell.WriteRegistryFolders(registry);
  processes.SetSelf(shell.GetModuleFileName());
}

void SimMachine::ImportReg(std::wstring_view text) { ImportRegText(registry, text); }

}  // namespace orvix::sim
