// The state of the software page without its window: the current tab and
// category, the sort, the view and batch modes, the search filter and the
// listed rows. The window draws Rows() and forwards clicks here; the modes
// and the sort persist in Main.ini.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "inventory/list_model.h"

namespace orvix {

// What the uninstall command acts on: the entries, or the message to show
// (with the application title) when nothing is chosen.
struct TUninstallChoice {
  std::vector<const TSoftInfo*> entries;
  std::wstring message;
};
// In batch mode the checked rows ("Please select at least one program." when
// none), otherwise the selected row ("Please select a program first.").
TUninstallChoice ChooseForUninstall(const std::vector<TListRow>& rows, bool batchMode,
                                    const std::vector<std::size_t>& checkedRows,
                                    std::optional<std::size_t> selectedRow);

class TSoftwarePage {
 public:
  // Reads the sort, the view mode and batch mode; no tab is selected and
  // nothing is listed until SelectCategory.
  explicit TSoftwarePage(const TSoftList& items);

  int CurrentTab() const { return tab_; }  // -1 until a tab is selected
  TSoftwareCategory Category() const { return category_; }
  const TListSort& Sort() const { return sort_; }
  TListViewMode ViewMode() const { return viewMode_; }
  bool BatchMode() const { return batchMode_; }
  const std::wstring& Filter() const { return filter_; }
  const std::vector<TListRow>& Rows() const { return rows_; }
  // Column 0's header with the number of listed rows.
  std::wstring HeaderText() const { return SoftwareHeaderText(rows_.size()); }

  // Switches to a tab of kSoftwareTabs: clears the filter, lists the tab's
  // category and applies the tab's sort. False (and nothing changes) when
  // the tab is already current or does not exist.
  bool SelectCategory(int tab);
  // Lists the current category again with a search filter.
  void FillCurrent(const std::wstring& filter);
  // A click on a column header: re-sorts by SortAfterHeaderClick.
  void ClickHeader(int column);
  // Switches the caption form, lists the current category without filter
  // and writes ListView_ViewStyle.
  void SetViewMode(TListViewMode mode);
  // Toggles the check boxes and writes "Batch Uninstall".
  void SetBatchMode(bool on);
  // Writes [Software] ColumnIndex and SortState, when the main window closes.
  void SaveSort() const;

  // After the analysis changed Items[index]: refreshes that entry's row and
  // answers its position in Rows(), or nothing when it is not listed.
  std::optional<std::size_t> UpdateEntry(std::size_t index);

  // The page's uninstall command with the window's checked and selected rows.
  TUninstallChoice UninstallAction(const std::vector<std::size_t>& checkedRows,
                                   std::optional<std::size_t> selectedRow) const;
  // The row's own button: one program, batch mode off for that call.
  TUninstallChoice RowButtonAction(std::size_t row) const;
  // A double click uninstalls only with rows listed and batch mode off.
  bool DoubleClickUninstalls() const { return !rows_.empty() && !batchMode_; }

 private:
  void Fill();

  const TSoftList& items_;
  int tab_ = -1;
  TSoftwareCategory category_ = scAllPrograms;
  TListSort sort_;
  TListViewMode viewMode_ = lvmDetails;
  bool batchMode_ = false;
  std::wstring filter_;
  std::vector<TListRow> rows_;
};

}  // namespace orvix
