#include "uninstall/forced_path.h"

#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/shell_link_file.h"
#include "platform/text.h"
#include "uninstall/deletion_guard.h"

namespace orvix {
namespace {

constexpr std::size_t kMaxPath = 260;

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

bool IsShortcutName(const std::wstring& path) { return EndsWithText(path, L".lnk") || EndsWithText(path, L".ink"); }

bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return true;
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

std::wstring ShortcutTargetFromFile(const std::wstring& shortcut) {
  const auto link = ReadShellLinkFile(shortcut);
  // LinkInfoFlags stays 0 unless the header says LinkInfo follows and it was read whole.
  if (!link || !(link->LinkFlags & kLinkHasLinkInfo) || !(link->LinkInfoFlags & kLinkInfoLocalPath)) return {};
  std::wstring target = link->LocalBasePath + link->CommonPathSuffix;
  if (link->LocalBasePath.empty() || target.size() >= kMaxPath) return {};
  return target;
}

TForcedPath ResolveChosenPath(const std::wstring& chosen) {
  if (!IsShortcutName(chosen)) return {chosen};
  if (const std::wstring target = ShortcutTargetFromFile(chosen); !target.empty()) {
    if (FileExists(target)) return {target};
    if (DirectoryExists(target)) return {chosen, false, true};
    return {chosen};
  }
  const std::wstring target = CurrentPlatform().Shell().GetShortcutPath(chosen);
  if (!target.empty() && FileExists(target)) return {target};
  if (!target.empty() && DirectoryExists(target)) return {target, true};
  return {chosen};
}

bool IsAcceptedForcedPath(const std::wstring& path, bool folderAllowed) {
  if (!IsFullPath(path)) return false;
  if (!FileExists(path) && !(folderAllowed && DirectoryExists(path))) return false;
  return IsOrdinaryFolder(path);
}

std::vector<TForcedDeletion> DeleteForcedFiles(const std::wstring& forcedPath, const std::wstring& pathBoxPath) {
  std::vector<TForcedDeletion> deletions;
  const TDeletionGuard guard;
  for (const std::wstring& path : {forcedPath, pathBoxPath}) {
    if (!IsFullPath(path) || !FileExists(path)) continue;
    if (!deletions.empty() && SameText(deletions.front().path, path)) continue;
    std::wstring refusal = guard.RefuseFile(path);
    const bool deleted = refusal.empty() && CurrentPlatform().Files().DeleteFile(path) == ERROR_SUCCESS;
    deletions.push_back({path, deleted, std::move(refusal)});
  }
  return deletions;
}

std::wstring BarePathScanFolder(const std::wstring& pathBoxPath) {
  if (DirectoryExists(pathBoxPath)) return pathBoxPath;
  if (EndsWithText(pathBoxPath, L".lnk")) return {};
  const std::size_t slash = pathBoxPath.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring{} : pathBoxPath.substr(0, slash + 1);
}

}  // namespace orvix
