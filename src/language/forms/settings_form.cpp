// The settings dialog's components: its title, the two automatic modes, the
// language box's label and the buttons.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& SettingsForm() {
  static const TWindowTexts kForm = {
      L"frmSetting",
      {
          CaptionComponent(L"lblTitle", ckLabel, L"Settings"),
          CaptionComponent(L"lbl_AutoUninstaller", ckLabel, L"Uninstall program automatically"),
          CaptionComponent(L"lbl_AutoPowerfulScan", ckLabel, L"Powserful scan in automatic"),
          CaptionComponent(L"lbl_CurrentLanguage", ckLabel, L"Current Language:"),
          CaptionComponent(L"RdImageButton_OK", ckImageButton, L"OK"),
          CaptionComponent(L"RdImageButton_Cancel", ckImageButton, L"Cancel"),
      },
  };
  return kForm;
}

}  // namespace orvix
