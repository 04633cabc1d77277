// Starting the separate updater program, when one is registered: once
// automatically shortly after start-up and on the menu's "Check for updates".
// Nothing is started or reported when the updater, its file or the
// program's own uninstall entry is missing.
#pragma once

#include <string>

namespace orvix {

enum class TUpdaterMode { Auto, Manual };

// HKLM (32-bit view) key whose "AppPath" names the updater executable.
inline constexpr wchar_t kUpdaterKey[] = L"\\SOFTWARE\\Orvix\\Vantrel";

// The updater's parameters: the mode text, the installed executable's path
// in quotes, its folder in quotes after "/location" and the language after
// "/language" (two blanks after "/fn" in the automatic form, one in the
// manual one).
std::wstring UpdaterParameters(TUpdaterMode mode, const std::wstring& executable, const std::wstring& folder,
                               const std::wstring& language);

// Runs the updater with ShellExecute ("open", shown normally) when it is
// registered and present; true when the shell took the request.
bool LaunchUpdater(TUpdaterMode mode, const std::wstring& language);

}  // namespace orvix
