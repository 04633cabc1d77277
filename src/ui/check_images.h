// The images of the three check states, for lists and trees that show a
// model's check states: index 1 unchecked, 2 checked, 3 partly checked
// (index 0 is empty), so a state's number is its state-image index.
#pragma once

#include "ui/win.h"

namespace orvix::ui {

// A new image list (the caller destroys it) at the size of a check box at `dpi`.
HIMAGELIST MakeCheckStateImages(HWND window, UINT dpi);

}  // namespace orvix::ui
