// TreeView over a tree source: children, text, image and check state of
// each node, asked for when the tree is built. The items keep copies of the
// texts and an opaque node id, never a pointer the control reads: a model
// call may free nodes while the window's messages run (Rebuild after a
// structural change, RefreshStates after checks changed). The check states
// (1 unchecked, 2 checked, 3 partly checked) are state images; a click on
// one, or Space, raises onMouseDown(node, true), any other click
// onMouseDown(node, false).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace orvix::ui {

// A node's id as the source gives it; 0 is the invisible root.
using TreeNodeId = std::uintptr_t;

class ITreeSource {
 public:
  virtual ~ITreeSource() = default;
  virtual std::vector<TreeNodeId> Children(TreeNodeId parent) const = 0;
  virtual std::wstring NodeText(TreeNodeId node) const = 0;
  // 0 for no check box, else 1 unchecked, 2 checked, 3 partly checked.
  virtual int NodeCheckState(TreeNodeId /*node*/) const { return 0; }
  // Position in the tree's image list, or -1 for none.
  virtual int NodeImage(TreeNodeId /*node*/) const { return -1; }
  virtual bool NodeExpanded(TreeNodeId /*node*/) const { return true; }
};

class TreeView : public Control {
 public:
  bool Create(HWND parent, ITreeSource& source);
  ~TreeView() override;

  // Builds every item again from the source (the selection is lost).
  void Rebuild();
  // Takes the texts and check states of the existing items again.
  void RefreshStates();
  void SetImages(HIMAGELIST images);
  void SetDpi(UINT dpi);

  std::optional<TreeNodeId> SelectedNode() const;
  // Every item's text in tree order (for tests and screen readers).
  std::vector<std::wstring> Texts() const;

  std::function<void(TreeNodeId node, bool onStateIcon)> onMouseDown;
  std::function<void(TreeNodeId node)> onSelect;

  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  void Insert(HTREEITEM parent, TreeNodeId node);
  void Refresh(HTREEITEM item);

  ITreeSource* source_ = nullptr;
  HIMAGELIST states_ = nullptr;
  UINT dpi_ = 96;
};

}  // namespace orvix::ui
