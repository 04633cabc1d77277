// The floating button's two captions: one per page of the main window.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& UninstallButtonForm() {
  static const TWindowTexts kForm = {
      L"frmUninstallButton",
      {
          CaptionComponent(L"Label_Uninstall", ckLabel, L"Uninstall"),
          CaptionComponent(L"Label_Remove", ckLabel, L"Remove"),
      },
  };
  return kForm;
}

}  // namespace orvix
