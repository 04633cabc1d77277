#include "ui/main_window.h"

#include "language/forms/forms.h"
#include "language/messages.h"

namespace orvix::ui {

MainWindow::MainWindow() : texts_(MainWindowForm()), layout_(870, 570) {}

bool MainWindow::Create() {
  WindowArgs args;
  args.className = kMainWindowClass;
  args.title = kMainWindowTitle;
  args.width = 870;
  args.height = 570;
  return Window::Create(args);
}

void MainWindow::OnCreate() {
  software_.Create(Handle(), {});
  software_.SetId(1021);
  browser_.Create(Handle(), {});
  browser_.SetId(1022);
  search_.Create(Handle(), {});
  search_.SetId(1002);
  more_.Create(Handle(), {});
  more_.SetId(1023);
  pluginsEmpty_.Create(Handle(), {.centred = true});
  pluginsEmpty_.SetVisible(false);

  layout_.Add(software_, {16, 12, 136, 44});
  layout_.Add(browser_, {144, 12, 294, 44});
  layout_.Add(search_, {560, 16, 760, 40}, kAnchorTopRight);
  layout_.Add(more_, {770, 12, 854, 44}, kAnchorTopRight);
  layout_.Add(pluginsEmpty_, {16, 260, 854, 290}, kAnchorLeft | kAnchorRight);

  texts_.Bind(L"RdImageButton_Software", software_);
  texts_.Bind(L"RdImageButton_Browser", browser_);
  texts_.Bind(L"RdImageButton_More", more_);
  texts_.Bind(L"Label_PluginsEmpty", pluginsEmpty_);
  texts_.onApplied = [this] { ApplyCodeTexts(); };
  texts_.Apply();
}

void MainWindow::ApplyCodeTexts() {
  search_.SetCue(Text(msg::Edit_Search_Tip));
  search_.SetAccessibleName(Text(msg::Edit_Search_Tip));
}

void MainWindow::OnSize(int width, int height) { layout_.Apply(width, height, Dpi()); }

void MainWindow::OnDestroy() { ::PostQuitMessage(0); }

}  // namespace orvix::ui
