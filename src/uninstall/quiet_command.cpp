#include "uninstall/quiet_command.h"

#include <algorithm>
#include <string_view>

#include "inventory/analysis_icon.h"
#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "platform/view_paths.h"

namespace orvix {
namespace {

// Uninstallers are small; a larger file is not read whole for its marks.
constexpr std::uint64_t kMaxUninstallerSize = 16 << 20;

bool Holds(const Bytes& bytes, std::string_view mark) {
  return std::search(bytes.begin(), bytes.end(), mark.begin(), mark.end()) != bytes.end();
}

// The program file a command runs, when it exists.
std::wstring ExistingUninstallerFile(const std::wstring& command) {
  std::wstring file = CleanCommandText(command);
  if (!FileExists(file)) file = CutAtExecutableExtension(file);
  return FileExists(file) ? file : L"";
}

// Whether Windows Installer still lists the product the entry's key is
// named after (per machine or per user); a key not named by a product code
// says nothing more than that it exists.
bool InstallerListsProduct(const TSoftInfo& entry) {
  const std::wstring& key = entry.KeyPath;
  const std::wstring packed = PackedProductCode(key.substr(key.rfind(L'\\') + 1));
  if (packed.empty()) return true;
  return RegKeyExistsAt(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\Classes\\Installer\\Products\\" + packed, true) ||
         RegKeyExistsAt(L"HKEY_CURRENT_USER", L"\\Software\\Microsoft\\Installer\\Products\\" + packed, true);
}

}  // namespace

bool IsMsiexecCommand(const std::wstring& command) {
  const std::wstring lower = LowerCase(Trim(command));
  return StartsWithText(lower, L"msiexec") || StartsWithText(lower, L"\"msiexec");
}

TUninstallerKind UninstallerKindOf(const std::wstring& command) {
  if (IsMsiexecCommand(command)) return TUninstallerKind::WindowsInstaller;
  const std::wstring file = ExistingUninstallerFile(command);
  Bytes bytes;
  if (file.empty() || !ReadFileBytes(file, bytes, kMaxUninstallerSize)) return TUninstallerKind::Unknown;
  // NSIS: the signature of its data block and its manifest's name;
  // Inno Setup: the name in its uninstaller's resources.
  if (Holds(bytes, "NullsoftInst") || Holds(bytes, "Nullsoft Install System")) return TUninstallerKind::Nsis;
  if (Holds(bytes, "Inno Setup")) return TUninstallerKind::InnoSetup;
  return TUninstallerKind::Unknown;
}

bool IsStillInstalled(const TSoftInfo& entry, const std::wstring& command) {
  if (!RegKeyExistsAt(entry.RootName, entry.KeyPath, entry.IsX64)) return false;
  if (IsMsiexecCommand(command)) return InstallerListsProduct(entry);
  return !ExistingUninstallerFile(command).empty();
}

std::wstring QuietUninstallCommand(const TSoftInfo& entry) {
  const std::wstring recorded = PathTextForView(
      RegReadStringAt(entry.RootName, entry.KeyPath, L"QuietUninstallString", entry.IsX64), entry.IsX64);
  if (!Trim(recorded).empty()) return recorded;
  const std::wstring& command = entry.UninstallString;
  switch (UninstallerKindOf(command)) {
    case TUninstallerKind::WindowsInstaller: return command + L" /qn";
    case TUninstallerKind::Nsis: return command + L" /S";
    case TUninstallerKind::InnoSetup: return command + L" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART";
    case TUninstallerKind::Unknown: break;
  }
  return {};
}

}  // namespace orvix
