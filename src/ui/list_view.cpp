#include "ui/list_view.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "ui/dpi.h"

namespace orvix::ui {
namespace {

constexpr wchar_t kLineBreak[] = L"\r\r";

int ImageSize(HIMAGELIST images) {
  int width = 0;
  int height = 0;
  if (images != nullptr) ::ImageList_GetIconSize(images, &width, &height);
  return width;
}

}  // namespace

bool ListView::Create(HWND parent, const ListViewArgs& args, IListRowSource& source) {
  source_ = &source;
  args_ = args;
  DWORD style = WS_TABSTOP | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | LVS_REPORT;
  if (args.singleSelection) style |= LVS_SINGLESEL;
  if (!CreateControl(parent, WC_LISTVIEWW, L"", style)) return false;
  ::SetWindowTheme(hwnd_, L"Explorer", nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  // The check states are the source's: the control asks for them.
  ::SendMessageW(hwnd_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  dpi_ = WindowDpi(parent);
  for (std::size_t i = 0; i < args.columns.size(); ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = args.columns[i].rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = Scale(args.columns[i].width, dpi_);
    column.pszText = const_cast<wchar_t*>(args.columns[i].title.c_str());
    column.iSubItem = static_cast<int>(i);
    ListView_InsertColumn(hwnd_, static_cast<int>(i), &column);
  }
  SetCheckBoxes(args.checkBoxes);
  SetIconView(args.iconView);
  ApplyRowHeight();
  return true;
}

void ListView::SetDpi(UINT dpi) {
  if (dpi == dpi_) return;
  for (std::size_t i = 0; i < args_.columns.size(); ++i) {
    const int width = ListView_GetColumnWidth(hwnd_, static_cast<int>(i));
    ListView_SetColumnWidth(hwnd_, static_cast<int>(i), ::MulDiv(width, static_cast<int>(dpi), static_cast<int>(dpi_)));
  }
  dpi_ = dpi;
  ApplyRowHeight();
  SetIconView(iconView_);
}

void ListView::ApplyRowHeight() {
  if (args_.rowHeight <= 0) return;
  // Details rows are as high as the small image list: an empty one of the
  // wanted height sets it, and the icons are drawn here from the real list.
  if (rowHeightImages_ != nullptr) ::ImageList_Destroy(rowHeightImages_);
  rowHeightImages_ = ::ImageList_Create(1, Scale(args_.rowHeight, dpi_), ILC_COLOR32, 1, 0);
  if (!iconView_) ListView_SetImageList(hwnd_, rowHeightImages_, LVSIL_SMALL);
}

void ListView::SetRowCount(int count) {
  ListView_SetItemCountEx(hwnd_, count, LVSICF_NOSCROLL);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::RedrawRow(int row) { ListView_RedrawItems(hwnd_, row, row); }

void ListView::RedrawAll() { ::InvalidateRect(hwnd_, nullptr, TRUE); }

void ListView::SetColumnTitle(int column, const std::wstring& title) {
  LVCOLUMNW item = {};
  item.mask = LVCF_TEXT;
  item.pszText = const_cast<wchar_t*>(title.c_str());
  ListView_SetColumn(hwnd_, column, &item);
}

void ListView::FillWidthWithColumn(int column) {
  RECT client = {};
  ::GetClientRect(hwnd_, &client);
  int others = 0;
  for (std::size_t i = 0; i < args_.columns.size(); ++i) {
    if (static_cast<int>(i) != column) others += ListView_GetColumnWidth(hwnd_, static_cast<int>(i));
  }
  // The vertical scroll bar's room stays free, so that it never adds a horizontal one.
  const int scrollBar = (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL) ? 0 : ::GetSystemMetrics(SM_CXVSCROLL);
  const int width = client.right - others - scrollBar;
  ListView_SetColumnWidth(hwnd_, column, std::max(width, Scale(160, dpi_)));
}

void ListView::SetSortArrow(int column, SortArrow arrow) {
  HWND header = ListView_GetHeader(hwnd_);
  for (int i = 0; i < Header_GetItemCount(header); ++i) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column && arrow == SortArrow::Up) item.fmt |= HDF_SORTUP;
    if (i == column && arrow == SortArrow::Down) item.fmt |= HDF_SORTDOWN;
    Header_SetItem(header, i, &item);
  }
}

void ListView::SetButtonCaption(const std::wstring& caption) {
  buttonCaption_ = caption;
  RedrawAll();
}

void ListView::SetIconView(bool iconView) {
  iconView_ = iconView;
  LONG style = ::GetWindowLongW(hwnd_, GWL_STYLE) & ~LVS_TYPEMASK;
  ::SetWindowLongW(hwnd_, GWL_STYLE, style | (iconView ? LVS_ICON : LVS_REPORT));
  if (iconView) {
    ListView_SetImageList(hwnd_, images_, LVSIL_NORMAL);
    ListView_SetIconSpacing(hwnd_, Scale(args_.iconSpacing, dpi_), Scale(args_.iconSpacing, dpi_));
  } else {
    ListView_SetImageList(hwnd_, rowHeightImages_ != nullptr ? rowHeightImages_ : images_, LVSIL_SMALL);
  }
  ListView_Arrange(hwnd_, LVA_DEFAULT);
  RedrawAll();
}

void ListView::SetCheckBoxes(bool shown) {
  checkBoxes_ = shown;
  ListView_SetExtendedListViewStyleEx(hwnd_, LVS_EX_CHECKBOXES, shown ? LVS_EX_CHECKBOXES : 0);
  RedrawAll();
}

void ListView::SetImages(HIMAGELIST images) {
  images_ = images;
  SetIconView(iconView_);
}

std::optional<int> ListView::SelectedRow() const {
  const int row = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return row;
}

void ListView::SelectRow(int row) {
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(hwnd_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd_, row, FALSE);
}

void ListView::ClearSelection() { ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED); }

int ListView::TopRow() const { return ListView_GetTopIndex(hwnd_); }

void ListView::ScrollToRow(int row) {
  const int count = ListView_GetItemCount(hwnd_);
  if (count == 0) return;
  row = std::clamp(row, 0, count - 1);
  // Show the last row first, so that `row` ends at the top.
  ListView_EnsureVisible(hwnd_, count - 1, FALSE);
  ListView_EnsureVisible(hwnd_, row, FALSE);
}

POINT ListView::ContextMenuPoint(LPARAM lParam) const {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (lParam != -1) return point;
  RECT area = {};
  const std::optional<int> row = SelectedRow();
  if (row && ListView_GetItemRect(hwnd_, *row, &area, LVIR_LABEL)) {
    point = {area.left + Scale(8, dpi_), area.bottom};
  } else {
    point = {Scale(8, dpi_), Scale(8, dpi_)};
  }
  ::ClientToScreen(hwnd_, &point);
  return point;
}

bool ListView::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
      if (item.iItem < 0 || item.iItem >= source_->RowCount()) return true;
      if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        std::wstring text = source_->CellText(item.iItem, item.iSubItem);
        // Screen readers and the control's own drawing get the two lines as one.
        for (std::size_t at = text.find(kLineBreak); at != std::wstring::npos; at = text.find(kLineBreak, at)) {
          text.replace(at, 2, L", ");
        }
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
      }
      if (item.mask & LVIF_IMAGE) item.iImage = source_->RowImage(item.iItem);
      if (item.mask & LVIF_STATE) {
        item.stateMask |= LVIS_STATEIMAGEMASK;
        item.state = checkBoxes_ ? INDEXTOSTATEIMAGEMASK(source_->RowChecked(item.iItem) ? 2 : 1) : 0;
      }
      return true;
    }
    case NM_CUSTOMDRAW:
      result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      return true;
    case LVN_COLUMNCLICK:
      if (onHeaderClick) onHeaderClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return true;
    case NM_CLICK: {
      const auto& click = reinterpret_cast<NMITEMACTIVATE&>(header);
      LVHITTESTINFO hit = {};
      hit.pt = click.ptAction;
      if (ListView_SubItemHitTest(hwnd_, &hit) < 0 || hit.iItem < 0) return false;
      if (!iconView_ && args_.ownerDraw) {
        RECT row = {};
        ListView_GetItemRect(hwnd_, hit.iItem, &row, LVIR_BOUNDS);
        const int checkRight = row.left + Scale(6, dpi_) + Scale(16, dpi_) + Scale(3, dpi_);
        if (checkBoxes_ && hit.iSubItem == 0 && hit.pt.x < checkRight) {
          if (onCheckToggle) onCheckToggle(hit.iItem);
          return true;
        }
        if (hit.iSubItem > 0 && static_cast<std::size_t>(hit.iSubItem) < args_.columns.size() &&
            args_.columns[static_cast<std::size_t>(hit.iSubItem)].button) {
          if (onButtonClick) onButtonClick(hit.iItem, hit.iSubItem);
          return true;
        }
      } else if (checkBoxes_ && (hit.flags & LVHT_ONITEMSTATEICON)) {
        if (onCheckToggle) onCheckToggle(hit.iItem);
        return true;
      }
      return false;
    }
    case LVN_ITEMACTIVATE: {
      const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
      if (activate.iItem < 0) return true;
      // A double click on a row's button or check box is two clicks of those.
      LVHITTESTINFO hit = {};
      hit.pt = activate.ptAction;
      if (!iconView_ && ListView_SubItemHitTest(hwnd_, &hit) >= 0 && hit.iSubItem > 0 &&
          static_cast<std::size_t>(hit.iSubItem) < args_.columns.size() &&
          args_.columns[static_cast<std::size_t>(hit.iSubItem)].button && ::GetKeyState(VK_RETURN) >= 0) {
        return true;
      }
      if (onActivate) onActivate(activate.iItem);
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) &&
          onSelectionChanged) {
        onSelectionChanged();
      }
      return true;
    }
    case LVN_ODSTATECHANGED:
      if (onSelectionChanged) onSelectionChanged();
      return true;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<NMLVKEYDOWN&>(header).wVKey;
      if (key == VK_SPACE && checkBoxes_) {
        if (const std::optional<int> row = SelectedRow(); row && onCheckToggle) onCheckToggle(*row);
        return true;
      }
      if (onKey) onKey(key);
      return true;
    }
    default:
      return false;
  }
}

