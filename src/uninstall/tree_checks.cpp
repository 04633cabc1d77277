#include "uninstall/tree_checks.h"

namespace orvix {
namespace {

void VisitBelow(TLeftoverNode& node, const std::function<void(TLeftoverNode&)>& visit) {
  visit(node);
  for (const auto& child : node.Children) VisitBelow(*child, visit);
}

}  // namespace

void ForEachNode(const TLeftoverTree& tree, const std::function<void(TLeftoverNode&)>& visit) {
  for (const auto& program : tree.Programs()) VisitBelow(*program, visit);
}

int NodeCount(const TLeftoverTree& tree) {
  int count = 0;
  ForEachNode(tree, [&](TLeftoverNode&) { ++count; });
  return count;
}

void SettleFromChildren(TLeftoverNode& node) {
  if (node.Children.empty()) return;
  const TCheckState first = node.Children.front()->CheckState;
  bool same = true;
  for (const auto& child : node.Children) same = same && child->CheckState == first;
  node.CheckState = same ? first : csPartlyChecked;
}

void SetCheckState(TLeftoverNode& node, TCheckState state) {
  VisitBelow(node, [state](TLeftoverNode& below) { below.CheckState = state; });
  for (TLeftoverNode* parent = node.Parent; parent != nullptr; parent = parent->Parent) SettleFromChildren(*parent);
}

void SetAllCheckStates(TLeftoverTree& tree, TCheckState state) {
  ForEachNode(tree, [state](TLeftoverNode& node) { node.CheckState = state; });
}

bool AnyNodeIn(const TLeftoverTree& tree, const std::function<bool(const TLeftoverNode&)>& test) {
  bool found = false;
  ForEachNode(tree, [&](TLeftoverNode& node) { found = found || test(node); });
  return found;
}

}  // namespace orvix
