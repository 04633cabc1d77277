// The settings dialog's logic without its window: the two automatic-mode
// check boxes and the interface language box. The window draws the model and
// forwards clicks; Cancel and the close button just close it, which writes
// nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvix {

class SettingsDialogModel {
 public:
  // `languages` are the display names of the language box in list order; the
  // one equal to `currentLanguage` ignoring case is shown (none when absent).
  // Both check boxes start from "Main.ini", which also refreshes the
  // process-wide flags.
  SettingsDialogModel(std::vector<std::wstring> languages, const std::wstring& currentLanguage);

  bool AutoUninstaller() const { return autoUninstaller_; }
  bool AutoPowerfulScan() const { return autoPowerfulScan_; }
  // A click on a check image or on its label.
  void ToggleAutoUninstaller();
  void ToggleAutoPowerfulScan();

  const std::vector<std::wstring>& Languages() const { return languages_; }
  // Position in Languages(), or -1 when none is shown.
  int SelectedLanguage() const { return selected_; }
  void SelectLanguage(int index);

  // Disabled until something is toggled or another language picked.
  bool OkEnabled() const { return changed_; }
  // Stores both check states in the process-wide flags and in "Main.ini".
  // Returns the display name to switch the interface to when the box shows
  // another language than at creation (the caller switches), else nullopt.
  // Does nothing while OK is disabled.
  std::optional<std::wstring> Ok();

 private:
  std::wstring ShownLanguage() const;

  std::vector<std::wstring> languages_;
  int selected_ = -1;
  std::wstring languageAtStart_;
  bool autoUninstaller_;
  bool autoPowerfulScan_;
  bool changed_ = false;
};

}  // namespace orvix
