#include "shell/shell_commands.h"

#include "platform/command_paths.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {

std::wstring TechnicalSupportAddress(const std::wstring& fileVersion) {
  const std::wstring version = fileVersion.empty() || SameText(fileVersion, L"Unknown") ? L"unknown" : fileVersion;
  return std::wstring(kProductSite) + L"/productfeedback.php?product=orvix-uninstaller&ver=" + UrlEncodeUtf8(version);
}

std::wstring ProductSiteAddress() { return std::wstring(kProductSite) + L"/"; }

std::wstring ForumAddress() { return std::wstring(kProductSite) + L"/forum/orvix-uninstaller"; }

std::wstring UserManualPath(const std::wstring& installFolder) {
  std::wstring path = installFolder;
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + L"Help.html";
}

std::optional<std::wstring> RestoreProgramPath() {
  const std::wstring system = CurrentPlatform().Shell().GetSystemDirectory();
  if (CurrentPlatform().System().OsVersion().major >= 6) return system + L"\\rstrui.exe";
  if (OsName() == L"Windows XP") return system + L"\\restore\\rstrui.exe";
  return std::nullopt;
}

bool RestorePointOffered() { return OsName() != L"Windows 2000"; }

void StartRestoreProgram(const std::wstring& path) {
  void* old = nullptr;
  const bool off = CurrentPlatform().System().IsWow64Process() && DisableFsRedirection(&old);
  RunShellCommand(path);
  if (off) RevertFsRedirection(old);
}

}  // namespace orvix
