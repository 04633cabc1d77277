#include "ui/check_images.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "ui/dpi.h"

namespace orvix::ui {

HIMAGELIST MakeCheckStateImages(HWND window, UINT dpi) {
  const int size = Scale(16, dpi);
  HIMAGELIST images = ::ImageList_Create(size, size, ILC_COLOR32, 4, 0);
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HTHEME theme = ::OpenThemeData(window, L"BUTTON");
  // Empty, unchecked, checked, partly checked.
  const int themeStates[] = {0, CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL, CBS_MIXEDNORMAL};
  const UINT classicStates[] = {0, DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED,
                                DFCS_BUTTON3STATE | DFCS_CHECKED};
  for (int state = 0; state < 4; ++state) {
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    RECT box = {0, 0, size, size};
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
    if (state > 0) {
      RECT inner = {1, 1, size - 1, size - 1};
      if (theme != nullptr) {
        ::DrawThemeBackground(theme, dc, BP_CHECKBOX, themeStates[state], &inner, nullptr);
      } else {
        ::DrawFrameControl(dc, &inner, DFC_BUTTON, classicStates[state] | DFCS_FLAT);
      }
    }
    ::SelectObject(dc, previous);
    ::ImageList_Add(images, bitmap, nullptr);
    ::DeleteObject(bitmap);
  }
  if (theme != nullptr) ::CloseThemeData(theme);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  return images;
}

}  // namespace orvix::ui
