#include "shell/window_bounds.h"

#include <algorithm>

#include "platform/platform.h"

namespace orvix {
namespace {

// A point where the primary monitor certainly is.
const TRect kPrimaryProbe = RectOf(0, 0, 1, 1);

}  // namespace

TRect ClampToWorkArea(const TRect& bounds, const TRect& workArea) {
  const int maxHeight = workArea.Height() - kButtonOverhang;
  const int width = std::min(std::max(bounds.Width(), kMainMinWidth), workArea.Width());
  const int height = std::min(std::max(bounds.Height(), kMainMinHeight), maxHeight);
  // Left and top no less than the work area's, and right and bottom within
  // it too: a window placed past the far edge would be out of sight.
  const int left = std::max(std::min(bounds.left, workArea.right - width), workArea.left);
  const int top = std::max(std::min(bounds.top, workArea.top + maxHeight - height), workArea.top);
  return RectOf(left, top, width, height);
}

TRect MaximizedBounds(const TRect& workArea) {
  return RectOf(workArea.left, workArea.top, workArea.Width(), workArea.Height() - kButtonOverhang);
}

TMainBounds StartBounds(const MainWindowPlacement& stored, const TRect& workArea) {
  TMainBounds start;
  start.maximized = stored.maximized;
  start.restore = ClampToWorkArea(RectOf(stored.left, stored.top, stored.width, stored.height), workArea);
  start.bounds = stored.maximized ? MaximizedBounds(workArea) : start.restore;
  return start;
}

TMainBounds ReadStartBounds() {
  IWindowApi& windows = CurrentPlatform().Windows();
  const TRect primary = windows.WorkAreaNearest(kPrimaryProbe);
  MainWindowPlacement stored = ReadMainWindowPlacement({primary.Width(), primary.Height()});
  const TRect wanted = RectOf(stored.left, stored.top, std::max(stored.width, 1), std::max(stored.height, 1));
  return StartBounds(stored, windows.WorkAreaNearest(wanted));
}

TRect CenteredOn(const TRect& owner, int width, int height) {
  return RectOf(owner.left + (owner.Width() - width) / 2, owner.top + (owner.Height() - height) / 2, width, height);
}

TRect FloatingButtonBounds(const TRect& main) {
  return RectOf(main.left + (main.Width() - kFloatingButtonWidth) / 2,
                main.top + main.Height() - kFloatingButtonHeight + kButtonOverhang, kFloatingButtonWidth,
                kFloatingButtonHeight);
}

TRect ResizedBounds(const TRect& bounds, int width, int height) {
  return RectOf(bounds.left, bounds.top, std::max(width, kMainMinWidth), std::max(height, kMainMinHeight));
}

}  // namespace orvix
