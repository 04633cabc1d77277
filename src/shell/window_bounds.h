// Where the main window and the windows it opens go: the bounds read from
// "Main.ini" against the work area of the monitor the window lands on, the
// maximised bounds, the smallest size, centring, and the floating button
// that hangs over the main window's bottom edge. Used by the main window's
// model; pure except ReadStartBounds.
#pragma once

#include "platform/settings.h"
#include "platform/window_api.h"

namespace orvix {

inline constexpr int kMainMinWidth = 870;
inline constexpr int kMainMinHeight = 570;
// The floating button hangs this far below the main window, so the window
// keeps this much of the work area free below it.
inline constexpr int kButtonOverhang = 20;
inline constexpr int kFloatingButtonWidth = 155;
inline constexpr int kFloatingButtonHeight = 104;

// A visible window in the work area: at least 870 x 570, at most the work
// area's width and its height less the overhang (the work area wins on a
// smaller screen), moved inside the work area on every side.
TRect ClampToWorkArea(const TRect& bounds, const TRect& workArea);
// The work area's width and its height less the overhang, at its top-left.
TRect MaximizedBounds(const TRect& workArea);

struct TMainBounds {
  TRect bounds;   // where the window is shown
  TRect restore;  // where Restore puts it
  bool maximized = false;
};
// The stored placement on the work area it lands on.
TMainBounds StartBounds(const MainWindowPlacement& stored, const TRect& workArea);
// Reads "Main.ini" and asks for the work area of the monitor nearest to the
// stored bounds: a monitor that went away gives the nearest one left.
TMainBounds ReadStartBounds();

// A window of the given size centred on another; halves round toward zero.
TRect CenteredOn(const TRect& owner, int width, int height);
// The floating button: centred under the main window, hanging 20 pixels below it.
TRect FloatingButtonBounds(const TRect& main);
// Dragging the resize grip: never smaller than 870 x 570.
TRect ResizedBounds(const TRect& bounds, int width, int height);

}  // namespace orvix
