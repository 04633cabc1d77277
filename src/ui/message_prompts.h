// The models' questions and notices as message boxes owned by a window:
// IPowerScanPrompts and IShredderPrompts. The application title is the
// caption where the model names none.
#pragma once

#include <string>

#include "shell/window_messages.h"  // kApplicationTitle, the caption of the program's message boxes
#include "shredder/shredder_model.h"
#include "uninstall/power_scan_model.h"
#include "ui/win.h"

namespace orvix::ui {

class MessagePrompts : public IPowerScanPrompts, public IShredderPrompts {
 public:
  explicit MessagePrompts(HWND owner) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  bool Confirm(const std::wstring& question) override;
  void Message(const std::wstring& text, const std::wstring& caption) override;
  void Message(const std::wstring& text) override;

 private:
  HWND owner_;
};

// A message box with the application title: MB_* flags, the button pressed.
int ShowMessage(HWND owner, const std::wstring& text, UINT flags);

}  // namespace orvix::ui
