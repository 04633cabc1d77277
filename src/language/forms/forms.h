// The windows as the language files see them: each window's or frame's name
// and the components it owns, with their built-in English captions, hints,
// items and columns. A window builds its control texts from its table (then
// from the selected language), and the build writes every table's section
// into English.lng, so the shipped file cannot drift from the program.
//
// To describe a new window: add a function below, define it in a file of
// this folder (see main_window_form.cpp), and add it to AllForms().
#pragma once

#include <string>
#include <vector>

#include "language/window_texts.h"

namespace orvix {

// The prefix of every section of this program's language files.
inline constexpr wchar_t kLanguageSectionPrefix[] = L"Uninstaller";

const TWindowTexts& MainWindowForm();       // "frmOrvixUninstall"
const TWindowTexts& SoftwareFrameForm();    // "Frame_Software"
const TWindowTexts& UninstallButtonForm();  // "frmUninstallButton"
const TWindowTexts& SettingsForm();         // "frmSetting"
const TWindowTexts& AboutForm();            // "frmAbout"
const TWindowTexts& UninstallingForm();     // "frmUninstalling"
const TWindowTexts& PowerScanForm();        // "frmPowerScan"

// Every window and frame, in the order English.lng lists them.
const std::vector<const TWindowTexts*>& AllForms();

// Shorthands for the tables.
TComponentTexts CaptionComponent(std::wstring name, TComponentKind kind, std::wstring caption);
TComponentTexts HintComponent(std::wstring name, std::wstring hint);
TComponentTexts ItemsComponent(std::wstring name, TComponentKind kind, std::vector<std::wstring> items);
TComponentTexts ListViewComponent(std::wstring name, std::vector<std::wstring> columns);

// The component of that name (compared exactly), or nullptr.
const TComponentTexts* FindComponent(const TWindowTexts& form, const std::wstring& name);

}  // namespace orvix
