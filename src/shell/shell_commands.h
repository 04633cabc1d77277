// What the main window's menus open outside the program: the product's web
// pages, the user manual, a web search for a program, and the system's
// restore program. Called by the main window's model.
#pragma once

#include <optional>
#include <string>

namespace orvix {

// The product's own web site; the pages below live under it.
inline constexpr wchar_t kProductSite[] = L"https://www.orvix-uninstaller.example";

// The feedback page with the program's file version ("unknown" when the
// program has none).
std::wstring TechnicalSupportAddress(const std::wstring& fileVersion);
std::wstring ProductSiteAddress();
std::wstring ForumAddress();
// The install folder (with its trailing backslash) + "Help.html".
std::wstring UserManualPath(const std::wstring& installFolder);

// The system's restore program: System32\rstrui.exe on Vista and every
// later Windows, System32\restore\rstrui.exe on XP; nothing for a Windows
// that has no such program (2000, NT, the 2003 server).
std::optional<std::wstring> RestoreProgramPath();
// The menu offers it everywhere but on Windows 2000.
bool RestorePointOffered();
// Starts the program with WOW64 file-system redirection off for the start:
// a 32-bit process would otherwise look for it in SysWOW64, which has none.
void StartRestoreProgram(const std::wstring& path);

}  // namespace orvix
