#include "uninstall/tree_checks.h"

namespace orvix {
namespace {

void VisitBelow(TLeftoverNode& node, const std::function<void(TLeftoverNode&)>& visit) {
  visit(node);
  for (const auto& child : node.Children) VisitBelow(*child, visit);
}

// Checking a branch or the whole tree leaves a still-installed finding as
// it is: only a click on the finding itself checks it.
TCheckState SpreadState(const TLeftoverNode& node, TCheckState state) {
  return state == csChecked && node.Data.StillInstalled ? node.CheckState : state;
}

// Settles every node below and at `node` from its children, deepest first.
void SettleBelow(TLeftoverNode& node) {
  for (const auto& child : node.Children) SettleBelow(*child);
  SettleFromChildren(node);
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
  node.CheckState = state;
  for (const auto& child : node.Children) {
    VisitBelow(*child, [state](TLeftoverNode& below) { below.CheckState = SpreadState(below, state); });
  }
  SettleBelow(node);
  for (TLeftoverNode* parent = node.Parent; parent != nullptr; parent = parent->Parent) SettleFromChildren(*parent);
}

void SetAllCheckStates(TLeftoverTree& tree, TCheckState state) {
  ForEachNode(tree, [state](TLeftoverNode& node) { node.CheckState = SpreadState(node, state); });
  for (const auto& program : tree.Programs()) SettleBelow(*program);
}

bool AnyNodeIn(const TLeftoverTree& tree, const std::function<bool(const TLeftoverNode&)>& test) {
  bool found = false;
  ForEachNode(tree, [&](TLeftoverNode& node) { found = found || test(node); });
  return found;
}

}  // namespace orvix
