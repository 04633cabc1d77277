// Dots per inch and fonts of a window: sizes in src/ui are written in
// 96-DPI pixels and scaled for the monitor the window is on (the program is
// per-monitor DPI aware), and every control uses the system's message font
// (Segoe UI on current Windows) at that scale.
#pragma once

#include "ui/win.h"

namespace orvix::ui {

// The window's DPI (GetDpiForWindow where it exists, else the screen's).
UINT WindowDpi(HWND window);
// A length in 96-DPI pixels at `dpi`.
int Scale(int pixels96, UINT dpi);

enum class FontStyle { Normal, Bold, Large, Title };
// The message font at `dpi` in a style; cached for the process's life.
HFONT UiFont(UINT dpi, FontStyle style = FontStyle::Normal);

}  // namespace orvix::ui
