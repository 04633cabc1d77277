#include "inventory/analysis_date.h"

#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
#include "platform/system_info.h"
#include "platform/text.h"

namespace orvix {
namespace {

// An existing file becomes its folder (with the trailing backslash).
std::wstring FolderIfFile(const std::wstring& path) {
  if (!FileExists(path)) return path;
  const std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

// The local creation time of an existing file or folder; 0 otherwise.
TDateTime CreationDateOf(const std::wstring& path) {
  FileAttributeData data;
  if (path.empty() || CurrentPlatform().Files().GetAttributes(path, &data) != ERROR_SUCCESS) return 0;
  return FileTimeToLocalDate(data.creationTime);
}

// The uninstall command (or the icon, or for Windows Installer commands
// the readme) cleaned into a path and reduced to a folder when it is a file.
std::wstring UninstallerPathOf(const TSoftInfo& entry) {
  std::wstring path = CleanCommandText(UninstallerSource(entry.UninstallString, entry.DisplayIcon, entry.Readme));
  if (!FileExists(path)) path = CutAtExecutableExtension(path);
  return FolderIfFile(path);
}

}  // namespace

TDateEstimate EstimateInstallDate(const TSoftInfo& entry) {
  TDateEstimate estimate{0, entry.InstallDateText};
  estimate.date = CreationDateOf(UninstallerPathOf(entry));
  if (estimate.date == 0) estimate.date = CreationDateOf(FolderIfFile(entry.DisplayIcon));
  if (estimate.date != 0) estimate.text = FormatShortDate(estimate.date);
  return estimate;
}

bool LastAccessUpdatesOn() {
  constexpr wchar_t kFileSystemKey[] = L"\\SYSTEM\\CurrentControlSet\\Control\\FileSystem";
  constexpr wchar_t kValue[] = L"NtfsDisableLastAccessUpdate";
  const bool view64 = IsWow64();
  return RegValueExistsAt(L"HKEY_LOCAL_MACHINE", kFileSystemKey, kValue, view64) &&
         RegReadIntegerAt(L"HKEY_LOCAL_MACHINE", kFileSystemKey, kValue, view64) == 0;
}

TDateTime LastAccessDateOf(const TSoftInfo& entry, bool updatesOn) {
  FileAttributeData data;
  if (updatesOn && FileExists(entry.DisplayIcon) &&
      CurrentPlatform().Files().GetAttributes(entry.DisplayIcon, &data) == ERROR_SUCCESS) {
    if (const TDateTime date = FileTimeToLocalDate(data.lastAccessTime); date != 0) return date;
  }
  return NowLocal();
}

}  // namespace orvix
