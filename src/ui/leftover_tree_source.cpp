#include "ui/leftover_tree_source.h"

namespace orvix::ui {
namespace {

// Bits of an id, each position stored plus one so that 0 means "none"; the
// invisible root is 0. Fits 32 bits: 1023 programs, 2 categories, 2^20 - 1
// findings.
constexpr int kFindingBits = 20;
constexpr int kCategoryBits = 2;
constexpr TreeNodeId kFindingMask = (TreeNodeId{1} << kFindingBits) - 1;
constexpr TreeNodeId kCategoryMask = (TreeNodeId{1} << kCategoryBits) - 1;

struct TPosition {
  int program = -1, category = -1, finding = -1;
};

TreeNodeId IdOf(const TPosition& at) {
  return (static_cast<TreeNodeId>(at.program + 1) << (kFindingBits + kCategoryBits)) |
         (static_cast<TreeNodeId>(at.category + 1) << kFindingBits) | static_cast<TreeNodeId>(at.finding + 1);
}

TPosition PositionOf(TreeNodeId id) {
  return {static_cast<int>(id >> (kFindingBits + kCategoryBits)) - 1,
          static_cast<int>((id >> kFindingBits) & kCategoryMask) - 1, static_cast<int>(id & kFindingMask) - 1};
}

}  // namespace

TLeftoverNode* LeftoverTreeSource::Node(TreeNodeId id) const {
  const TPosition at = PositionOf(id);
  const auto& programs = tree_.Programs();
  if (at.program < 0 || at.program >= static_cast<int>(programs.size())) return nullptr;
  TLeftoverNode* node = programs[at.program].get();
  for (const int index : {at.category, at.finding}) {
    if (index < 0) break;
    if (index >= static_cast<int>(node->Children.size())) return nullptr;
    node = node->Children[index].get();
  }
  return node;
}

std::vector<TreeNodeId> LeftoverTreeSource::Children(TreeNodeId parent) const {
  std::vector<TreeNodeId> ids;
  if (parent == 0) {
    for (int p = 0; p < static_cast<int>(tree_.Programs().size()); ++p) ids.push_back(IdOf({p, -1, -1}));
    return ids;
  }
  const TLeftoverNode* node = Node(parent);
  if (node == nullptr) return ids;
  TPosition at = PositionOf(parent);
  for (int i = 0; i < static_cast<int>(node->Children.size()) && at.finding < 0; ++i) {
    TPosition child = at;
    (at.category < 0 ? child.category : child.finding) = i;
    ids.push_back(IdOf(child));
  }
  return ids;
}

std::wstring LeftoverTreeSource::NodeText(TreeNodeId id) const {
  const TLeftoverNode* node = Node(id);
  return node != nullptr ? node->Text : std::wstring();
}

int LeftoverTreeSource::NodeCheckState(TreeNodeId id) const {
  const TLeftoverNode* node = Node(id);
  return node != nullptr ? static_cast<int>(node->CheckState) : 0;
}

int LeftoverTreeSource::NodeImage(TreeNodeId id) const {
  const TLeftoverNode* node = Node(id);
  return node != nullptr ? node->ImageIndex : -1;
}

bool LeftoverTreeSource::NodeExpanded(TreeNodeId id) const {
  const auto& programs = tree_.Programs();
  if (programs.empty()) return false;
  const TLeftoverNode* lastProgram = programs.back().get();
  if (lastProgram->Children.empty() || lastProgram->Children.back()->Children.empty()) return false;
  const TPosition at = PositionOf(id);
  const int lastP = static_cast<int>(programs.size()) - 1;
  const int lastC = static_cast<int>(lastProgram->Children.size()) - 1;
  return at.program == lastP && at.finding < 0 && (at.category < 0 || at.category == lastC);
}

}  // namespace orvix::ui
