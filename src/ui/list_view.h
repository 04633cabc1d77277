// ListView: an owner-data list (LVS_OWNERDATA) over a row source. The
// control copies nothing: it asks the source for every cell it shows, so
// after a fill the view calls SetRowCount, and RedrawRow when one row
// changed. The source (a model's rows) also owns the check states: a click
// on a row's check box only raises onCheckToggle.
//
// In details view the rows may be drawn here (ownerDraw): the image, a cell
// text of two lines (first "\r\r" second, the second line in grey), and
// button columns that show a push button in every row and raise
// onButtonClick.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace orvix::ui {

class IListRowSource {
 public:
  virtual ~IListRowSource() = default;
  virtual int RowCount() const = 0;
  virtual std::wstring CellText(int row, int column) const = 0;
  // Position in the view's image list, or -1 for none.
  virtual int RowImage(int /*row*/) const { return -1; }
  virtual bool RowChecked(int /*row*/) const { return false; }
};

struct ListColumn {
  std::wstring title;
  int width = 100;  // 96-DPI pixels
  bool rightAligned = false;
  bool button = false;  // a push button in every row (owner-drawn details view only)
};

struct ListViewArgs {
  std::vector<ListColumn> columns;
  bool ownerDraw = false;    // details rows drawn here
  int rowHeight = 0;         // details rows' height in 96-DPI pixels (0: the control's)
  bool checkBoxes = false;
  bool singleSelection = true;
  bool iconView = false;
  int iconSpacing = 90;      // icon view cells, 96-DPI pixels
};

enum class SortArrow { None, Up, Down };

class ListView : public Control {
 public:
  bool Create(HWND parent, const ListViewArgs& args, IListRowSource& source);

  void SetRowCount(int count);
  void RedrawRow(int row);
  void RedrawAll();
  void SetColumnTitle(int column, const std::wstring& title);
  // Widens or narrows one column so that the columns fill the list's width.
  void FillWidthWithColumn(int column);
  void SetSortArrow(int column, SortArrow arrow);
  void SetButtonCaption(const std::wstring& caption);
  void SetIconView(bool iconView);
  bool IconView() const { return iconView_; }
  void SetCheckBoxes(bool shown);
  // The icons of both views; the list does not own it.
  void SetImages(HIMAGELIST images);
  // Sizes and fonts for the window's DPI.
  void SetDpi(UINT dpi);

  std::optional<int> SelectedRow() const;
  void SelectRow(int row);
  void ClearSelection();
  int TopRow() const;
  void ScrollToRow(int row);
  // Where a context menu opens: at the mouse, or for the keyboard (lParam
  // -1) under the selected row.
  POINT ContextMenuPoint(LPARAM lParam) const;

  std::function<void(int column)> onHeaderClick;
  std::function<void(int row)> onCheckToggle;
  std::function<void(int row, int column)> onButtonClick;
  std::function<void(int row)> onActivate;  // double click or Enter
  std::function<void()> onSelectionChanged;
  // A key pressed in the list; true when handled.
  std::function<bool(WORD key)> onKey;

  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  void DrawRow(HDC dc, int row);
  void ApplyRowHeight();

  IListRowSource* source_ = nullptr;
  ListViewArgs args_;
  bool iconView_ = false;
  bool checkBoxes_ = false;
  UINT dpi_ = 96;
  HIMAGELIST images_ = nullptr;
  HIMAGELIST rowHeightImages_ = nullptr;  // an empty list that sets the details rows' height
  std::wstring buttonCaption_;
  std::optional<int> pressedButtonRow_;
};

}  // namespace orvix::ui
