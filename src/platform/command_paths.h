// Turning the messy texts installers leave in the registry (uninstall
// commands, icon references, install locations) into files and folders.
#pragma once

#include <string>

namespace orvix {

// The file a command line or an icon reference ("...\shell32.dll,-154") names.
std::wstring CommandToFilePath(const std::wstring& command);
// An uninstall command cleaned of quotes, "\??\", doubled backslashes, folder
// macros, host programs (at the start or after a space) and the switches of
// the Visual Basic and driver package uninstallers, trimmed.
std::wstring CleanCommandText(const std::wstring& text);
// The install location cleaned of quotes, macros and host programs, when it
// names an existing folder; else empty.
std::wstring CleanInstallLocation(const std::wstring& text);
// The program's folder read from its uninstall command (or icon, or for
// Windows Installer commands its readme text); empty unless it exists and
// may stand for the program's own folder (IsProgramFolderFromCommand).
// The text that names the program's uninstaller: the uninstall command, else
// the icon; the readme for Windows Installer commands, which name no file of
// the program.
const std::wstring& UninstallerSource(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                      const std::wstring& readme);
std::wstring FolderFromUninstallCommand(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                        const std::wstring& readme);
// The same folder whether or not it still exists: what the registry of a
// removed program still points into.
std::wstring FolderNamedByUninstallCommand(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                           const std::wstring& readme);
// Cuts the text right after the first executable extension (".exe", ".dll"...).
std::wstring CutAtExecutableExtension(const std::wstring& text);
// False for folders that are never one program's own: paths with
// placeholders and every protected location (drive roots, the system's
// folders, Program Files and Common Files, ProgramData, every user folder
// and whatever holds one).
bool IsOrdinaryFolder(const std::wstring& path);
// Whether a folder lies in a Common Files folder (either view), as written
// or where it leads through short names, ".." and links: installer engines
// and runtimes that many programs use live there.
bool IsInSharedFolder(const std::wstring& path);
// Whether a folder found through a command or an icon may be taken as the
// program's own install folder: an ordinary folder outside the shared ones.
// A folder an installer recorded as its location needs only be ordinary.
bool IsProgramFolderFromCommand(const std::wstring& path);
// Form encoding in the ANSI code page ("a b&c" -> "a+b%26c").
std::wstring UrlEncode(const std::wstring& text);
// The same over the text's UTF-8 bytes, as web search addresses take it.
std::wstring UrlEncodeUtf8(const std::wstring& text);

}  // namespace orvix
