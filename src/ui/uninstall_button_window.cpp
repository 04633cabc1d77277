#include "ui/uninstall_button_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "language/forms/forms.h"
#include "ui/dpi.h"

namespace orvix::ui {
namespace {

// Where the button's face lies in the window (96-DPI pixels from the
// bottom): the window hangs 20 pixels below the main window, so the face
// sits across the main window's bottom edge.
constexpr int kFaceHeight = 44;
constexpr int kFaceBottomGap = 8;
constexpr int kFaceSideGap = 10;

// How much of the pixel (x, y) lies inside the rounded rectangle, 0 to 1,
// from 4 x 4 samples: the edges come out smooth.
double Coverage(int x, int y, const RECT& face, double radius) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4;
      const double py = y + (sy + 0.5) / 4;
      if (px < face.left || px > face.right || py < face.top || py > face.bottom) continue;
      const double cx = std::clamp(px, face.left + radius, face.right - radius);
      const double cy = std::clamp(py, face.top + radius, face.bottom - radius);
      if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius) ++inside;
    }
  }
  return inside / 16.0;
}

COLORREF Shade(COLORREF colour, double factor) {
  const auto channel = [&](int value) {
    return factor >= 1 ? static_cast<int>(value + (255 - value) * (factor - 1))
                       : static_cast<int>(value * factor);
  };
  return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

}  // namespace

UninstallButtonWindow::UninstallButtonWindow() : texts_(UninstallButtonForm()) { KeepAfterDestroy(); }

bool UninstallButtonWindow::Create(HWND owner) {
  WindowArgs args;
  args.className = L"TfrmUninstallButton";
  args.style = WS_POPUP;
  args.exStyle = WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  args.owner = owner;
  args.width = 155;
  args.height = 104;
  args.background = nullptr;
  return Window::Create(args);
}

void UninstallButtonWindow::OnCreate() {
  texts_.onApplied = [this] { Redraw(); };
  texts_.Apply();
}

std::wstring UninstallButtonWindow::Caption() const {
  return texts_.Caption(addonPage_ ? L"Label_Remove" : L"Label_Uninstall");
}

void UninstallButtonWindow::SetAddonPage(bool addonPage) {
  addonPage_ = addonPage;
  Redraw();
}

void UninstallButtonWindow::Place(const RECT& bounds) {
  bounds_ = bounds;
  Redraw();
}

void UninstallButtonWindow::Redraw() {
  if (Handle() == nullptr || bounds_.right <= bounds_.left) return;
  ::SetWindowTextW(Handle(), Caption().c_str());  // what a screen reader announces
  // The window covers the face only, at its place in the button's bounds:
  // nothing of it needs to be transparent but the rounded corners.
  const UINT dpi = WindowDpi(::GetWindow(Handle(), GW_OWNER));
  const RECT place = {bounds_.left + ui::Scale(kFaceSideGap, dpi),
                      bounds_.bottom - ui::Scale(kFaceBottomGap + kFaceHeight, dpi),
                      bounds_.right - ui::Scale(kFaceSideGap, dpi), bounds_.bottom - ui::Scale(kFaceBottomGap, dpi)};
  const int width = place.right - place.left;
  const int height = place.bottom - place.top;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return;
  }
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);

  const RECT face = {0, 0, width, height};
  const COLORREF accent = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF fill = pressed_ ? Shade(accent, 0.8) : hot_ ? Shade(accent, 1.15) : accent;
  HBRUSH brush = ::CreateSolidBrush(fill);
  ::FillRect(dc, &face, brush);
  ::DeleteObject(brush);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, hot_ ? RGB(255, 255, 255) : RGB(0xDD, 0xDD, 0xDD));
  HGDIOBJ oldFont = ::SelectObject(dc, UiFont(dpi, FontStyle::Large));
  RECT text = face;
  const std::wstring caption = Caption();
  ::DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, oldFont);
  ::GdiFlush();

  // GDI leaves alpha alone: the face's shape gives it, premultiplied.
  auto* pixels = static_cast<std::uint32_t*>(bits);
  const double radius = ui::Scale(8, dpi);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t& pixel = pixels[y * width + x];
      const double alpha = Coverage(x, y, face, radius);
      const auto scale = [&](int shift) {
        return static_cast<std::uint32_t>(((pixel >> shift) & 0xFF) * alpha + 0.5) << shift;
      };
      pixel = alpha <= 0 ? 0 : (static_cast<std::uint32_t>(alpha * 255 + 0.5) << 24) | scale(16) | scale(8) | scale(0);
    }
  }

  // Outside the rounded face the window does not exist, also where
  // per-pixel alpha is not composed (Wine without a compositor).
  HRGN shape = ::CreateRoundRectRgn(face.left, face.top, face.right + 1, face.bottom + 1, static_cast<int>(radius * 2),
                                    static_cast<int>(radius * 2));
  ::SetWindowRgn(Handle(), shape, FALSE);  // the window owns the region from now on

  POINT position = {place.left, place.top};
  SIZE size = {width, height};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(Handle(), screen, &position, &size, dc, &source, 0, &blend, ULW_ALPHA);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
}

LRESULT UninstallButtonWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
        Redraw();
      }
      return 0;
    case WM_MOUSELEAVE:
      hot_ = false;
      pressed_ = false;
      Redraw();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      ::SetCapture(Handle());
      Redraw();
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      ::ReleaseCapture();
      Redraw();
      POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client = {};
      ::GetClientRect(Handle(), &client);
      if (wasPressed && ::PtInRect(&client, point) && onClick) onClick();
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace orvix::ui
