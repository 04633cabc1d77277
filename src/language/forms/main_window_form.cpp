// The main window's components: page buttons, the "More" button and menu,
// the search box's clear button, the software list's menu ("Soft") and the
// add-on page's place.
#include "language/forms/forms.h"

namespace orvix {

const TWindowTexts& MainWindowForm() {
  static const TWindowTexts kForm = {
      L"frmOrvixUninstall",
      {
          CaptionComponent(L"RdImageButton_Software", ckImageButton, L"Software"),
          CaptionComponent(L"RdImageButton_Browser", ckImageButton, L"Browser plug-ins"),
          CaptionComponent(L"RdImageButton_More", ckImageButton, L"More"),
          CaptionComponent(L"RdImageButton_Feedback1", ckImageButton, L"Feedback"),
          HintComponent(L"ImageNote_Search_Close", L"Clear the search"),
          CaptionComponent(L"Label_PluginsEmpty", ckLabel, L"Browser add-ons are not listed in this version yet."),
          CaptionComponent(L"PopMenu_Sub_Setting", ckMenuItem, L"Settings..."),
          CaptionComponent(L"PopMenu_Sub_ViewRestorePoint", ckMenuItem, L"View Restore Point"),
          CaptionComponent(L"PopMenu_Sub_Update", ckMenuItem, L"Check for updates"),
          CaptionComponent(L"PopMenu_Sub_UserManual", ckMenuItem, L"User Manual"),
          CaptionComponent(L"PopMenu_Sub_TechnicalSupport", ckMenuItem, L"Technical Support"),
          CaptionComponent(L"PopMenu_Sub_OrvixOnline", ckMenuItem, L"Orvix Online"),
          CaptionComponent(L"PopMenu_Sub_About", ckMenuItem, L"About"),
          CaptionComponent(L"PopMenu_Uninstall", ckMenuItem, L"Uninstall"),
          CaptionComponent(L"PopMenu_RemoveEntry", ckMenuItem, L"Remove Entry"),
          CaptionComponent(L"PopMenu_Refresh", ckMenuItem, L"Refresh"),
          CaptionComponent(L"PopMenu_ViewStyle", ckMenuItem, L"View"),
          CaptionComponent(L"PopMenu_ViewStyle_Icon", ckMenuItem, L"Icons"),
          CaptionComponent(L"PopMenu_ViewStyle_Details", ckMenuItem, L"Details"),
          CaptionComponent(L"PopMenu_OpenFolder", ckMenuItem, L"Open File Folder"),
          CaptionComponent(L"PopMenu_ViewEntry", ckMenuItem, L"View Entry"),
          CaptionComponent(L"PopMenu_SearchOnline", ckMenuItem, L"Search Online"),
          CaptionComponent(L"PopMenu_ExportList", ckMenuItem, L"Export Application List"),
      },
  };
  return kForm;
}

}  // namespace orvix
