#include "inventory/list_page.h"

#include "inventory/list_sort.h"
#include "language/messages.h"
#include "platform/settings.h"

namespace orvix {

TUninstallChoice ChooseForUninstall(const std::vector<TListRow>& rows, bool batchMode,
                                    const std::vector<std::size_t>& checkedRows,
                                    std::optional<std::size_t> selectedRow) {
  TUninstallChoice choice;
  if (batchMode) {
    for (std::size_t row : checkedRows) {
      if (row < rows.size()) choice.entries.push_back(rows[row].entry);
    }
    if (choice.entries.empty())
      choice.message = Text(msg::BatchUninstall_NoneSelect);
  } else if (selectedRow && *selectedRow < rows.size()) {
    choice.entries.push_back(rows[*selectedRow].entry);
  } else {
    choice.message = Text(msg::Uninstall_NoneSelect);
  }
  return choice;
}

TSoftwarePage::TSoftwarePage(const TSoftList& items) : items_(items) {
  const SoftwareListSort saved = ReadSoftwareListSort();
  sort_.column = saved.columnIndex;
  sort_.order =
      saved.sortState >= soNone && saved.sortState <= soDescending ? static_cast<TSortOrder>(saved.sortState) : soNone;
  viewMode_ = ReadListViewStyle() == lvmIcons ? lvmIcons : lvmDetails;
  batchMode_ = ReadBatchUninstall();
}

void TSoftwarePage::Fill() {
  rows_ = ListRows(items_, category_, viewMode_, filter_);
  SortRows(rows_, sort_);
}

bool TSoftwarePage::SelectCategory(int tab) {
  if (tab == tab_ || tab < 0 || tab >= static_cast<int>(kSoftwareTabs.size())) return false;
  const TSoftwareTab& chosen = kSoftwareTabs[tab];
  tab_ = tab;
  category_ = chosen.category;
  filter_.clear();
  if (chosen.hasSort) sort_ = chosen.sort;
  Fill();
  return true;
}

void TSoftwarePage::FillCurrent(const std::wstring& filter) {
  filter_ = filter;
  Fill();
}

void TSoftwarePage::ClickHeader(int column) {
  sort_ = SortAfterHeaderClick(sort_, column);
  SortRows(rows_, sort_);
}

void TSoftwarePage::SetViewMode(TListViewMode mode) {
  viewMode_ = mode;
  filter_.clear();
  Fill();
  WriteListViewStyle(mode);
}

void TSoftwarePage::SetBatchMode(bool on) {
  batchMode_ = on;
  WriteBatchUninstall(on);
}

void TSoftwarePage::SaveSort() const { WriteSoftwareListSort({sort_.column, sort_.order}); }

std::optional<std::size_t> TSoftwarePage::UpdateEntry(std::size_t index) {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row].index != index) continue;
    rows_[row] = MakeListRow(*rows_[row].entry, index, viewMode_);
    return row;
  }
  return std::nullopt;
}

TUninstallChoice TSoftwarePage::UninstallAction(const std::vector<std::size_t>& checkedRows,
                                                std::optional<std::size_t> selectedRow) const {
  return ChooseForUninstall(rows_, batchMode_, checkedRows, selectedRow);
}

TUninstallChoice TSoftwarePage::RowButtonAction(std::size_t row) const {
  return ChooseForUninstall(rows_, false, {}, row);
}

}  // namespace orvix
