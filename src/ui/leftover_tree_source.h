// The result tree of the scan as the review window's tree view asks for it.
// A node's id is its position (program, category, finding) packed into a
// number, never a pointer: Delete's second pass frees nodes, and the view
// resolves ids in the tree afresh each time it asks.
#pragma once

#include "uninstall/result_tree.h"
#include "ui/tree_view.h"

namespace orvix::ui {

class LeftoverTreeSource : public ITreeSource {
 public:
  explicit LeftoverTreeSource(TLeftoverTree& tree) : tree_(tree) {}

  std::vector<TreeNodeId> Children(TreeNodeId parent) const override;
  std::wstring NodeText(TreeNodeId node) const override;
  int NodeCheckState(TreeNodeId node) const override;
  int NodeImage(TreeNodeId node) const override;
  // The program and category of the last node are open when it is a finding.
  bool NodeExpanded(TreeNodeId node) const override;

  // The node of an id; nullptr when the tree has no such node (any more).
  TLeftoverNode* Node(TreeNodeId id) const;

 private:
  TLeftoverTree& tree_;
};

}  // namespace orvix::ui
