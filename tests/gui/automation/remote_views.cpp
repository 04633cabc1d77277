// List, tree and combo readers over messages whose structures are placed in
// the control's own process (RemoteMemory).
#include "automation/remote_views.h"

#include <algorithm>
#include <cwchar>

#include <commctrl.h>

#include "automation/remote_memory.h"

namespace orvix::automation {
namespace {

constexpr size_t kTextChars = 1024;
constexpr UINT kTimeoutMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// A structure followed by its text buffer, in the control's process.
template <typename T>
struct TRemoteItem {
  explicit TRemoteItem(HWND control) : memory(control, sizeof(T) + kTextChars * sizeof(wchar_t)) {}
  wchar_t* Text() const { return reinterpret_cast<wchar_t*>(memory.At(sizeof(T))); }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(memory.Address()); }
  RemoteMemory memory;
};

std::wstring CellText(HWND list, TRemoteItem<LVITEMW>& remote, int row, int column) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = remote.Text();
  item.cchTextMax = static_cast<int>(kTextChars);
  const wchar_t nothing = L'\0';
  remote.memory.Write(sizeof item, &nothing, sizeof nothing);
  if (!remote.memory.Write(0, &item, sizeof item)) return {};
  if (Send(list, LVM_GETITEMTEXTW, row, remote.Address()) < 0) return {};
  return remote.memory.ReadText(sizeof item, kTextChars);
}

}  // namespace

std::vector<std::wstring> ListColumns(HWND list) {
  std::vector<std::wstring> titles;
  const HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
  if (!header || reinterpret_cast<LRESULT>(header) == -1) return titles;
  const LRESULT count = Send(header, HDM_GETITEMCOUNT, 0, 0);
  TRemoteItem<HDITEMW> remote(header);
  if (!remote.memory.Valid()) return titles;
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = remote.Text();
    item.cchTextMax = static_cast<int>(kTextChars);
    remote.memory.Write(0, &item, sizeof item);
    Send(header, HDM_GETITEMW, i, remote.Address());
    titles.push_back(remote.memory.ReadText(sizeof item, kTextChars));
  }
  return titles;
}

std::optional<std::vector<std::vector<std::wstring>>> ListRows(HWND list) {
  if (!SameBitness(list)) return std::nullopt;
  TRemoteItem<LVITEMW> remote(list);
  if (!remote.memory.Valid()) return std::nullopt;
  const LRESULT count = Send(list, LVM_GETITEMCOUNT, 0, 0);
  if (count < 0) return std::nullopt;
  const int columns = std::max<int>(1, static_cast<int>(ListColumns(list).size()));
  std::vector<std::vector<std::wstring>> rows;
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) cells.push_back(CellText(list, remote, row, column));
    rows.push_back(std::move(cells));
  }
  return rows;
}

bool SelectListRow(HWND list, int row) {
  if (!SameBitness(list)) return false;
  TRemoteItem<LVITEMW> remote(list);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  if (!remote.memory.Write(0, &item, sizeof item) || Send(list, LVM_SETITEMSTATE, -1, remote.Address()) < 0)
    return false;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!remote.memory.Write(0, &item, sizeof item) || Send(list, LVM_SETITEMSTATE, row, remote.Address()) <= 0)
    return false;
  Send(list, LVM_ENSUREVISIBLE, row, FALSE);
  ::PostMessageW(list, WM_SETFOCUS, 0, 0);
  return true;
}

std::optional<std::vector<TTreeNode>> TreeNodes(HWND tree) {
  if (!SameBitness(tree)) return std::nullopt;
  TRemoteItem<TVITEMW> remote(tree);
  if (!remote.memory.Valid()) return std::nullopt;
  std::vector<TTreeNode> nodes;
  // Depth-first without recursion: a stack of the next sibling to visit per level.
  std::vector<HTREEITEM> stack;
  HTREEITEM node = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  while (node || !stack.empty()) {
    if (!node) {
      node = stack.back();
      stack.pop_back();
      continue;
    }
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
    item.hItem = node;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.pszText = remote.Text();
    item.cchTextMax = static_cast<int>(kTextChars);
    if (!remote.memory.Write(0, &item, sizeof item) || Send(tree, TVM_GETITEMW, 0, remote.Address()) <= 0)
      return std::nullopt;
    TVITEMW answer{};
    remote.memory.Read(0, &answer, sizeof answer);
    nodes.push_back({static_cast<int>(stack.size()), remote.memory.ReadText(sizeof item, kTextChars),
                     static_cast<int>((answer.state & TVIS_STATEIMAGEMASK) >> 12)});
    const auto next = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
    const auto child = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
    if (child) {
      stack.push_back(next);
      node = child;
    } else {
      node = next;
    }
  }
  return nodes;
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    const LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(length < 0 ? 0 : length + 1, L'\0');
    if (length > 0) Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    items.push_back(text);
  }
  return items;
}

bool SelectComboItem(HWND combo, int index) {
  if (Send(combo, CB_SETCURSEL, index, 0) != index) return false;
  const HWND parent = ::GetParent(combo);
  ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  return true;
}

}  // namespace orvix::automation
