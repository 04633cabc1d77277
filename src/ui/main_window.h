// TfrmOrvixUninstall: the main window. Its header holds the page buttons,
// the search box and the "More" button; below it the current page.
#pragma once

#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/window.h"

namespace orvix::ui {

inline constexpr wchar_t kMainWindowClass[] = L"TfrmOrvixUninstall";
inline constexpr wchar_t kMainWindowTitle[] = L"Orvix Uninstaller";

class MainWindow : public Window {
 public:
  MainWindow();
  bool Create();

 protected:
  void OnCreate() override;
  void OnSize(int width, int height) override;
  void OnDestroy() override;

 private:
  void ApplyCodeTexts();

  FormTexts texts_;
  Layout layout_;
  Button software_;
  Button browser_;
  Button more_;
  Edit search_;
  Label pluginsEmpty_;
};

}  // namespace orvix::ui
