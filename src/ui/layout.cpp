#include "ui/layout.h"

#include <algorithm>

#include "ui/control.h"

namespace orvix::ui {
namespace {

// One axis: the start and end of a control along it, in 96-DPI pixels.
void Follow(long start, long end, long design, long actual, bool tiedStart, bool tiedEnd, long& outStart,
            long& outEnd) {
  const long size = end - start;
  const long fromEnd = design - end;
  if (tiedStart && tiedEnd) {
    outStart = start;
    outEnd = std::max(start, actual - fromEnd);
  } else if (tiedEnd) {
    outEnd = actual - fromEnd;
    outStart = outEnd - size;
  } else if (tiedStart) {
    outStart = start;
    outEnd = start + size;
  } else {
    outStart = start + (actual - design) / 2;
    outEnd = outStart + size;
  }
}

}  // namespace

void Layout::Add(HWND control, RECT bounds96, unsigned anchors, FontStyle font) {
  items_.push_back({control, bounds96, anchors, font});
}

void Layout::Add(Control& control, RECT bounds96, unsigned anchors, FontStyle font) {
  Add(control.Handle(), bounds96, anchors, font);
}

RECT Layout::Place(const RECT& bounds96, unsigned anchors, int clientWidth, int clientHeight, UINT dpi) const {
  const long width96 = ::MulDiv(clientWidth, 96, static_cast<int>(dpi));
  const long height96 = ::MulDiv(clientHeight, 96, static_cast<int>(dpi));
  RECT placed = {};
  Follow(bounds96.left, bounds96.right, designWidth_, width96, anchors & kAnchorLeft, anchors & kAnchorRight,
         placed.left, placed.right);
  Follow(bounds96.top, bounds96.bottom, designHeight_, height96, anchors & kAnchorTop, anchors & kAnchorBottom,
         placed.top, placed.bottom);
  return {Scale(placed.left, dpi), Scale(placed.top, dpi), Scale(placed.right, dpi), Scale(placed.bottom, dpi)};
}

void Layout::Apply(int clientWidth, int clientHeight, UINT dpi) {
  const bool newFonts = dpi != fontDpi_;
  fontDpi_ = dpi;
  HDWP positions = ::BeginDeferWindowPos(static_cast<int>(items_.size()));
  for (const Item& item : items_) {
    if (newFonts) ::SendMessageW(item.control, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(dpi, item.font)), FALSE);
    const RECT placed = Place(item.bounds, item.anchors, clientWidth, clientHeight, dpi);
    if (positions != nullptr) {
      positions = ::DeferWindowPos(positions, item.control, nullptr, placed.left, placed.top,
                                   placed.right - placed.left, placed.bottom - placed.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (positions != nullptr) ::EndDeferWindowPos(positions);
  if (newFonts) {
    for (const Item& item : items_) ::InvalidateRect(item.control, nullptr, TRUE);
  }
}

}  // namespace orvix::ui
