// The settings dialog (TfrmSetting) over SettingsDialogModel: the two
// automatic modes and the interface language. Opened by the main window's
// Settings command.
#pragma once

#include <functional>
#include <string>

#include "language/language.h"
#include "ui/win.h"

namespace orvix::ui {

// Shows the dialog modally over `owner`; the language box lists the files
// of `language`'s folder. OK with another language calls `switchLanguage`
// with its display name, which switches every open window at once.
void ShowSettingsDialog(HWND owner, TLanguage& language,
                        const std::function<bool(const std::wstring& displayName)>& switchLanguage);

}  // namespace orvix::ui
