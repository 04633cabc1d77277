// Check boxes of the leftover tree: a node's state spreads to everything
// below it, and each ancestor shows whether its children agree.
#pragma once

#include <functional>

#include "uninstall/result_tree.h"

namespace orvix {

// Visits every node, parents before children, in the tree's order.
void ForEachNode(const TLeftoverTree& tree, const std::function<void(TLeftoverNode&)>& visit);
int NodeCount(const TLeftoverTree& tree);

// Gives the node and everything below it the state, then settles its
// ancestors: partly checked where children differ, else their common state.
void SetCheckState(TLeftoverNode& node, TCheckState state);
// Settles one node from its children (a node without children keeps its state).
void SettleFromChildren(TLeftoverNode& node);
void SetAllCheckStates(TLeftoverTree& tree, TCheckState state);

bool AnyNodeIn(const TLeftoverTree& tree, const std::function<bool(const TLeftoverNode&)>& test);

}  // namespace orvix