LRESULT ListView::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (iconView_ || !args_.ownerDraw) return CDRF_DODEFAULT;
      DrawRow(draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void ListView::DrawRow(HDC dc, int row) {
  if (row < 0 || row >= source_->RowCount()) return;
  RECT bounds = {};
  ListView_GetItemRect(hwnd_, row, &bounds, LVIR_BOUNDS);
  const UINT state = ListView_GetItemState(hwnd_, row, LVIS_SELECTED | LVIS_FOCUSED);
  const bool focused = ::GetFocus() == hwnd_;
  const bool selected = (state & LVIS_SELECTED) != 0;
  const int background = selected ? (focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : COLOR_WINDOW;
  ::FillRect(dc, &bounds, ::GetSysColorBrush(background));
  const COLORREF textColor = ::GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const COLORREF greyColor = selected && focused ? textColor : ::GetSysColor(COLOR_GRAYTEXT);
  ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = ::SelectObject(dc, UiFont(dpi_));
  const int pad = Scale(6, dpi_);

  for (std::size_t column = 0; column < args_.columns.size(); ++column) {
    const int index = static_cast<int>(column);
    RECT cell = {};
    if (index == 0) {
      cell = bounds;
      cell.right = cell.left + ListView_GetColumnWidth(hwnd_, 0);
    } else {
      ListView_GetSubItemRect(hwnd_, row, index, LVIR_BOUNDS, &cell);
    }
    RECT text = {cell.left + pad, cell.top, cell.right - pad, cell.bottom};
    if (index == 0) {
      if (checkBoxes_) {
        const int box = Scale(16, dpi_);
        RECT check = {text.left, (cell.top + cell.bottom - box) / 2, text.left + box, (cell.top + cell.bottom + box) / 2};
        ::DrawFrameControl(dc, &check, DFC_BUTTON,
                           DFCS_BUTTONCHECK | DFCS_FLAT | (source_->RowChecked(row) ? DFCS_CHECKED : 0));
        text.left += box + pad;
      }
      const int image = source_->RowImage(row);
      if (images_ != nullptr && image >= 0) {
        const int size = ImageSize(images_);
        ::ImageList_Draw(images_, image, dc, text.left, (cell.top + cell.bottom - size) / 2, ILD_TRANSPARENT);
        text.left += size + pad;
      }
    }
    if (args_.columns[column].button) {
      const int height = std::min<int>(Scale(26, dpi_), cell.bottom - cell.top - Scale(4, dpi_));
      RECT button = {text.left, (cell.top + cell.bottom - height) / 2, text.right, (cell.top + cell.bottom + height) / 2};
      HTHEME theme = ::OpenThemeData(hwnd_, L"BUTTON");
      if (theme != nullptr) {
        ::DrawThemeBackground(theme, dc, BP_PUSHBUTTON, PBS_NORMAL, &button, nullptr);
        ::CloseThemeData(theme);
      } else {
        ::DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH);
      }
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      ::DrawTextW(dc, buttonCaption_.c_str(), -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      continue;
    }
    const std::wstring cellText = source_->CellText(row, index);
    const std::size_t split = cellText.find(kLineBreak);
    const UINT align = args_.columns[column].rightAligned ? DT_RIGHT : DT_LEFT;
    ::SetTextColor(dc, textColor);
    if (split == std::wstring::npos) {
      ::DrawTextW(dc, cellText.c_str(), -1, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
      continue;
    }
    // Two lines around the middle: the name, and below it in grey the second text.
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    const int middle = (cell.top + cell.bottom) / 2;
    RECT first = {text.left, middle - metrics.tmHeight - 1, text.right, middle - 1};
    RECT second = {text.left, middle + 1, text.right, middle + metrics.tmHeight + 1};
    const std::wstring name = cellText.substr(0, split);
    const std::wstring detail = cellText.substr(split + 2);
    ::DrawTextW(dc, name.c_str(), -1, &first, align | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SetTextColor(dc, greyColor);
    ::DrawTextW(dc, detail.c_str(), -1, &second, align | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  if ((state & LVIS_FOCUSED) && focused) {
    RECT focus = bounds;
    ::InflateRect(&focus, -1, -1);
    ::DrawFocusRect(dc, &focus);
  }
  ::SelectObject(dc, oldFont);
}

}  // namespace orvix::ui
