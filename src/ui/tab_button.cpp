#include "ui/tab_button.h"

#include <string>

namespace orvix::ui {

bool TabButton::Create(HWND parent, const std::wstring& text, FontStyle font) {
  font_ = font;
  if (!CreateControl(parent, WC_BUTTONW, text, WS_TABSTOP | BS_OWNERDRAW)) return false;
  SetFont(UiFont(WindowDpi(parent), font));
  return true;
}

void TabButton::SetCurrent(bool current) {
  if (current == current_) return;
  current_ = current;
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

int TabButton::TextWidth() const {
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  const std::wstring text = Text();
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  return size.cx + Scale(16, WindowDpi(hwnd_));
}

void TabButton::OnDrawItem(DRAWITEMSTRUCT& item) {
  const UINT dpi = WindowDpi(hwnd_);
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool hot = pressed || (item.itemState & ODS_HOTLIGHT) != 0;
  ::FillRect(dc, &area, ::GetSysColorBrush(hot ? COLOR_BTNFACE : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  ::SetTextColor(dc, ::GetSysColor(!enabled ? COLOR_GRAYTEXT : current_ ? COLOR_HIGHLIGHT : COLOR_WINDOWTEXT));
  HGDIOBJ old = ::SelectObject(dc, UiFont(dpi, current_ && font_ == FontStyle::Normal ? FontStyle::Bold : font_));
  const std::wstring text = Text();
  RECT textArea = area;
  textArea.bottom -= Scale(3, dpi);
  ::DrawTextW(dc, text.c_str(), -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SelectObject(dc, old);
  if (current_) {
    RECT line = {area.left + Scale(8, dpi), area.bottom - Scale(3, dpi), area.right - Scale(8, dpi), area.bottom};
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = area;
    ::InflateRect(&focus, -Scale(2, dpi), -Scale(2, dpi));
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace orvix::ui
