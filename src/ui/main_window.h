// TfrmOrvixUninstall: the main window, over the shell's TMainWindowModel.
// Its header holds the page buttons, the search box with its clear button
// and the "More" button; below it the current page (the software page, or
// the add-on page's place); the floating button hangs over its bottom edge.
// Every command is one model call; the model's events come back here and
// redraw (listChanged, searchChanged) or open the windows of other parts.
#pragma once

#include <memory>

#include "platform/dispatcher.h"
#include "platform/platform.h"
#include "shell/main_window_model.h"
#include "shell/window_bounds.h"
#include "shell/window_messages.h"
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/icon_images.h"
#include "ui/layout.h"
#include "ui/software_page_view.h"
#include "ui/tab_button.h"
#include "ui/uninstall_button_window.h"
#include "ui/window.h"

namespace orvix::ui {

// Command ids of the menus (WM_COMMAND with lParam 0), for the automation too.
enum MainCommand : int {
  kCmdUninstall = 2001,
  kCmdRefresh = 2002,
  kCmdDetailsView = 2003,
  kCmdIconView = 2004,
  kCmdRemoveEntry = 2005,
  kCmdOpenFolder = 2006,
  kCmdViewEntry = 2007,
  kCmdSearchOnline = 2008,
  kCmdSettings = 2101,
  kCmdAbout = 2102,
  kCmdExportList = 2103,
  kCmdViewRestorePoint = 2104,
  kCmdCheckUpdates = 2105,
  kCmdUserManual = 2106,
  kCmdTechnicalSupport = 2107,
  kCmdOrvixOnline = 2108,
};

class MainWindow : public Window, private IMainWindowPrompts {
 public:
  explicit MainWindow(TMainWindowOptions options);
  ~MainWindow() override;
  bool Create();
  // Shows the window where the model placed it.
  void ShowAtBounds(int showCommand);

  TMainWindowModel& Model() { return *model_; }

 protected:
  void OnCreate() override;
  void OnSize(int width, int height) override;
  void OnDpiChanged() override;
  bool OnCloseRequest() override;
  void OnDestroy() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(MSG& message) override;

 private:
  // IMainWindowPrompts
  void Message(const std::wstring& text) override;
  void Warning(const std::wstring& text) override;
  bool Ask(const std::wstring& question) override;

  TMainWindowEvents Events();
  void Command(int id);
  void ShowMoreMenu();
  void ShowSoftMenu(POINT at);
  void SyncPage();
  void SyncSearch();
  void ApplyCodeTexts();
  void ApplyBounds();
  void PlaceFloatingButton();
  void LoadSoftware();
  void ExportApplicationList();
  void StopAnalysis();
  // Lets a message through the user-interface message filter, so that
  // Explorer (at a lower integrity level) reaches an elevated window.
  void AllowMessage(UINT message);

  TMainWindowOptions options_;
  std::unique_ptr<IDispatcher> dispatcher_;
  FormTexts texts_;
  Layout layout_;
  TabButton software_;
  TabButton browser_;
  Edit search_;
  Button clearSearch_;
  Button more_;
  Label pluginsEmpty_;
  std::unique_ptr<IconImages> icons_;
  std::unique_ptr<TMainWindowModel> model_;
  std::unique_ptr<SoftwarePageView> page_;
  UninstallButtonWindow floating_;
  bool applyingBounds_ = false;
};

}  // namespace orvix::ui
