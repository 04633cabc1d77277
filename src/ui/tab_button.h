// TabButton: a flat button that stands for a page or a tab: its caption,
// and under it an accent line while it is the current one. A standard
// button underneath (BS_OWNERDRAW), so Tab, Space, Enter, BM_CLICK and
// screen readers treat it as the button it is.
#pragma once

#include "ui/control.h"
#include "ui/dpi.h"

namespace orvix::ui {

class TabButton : public Button {
 public:
  bool Create(HWND parent, const std::wstring& text, FontStyle font = FontStyle::Normal);
  void SetCurrent(bool current);
  bool Current() const { return current_; }
  // The width the caption needs, with its margins (pixels).
  int TextWidth() const;
  void OnDrawItem(DRAWITEMSTRUCT& item) override;

 private:
  bool current_ = false;
  FontStyle font_ = FontStyle::Normal;
};

}  // namespace orvix::ui
