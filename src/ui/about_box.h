// The About box (TfrmAbout): the product, its version and the legal and
// credit lines, with one button that closes it. Opened by the main window's
// About command.
#pragma once

#include "ui/win.h"

namespace orvix::ui {

void ShowAboutBox(HWND owner);

}  // namespace orvix::ui
