// TfrmUninstallButton: the floating button that hangs over the bottom edge
// of the main window, centred, and carries the current page's main action
// ("Uninstall" on the software page, "Remove" on the add-on page). A
// borderless layered window owned by the main window, drawn per pixel with
// alpha; hovering brightens it, pressing darkens it.
#pragma once

#include <functional>
#include <string>

#include "ui/form_texts.h"
#include "ui/window.h"

namespace orvix::ui {

class UninstallButtonWindow : public Window {
 public:
  UninstallButtonWindow();
  bool Create(HWND owner);

  // Which caption of its table it shows: the software page's or the add-on page's.
  void SetAddonPage(bool addonPage);
  // Moves it to `bounds` (screen pixels) and redraws it at that size.
  void Place(const RECT& bounds);
  std::function<void()> onClick;

 protected:
  void OnCreate() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Redraw();
  std::wstring Caption() const;

  FormTexts texts_;
  bool addonPage_ = false;
  bool hot_ = false;
  bool pressed_ = false;
  RECT bounds_ = {};
};

}  // namespace orvix::ui
