// The About box's components: title, product name, the fixed legal and
// credit lines, and its one button. The version line is built in code.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& AboutForm() {
  static const TWindowTexts kForm = {
      L"frmAbout",
      {
          CaptionComponent(L"lblTitle", ckLabel, L"About Orvix Uninstaller"),
          CaptionComponent(L"lblProduct", ckLabel, L"Orvix Uninstaller"),
          CaptionComponent(L"lblDescription", ckLabel,
                           L"Removes programs with their own uninstallers, then finds and removes what they "
                           L"leave behind."),
          CaptionComponent(L"lblCopyright", ckLabel, L"Copyright \u00A9 2026 Orvix. All rights reserved."),
          CaptionComponent(L"lblCredits", ckLabel,
                           L"Built with SQLite, zlib and libgcrypt."),
          CaptionComponent(L"RdImageButton_Close", ckImageButton, L"Close"),
      },
  };
  return kForm;
}

}  // namespace orvix
