// Finding windows and controls of another process for the automation
// program: top-level windows by class and title, controls by id, class and
// index, or text, and the texts they show.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace orvix::automation {

// What a top-level window must match; an empty field matches anything.
struct TWindowQuery {
  std::wstring className;
  std::wstring title;          // the whole title
  std::wstring titlePart;      // a part of the title
};

// The first visible top-level window that matches, or null.
HWND FindTopWindow(const TWindowQuery& query);

// Every control below `window` (children and their children), in Z order.
std::vector<HWND> Controls(HWND window);

// A control, named by:
//   #ID         its control id
//   @CLASS      the first of its window class, @CLASS:N the N-th (from 0)
//   .           the window itself
//   TEXT        its text, '&' ignored, a visible one first
// Null when nothing matches.
HWND FindControl(HWND window, const std::wstring& selector);

// The text of a window of any process (WM_GETTEXT, which Windows copies
// across processes).
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// Without the '&' marks of keyboard mnemonics ("&&" stays one '&').
std::wstring WithoutMnemonics(const std::wstring& text);

}  // namespace orvix::automation
