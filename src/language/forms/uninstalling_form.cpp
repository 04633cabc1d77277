// The uninstall window's fixed components. Its caption, question, title,
// detail and result lines change with its state and come from its model.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& UninstallingForm() {
  static const TWindowTexts kForm = {
      L"frmUninstalling",
      {
          CaptionComponent(L"lbl_CreateRestore_Check", ckButton,
                           L"Create restore point before uninstalling (It will take some time)"),
          CaptionComponent(L"lblPowerfulScan", ckLabel, L"Powerful Scan."),
          CaptionComponent(L"lblPowerfulScanTip", ckLabel,
                           L"Click Powerful Scan to clean remnants of the program. Click Cancel to complete"),
          CaptionComponent(L"RdImageButton_Uninstall", ckImageButton, L"Uninstall"),
          CaptionComponent(L"RdImageButton_PowerFulScan", ckImageButton, L"Powerful Scan"),
          CaptionComponent(L"RdImageButton_Cancel", ckImageButton, L"Cancel"),
      },
  };
  return kForm;
}

}  // namespace orvix
