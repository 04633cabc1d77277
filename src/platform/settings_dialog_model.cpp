#include "platform/settings_dialog_model.h"

#include "platform/settings.h"
#include "platform/text.h"

namespace orvix {

SettingsDialogModel::SettingsDialogModel(std::vector<std::wstring> languages, const std::wstring& currentLanguage)
    : languages_(std::move(languages)),
      autoUninstaller_(ReadAutoUninstaller()),
      autoPowerfulScan_(ReadAutoPowerfulScan()) {
  for (std::size_t i = 0; i < languages_.size() && selected_ < 0; ++i) {
    if (SameText(languages_[i], currentLanguage)) selected_ = static_cast<int>(i);
  }
  languageAtStart_ = ShownLanguage();
}

std::wstring SettingsDialogModel::ShownLanguage() const {
  return selected_ < 0 ? std::wstring() : languages_[static_cast<std::size_t>(selected_)];
}

void SettingsDialogModel::ToggleAutoUninstaller() {
  autoUninstaller_ = !autoUninstaller_;
  changed_ = true;
}

void SettingsDialogModel::ToggleAutoPowerfulScan() {
  autoPowerfulScan_ = !autoPowerfulScan_;
  changed_ = true;
}

void SettingsDialogModel::SelectLanguage(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= languages_.size() || index == selected_) return;
  selected_ = index;
  changed_ = true;
}

std::optional<std::wstring> SettingsDialogModel::Ok() {
  if (!changed_) return std::nullopt;
  WriteAutoUninstaller(autoUninstaller_);
  WriteAutoPowerfulScan(autoPowerfulScan_);
  // The window compares display names exactly, as they came from the box.
  const std::wstring shown = ShownLanguage();
  if (shown == languageAtStart_) return std::nullopt;
  return shown;
}

}  // namespace orvix
