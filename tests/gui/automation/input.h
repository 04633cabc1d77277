// What the automation program does to another program's windows: clicks,
// keys, typed characters and commands, all as posted window messages so
// that a modal loop they open never holds the automation program up.
#pragma once

#include <string>

#include <windows.h>

namespace orvix::automation {

// A button is clicked as BM_CLICK does it (check boxes toggle); any other
// control gets a left click at its centre. False when it is disabled.
bool Click(HWND control);
// WM_COMMAND from a menu or accelerator.
void PostCommand(HWND window, int commandId);
// A key pressed and released on `target`, or on the focused control of the
// window's thread when `target` is the top-level window itself.
// Names: F1..F12, ENTER, ESC, TAB, DELETE, APPS, UP, DOWN, SPACE, or one
// letter; false for any other name.
bool PressKey(HWND window, HWND target, const std::wstring& keyName);
// Types each character with WM_CHAR, as the keyboard would after translation.
void TypeText(HWND control, const std::wstring& text);
// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);

}  // namespace orvix::automation
