#include "ui/dpi.h"

#include <map>
#include <utility>

namespace orvix::ui {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// A function of user32 that older Windows lack, or nullptr.
template <typename Function>
Function User32Proc(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  FARPROC proc = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}

UINT ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The message font's description at `dpi`: asked for that DPI where
// Windows can (10 and later), else the system's scaled to `dpi`.
LOGFONTW MessageFontAt(UINT dpi) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  static const auto forDpi = User32Proc<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
  if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
    return metrics.lfMessageFont;
  }
  LOGFONTW font = {};
  font.lfHeight = -::MulDiv(9, dpi, 72);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
  return font;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Proc<GetDpiForWindowFn>("GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

int Scale(int pixels96, UINT dpi) { return ::MulDiv(pixels96, static_cast<int>(dpi), 96); }

HFONT UiFont(UINT dpi, FontStyle style) {
  // Fonts live as long as the process: windows come and go, a few sizes stay.
  static std::map<std::pair<UINT, FontStyle>, HFONT> fonts;
  HFONT& font = fonts[{dpi, style}];
  if (font == nullptr) {
    LOGFONTW description = MessageFontAt(dpi);
    switch (style) {
      case FontStyle::Normal:
        break;
      case FontStyle::Bold:
        description.lfWeight = FW_SEMIBOLD;
        break;
      case FontStyle::Large:
        description.lfHeight = description.lfHeight * 4 / 3;
        break;
      case FontStyle::Title:
        description.lfHeight = description.lfHeight * 5 / 3;
        description.lfWeight = FW_SEMIBOLD;
        break;
    }
    font = ::CreateFontIndirectW(&description);
  }
  return font;
}

}  // namespace orvix::ui
