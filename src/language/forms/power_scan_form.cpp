// The review window's fixed components. The tree's nodes, the select-all
// label, the warning and the progress line come from its model.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& PowerScanForm() {
  static const TWindowTexts kForm = {
      L"frmPowerScan",
      {
          CaptionComponent(L"lblTitle", ckLabel, L"Powerful Scan"),
          CaptionComponent(L"lblFindings", ckLabel, L"Leftovers found. Check what to delete:"),
          CaptionComponent(L"CheckBox_FileShredder", ckButton, L"File Shredder"),
          CaptionComponent(L"lblShredding", ckLabel, L"Shredding the files now. It may take some time, please wait..."),
          CaptionComponent(L"RdImageButton_Delete", ckImageButton, L"Delete"),
          CaptionComponent(L"RdImageButton_Cancel", ckImageButton, L"Cancel"),
          CaptionComponent(L"Menu_ListView_Path", ckMenuItem, L"Open file location"),
          CaptionComponent(L"Menu_ListView_Regedit", ckMenuItem, L"Open in Registry Editor"),
      },
  };
  return kForm;
}

}  // namespace orvix
