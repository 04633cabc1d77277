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
// is an ordinary folder.
std::wstring FolderFromUninstallCommand(const std::wstring& uninstallString, const std::wstring& displayIcon,
                                        const std::wstring& readme);
// Cuts the text right after the first executable extension (".exe", ".dll"...).
std::wstring CutAtExecutableExtension(const std::wstring& text);
// False for folders that are never one program's own: paths with
// placeholders and every protected location (drive roots, the system's
// folders, Program Files and Common Files, ProgramData, every user folder
// and whatever holds one).
bool IsOrdinaryFolder(const std::wstring& path);
// Form encoding in the ANSI code page ("a b&c" -> "a+b%26c").
std::wstring UrlEncode(const std::wstring& text);
// The same over the text's UTF-8 bytes, as web search addresses take it.
std::wstring UrlEncodeUtf8(const std::wstring& text);

}  // namespace orvix
