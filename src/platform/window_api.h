// Top-level windows, messages between processes, named mutexes and the
// monitors: what the desktop program's start and its main window ask of the
// window manager. The windows themselves are drawn by the user interface;
// this is only what the logic behind them needs to find and reach them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace orvix {

// An HWND; 0 is no window.
using WindowHandle = std::uintptr_t;

inline constexpr DWORD WM_COPYDATA = 0x004A;

// A rectangle in screen pixels, right and bottom exclusive (a Win32 RECT).
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const TRect&) const = default;
};
inline TRect RectOf(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

class IWindowApi {
 public:
  virtual ~IWindowApi() = default;

  // CreateMutexW, owned by the caller; `existed` says whether the name was
  // already taken (ERROR_ALREADY_EXISTS). The mutex stays until the process
  // ends. False when no mutex could be made at all.
  virtual bool CreateNamedMutex(const std::wstring& name, bool* existed) = 0;
  // FindWindowW by class and title, both exact; 0 when there is none.
  virtual WindowHandle FindTopWindow(const std::wstring& className, const std::wstring& title) = 0;
  virtual bool PostToWindow(WindowHandle window, DWORD message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // WM_COPYDATA with cbData = bytes.size() and the bytes, waiting for the
  // receiver (never forever on a hung one); false when it was not delivered.
  virtual bool SendCopyData(WindowHandle window, std::uintptr_t dwData, const std::vector<std::uint8_t>& bytes) = 0;
  // The work area (the monitor without task bars) of the monitor nearest to
  // the rectangle: the one it overlaps most, else the closest one.
  virtual TRect WorkAreaNearest(const TRect& rect) = 0;
};

}  // namespace orvix
