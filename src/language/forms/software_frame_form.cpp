// The software page's components: the five category tabs, the batch switch,
// the view switch, the list's columns and each row's button.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& SoftwareFrameForm() {
  static const TWindowTexts kForm = {
      L"Frame_Software",
      {
          CaptionComponent(L"Label_AllPrograms", ckLabel, L"All Programs"),
          CaptionComponent(L"Label_RecentlyInstalled", ckLabel, L"Recently Installed"),
          CaptionComponent(L"Label_LargePrograms", ckLabel, L"Large Programs"),
          CaptionComponent(L"Label_InfrequentlyUsed", ckLabel, L"Infrequently Used"),
          CaptionComponent(L"Label_WindowsUpdates", ckLabel, L"Windows Updates"),
          CaptionComponent(L"CheckBox_BatchUninstall", ckButton, L"Batch Uninstall"),
          CaptionComponent(L"Button_RowUninstall", ckButton, L"Uninstall"),
          ListViewComponent(L"ListView_Software", {L"Software Name", L"Operate", L"Size", L"Install Date"}),
      },
  };
  return kForm;
}

}  // namespace orvix
