// Paths in forced uninstall: what a chosen file, folder or shortcut stands
// for, whether it may be used, and what the bare-path run deletes and scans.
#pragma once

#include <string>
#include <vector>

namespace orvix {

// ".lnk", or ".ink" as some shortcut writers named them; any letter case.
bool IsShortcutName(const std::wstring& path);
// A drive path ("C:\...") or a network path ("\\server\..."): never one that
// depends on the current folder.
bool IsFullPath(const std::wstring& path);

// The target read from a shortcut file: LinkInfo's local path. Empty unless
// the file is a shell link that has LinkInfo naming a local path shorter
// than MAX_PATH; a damaged file gives nothing.
std::wstring ShortcutTargetFromFile(const std::wstring& shortcut);

// What a chosen path stands for. A shortcut gives way to its target when the
// file names an existing file, or when the shell's link object names an
// existing file or folder; a dangling shortcut stands for itself.
struct TForcedPath {
  std::wstring path;
  bool folderAllowed = false;  // the link object named a folder
  bool refused = false;        // the file named a folder
};
TForcedPath ResolveChosenPath(const std::wstring& chosen);

// A full path naming an existing file, or a folder where allowed, that
// IsOrdinaryFolder accepts (never a drive root or the Windows folder).
bool IsAcceptedForcedPath(const std::wstring& path, bool folderAllowed);

// The bare-path run: the files it deletes, each when it is an existing file
// named by a full path, each once.
struct TForcedDeletion {
  std::wstring path;
  bool deleted = false;
  std::wstring refusal;  // why the deletion guard kept it; empty when it was tried
};
std::vector<TForcedDeletion> DeleteForcedFiles(const std::wstring& forcedPath, const std::wstring& pathBoxPath);

// The folder the bare-path run scans: the path box's folder itself, else
// the folder of its file with a trailing backslash; empty for a shortcut,
// whose folder holds nothing of the program.
std::wstring BarePathScanFolder(const std::wstring& pathBoxPath);

}  // namespace orvix
