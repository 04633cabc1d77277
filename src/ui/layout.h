// Layout by anchors: each control is placed once in 96-DPI pixels on a
// window of a design size, and follows the edges it is tied to when the
// window's client area changes (tied to both left and right it stretches;
// to neither, it keeps its place relative to the middle). Positions and
// fonts are scaled for the window's DPI at every Apply.
#pragma once

#include <vector>

#include "ui/dpi.h"
#include "ui/win.h"

namespace orvix::ui {

class Control;

enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
  kAnchorTopLeft = kAnchorLeft | kAnchorTop,
  kAnchorTopRight = kAnchorRight | kAnchorTop,
  kAnchorBottomLeft = kAnchorLeft | kAnchorBottom,
  kAnchorBottomRight = kAnchorRight | kAnchorBottom,
  kAnchorTopSides = kAnchorLeft | kAnchorRight | kAnchorTop,
  kAnchorBottomSides = kAnchorLeft | kAnchorRight | kAnchorBottom,
  kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
};

class Layout {
 public:
  // The client size, in 96-DPI pixels, that the bounds below are given for.
  Layout(int designWidth, int designHeight) : designWidth_(designWidth), designHeight_(designHeight) {}

  void Add(HWND control, RECT bounds96, unsigned anchors = kAnchorTopLeft, FontStyle font = FontStyle::Normal);
  void Add(Control& control, RECT bounds96, unsigned anchors = kAnchorTopLeft, FontStyle font = FontStyle::Normal);

  // Places every control for a client area of that size (pixels) at `dpi`,
  // and gives each its font at that DPI when the DPI changed.
  void Apply(int clientWidth, int clientHeight, UINT dpi);
  // Where a control lands, in pixels (for drawing beside it).
  RECT Place(const RECT& bounds96, unsigned anchors, int clientWidth, int clientHeight, UINT dpi) const;

 private:
  struct Item {
    HWND control;
    RECT bounds;
    unsigned anchors;
    FontStyle font;
  };
  int designWidth_;
  int designHeight_;
  UINT fontDpi_ = 0;
  std::vector<Item> items_;
};

}  // namespace orvix::ui
