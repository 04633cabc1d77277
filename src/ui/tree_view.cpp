#include "ui/tree_view.h"

#include "ui/check_images.h"
#include "ui/dpi.h"

namespace orvix::ui {
namespace {

TreeNodeId NodeOf(HWND tree, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  TreeView_GetItem(tree, &data);
  return static_cast<TreeNodeId>(data.lParam);
}

// The items in tree order.
template <typename Visit>
void ForEachItem(HWND tree, HTREEITEM item, const Visit& visit) {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    visit(item);
    ForEachItem(tree, TreeView_GetChild(tree, item), visit);
  }
}

}  // namespace

bool TreeView::Create(HWND parent, ITreeSource& source) {
  source_ = &source;
  if (!CreateControl(parent, WC_TREEVIEWW, L"",
                     WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                     WS_EX_CLIENTEDGE)) {
    return false;
  }
  dpi_ = WindowDpi(parent);
  states_ = MakeCheckStateImages(hwnd_, dpi_);
  TreeView_SetImageList(hwnd_, states_, TVSIL_STATE);
  return true;
}

TreeView::~TreeView() {
  if (states_ != nullptr) ::ImageList_Destroy(states_);
}

void TreeView::SetDpi(UINT dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  HIMAGELIST old = states_;
  states_ = MakeCheckStateImages(hwnd_, dpi_);
  TreeView_SetImageList(hwnd_, states_, TVSIL_STATE);
  if (old != nullptr) ::ImageList_Destroy(old);
}

void TreeView::SetImages(HIMAGELIST images) { TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL); }

void TreeView::Rebuild() {
  ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(hwnd_);
  for (TreeNodeId child : source_->Children(0)) Insert(TVI_ROOT, child);
  ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TreeView::Insert(HTREEITEM parent, TreeNodeId node) {
  const std::wstring text = source_->NodeText(node);
  const int image = source_->NodeImage(node);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = static_cast<LPARAM>(node);
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.state = INDEXTOSTATEIMAGEMASK(source_->NodeCheckState(node));
  HTREEITEM item = TreeView_InsertItem(hwnd_, &insert);
  for (TreeNodeId child : source_->Children(node)) Insert(item, child);
  if (source_->NodeExpanded(node)) TreeView_Expand(hwnd_, item, TVE_EXPAND);
}

void TreeView::RefreshStates() {
  ForEachItem(hwnd_, TreeView_GetRoot(hwnd_), [&](HTREEITEM item) { Refresh(item); });
}

void TreeView::Refresh(HTREEITEM item) {
  const TreeNodeId node = NodeOf(hwnd_, item);
  const std::wstring text = source_->NodeText(node);
  TVITEMW data = {};
  data.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
  data.hItem = item;
  data.pszText = const_cast<wchar_t*>(text.c_str());
  data.stateMask = TVIS_STATEIMAGEMASK;
  data.state = INDEXTOSTATEIMAGEMASK(source_->NodeCheckState(node));
  TreeView_SetItem(hwnd_, &data);
}

std::optional<TreeNodeId> TreeView::SelectedNode() const {
  HTREEITEM item = TreeView_GetSelection(hwnd_);
  if (item == nullptr) return std::nullopt;
  return NodeOf(hwnd_, item);
}

std::vector<std::wstring> TreeView::Texts() const {
  std::vector<std::wstring> texts;
  ForEachItem(hwnd_, TreeView_GetRoot(hwnd_), [&](HTREEITEM item) {
    wchar_t buffer[1024] = {};
    TVITEMW data = {};
    data.mask = TVIF_HANDLE | TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = 1024;
    TreeView_GetItem(hwnd_, &data);
    texts.emplace_back(buffer);
  });
  return texts;
}

bool TreeView::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case NM_CLICK: {
      TVHITTESTINFO hit = {};
      ::GetCursorPos(&hit.pt);
      ::ScreenToClient(hwnd_, &hit.pt);
      HTREEITEM item = TreeView_HitTest(hwnd_, &hit);
      if (item == nullptr) return false;
      const bool onState = (hit.flags & TVHT_ONITEMSTATEICON) != 0;
      if (onState) TreeView_SelectItem(hwnd_, item);
      if (onMouseDown) onMouseDown(NodeOf(hwnd_, item), onState);
      result = 0;
      return true;
    }
    case TVN_KEYDOWN:
      if (reinterpret_cast<NMTVKEYDOWN&>(header).wVKey == VK_SPACE) {
        if (const std::optional<TreeNodeId> node = SelectedNode(); node && onMouseDown) onMouseDown(*node, true);
        result = 1;  // no incremental search for the blank
        return true;
      }
      return false;
    case TVN_SELCHANGEDW:
      if (onSelect) onSelect(static_cast<TreeNodeId>(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.lParam));
      return true;
    default:
      return false;
  }
}

}  // namespace orvix::ui
