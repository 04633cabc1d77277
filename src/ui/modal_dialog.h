// The frame of the small modal windows of the uninstall flow, settings and
// About: a caption with Close on the dialog colour, shown over the main
// window until it closes.
#pragma once

#include <string>

#include "ui/window.h"

namespace orvix::ui {

// Arguments of such a window of `width` x `height` (96-DPI pixels).
WindowArgs DialogArgs(std::wstring className, HWND owner, int width, int height);

// Creates the window and runs it modally; the message loop deletes it after
// it closed. A window that cannot be created is deleted here.
void RunModalWindow(Window* window, const WindowArgs& args);

}  // namespace orvix::ui
