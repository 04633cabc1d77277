// Reading the list views, tree views and combo boxes of another process, and
// choosing in them, for the automation program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace orvix::automation {

// Each row's cells in column order (one cell when the list has no columns).
std::optional<std::vector<std::vector<std::wstring>>> ListRows(HWND list);
// The header's column titles.
std::vector<std::wstring> ListColumns(HWND list);
// Selects and focuses one row (clearing every other selection) and shows it.
bool SelectListRow(HWND list, int row);

struct TTreeNode {
  int depth = 0;
  std::wstring text;
  int checkState = 0;  // the state image: 0 none, then the window's own numbering
};
// Every node in tree order, below collapsed nodes too.
std::optional<std::vector<TTreeNode>> TreeNodes(HWND tree);

// The combo box's items (CB_GETLBTEXT, which Windows copies across processes).
std::vector<std::wstring> ComboItems(HWND combo);
// Selects an item and tells the owner as a user's choice would (CBN_SELCHANGE).
bool SelectComboItem(HWND combo, int index);

}  // namespace orvix::automation
