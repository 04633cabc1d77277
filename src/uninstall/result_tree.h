// The result tree of leftover scans, as the review window shows it: one
// branch per program, with a "Registry" and a "File" category holding one
// node per finding. Nodes own copies of everything they need.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "inventory/soft_info.h"
#include "platform/win_types.h"
#include "uninstall/scan_findings.h"
#include "uninstall/tree_images.h"

namespace orvix {

enum TTreeNodeType : std::int32_t { ntProgram = 0, ntRegistryCategory = 1, ntFileCategory = 2, ntFinding = 3 };
enum TTreeItemKind : std::int32_t { ikRegistry = 0, ikFile = 1 };
// The state picture of a node's check box.
enum TCheckState : std::int32_t { csUnchecked = 1, csChecked = 2, csPartlyChecked = 3 };

struct TMyTreeData {
  TTreeItemKind ItemKind = ikRegistry;
  bool View64 = false;  // the view a registry finding was found in; the entry's for other nodes
  HKEY RootKey = 0;
  std::wstring KeyPath;
  std::wstring ValueName;  // program and category nodes: their plain caption
  std::wstring ValueData;
  std::wstring FilePath;
  std::int64_t FileSize = 0;
  TScanFileKind FileKind = sfkFolder;
  std::int32_t ImageIndex = 0;
  bool Deleted = false;  // set by the review window when the file is gone
  TTreeNodeType NodeType = ntProgram;
  bool Pending = false;  // set by the review window when the finding waits for the restart
  // A finding of a program that is still installed (its Uninstall key, its
  // folder and files): shown, never checked but by the user's own click.
  bool StillInstalled = false;
};

struct TLeftoverNode {
  std::wstring Text;
  std::int32_t ImageIndex = 0;
  TCheckState CheckState = csUnchecked;
  TMyTreeData Data;
  TLeftoverNode* Parent = nullptr;
  std::vector<std::unique_ptr<TLeftoverNode>> Children;

  TLeftoverNode& AddChild(std::wstring text, std::int32_t imageIndex, const TMyTreeData& data);
};

class TLeftoverTree {
 public:
  TLeftoverTree() : images_(TTreeImageList::WithDefaultPictures()) {}

  // Starts with the review window's four pictures; file and program icons
  // are appended as they come.
  TTreeImageList& Images() { return images_; }
  const TTreeImageList& Images() const { return images_; }
  const std::vector<std::unique_ptr<TLeftoverNode>>& Programs() const { return programs_; }
  TLeftoverNode& AddProgram(std::wstring text, std::int32_t imageIndex, const TMyTreeData& data);
  // Removes a node with everything below it; the node is freed.
  void Remove(TLeftoverNode& node);
  bool Empty() const { return programs_.empty(); }

 private:
  TTreeImageList images_;
  std::vector<std::unique_ptr<TLeftoverNode>> programs_;
};

// A count as the tree shows it after a caption: "(1 item)", "(5 items)".
std::wstring CountText(int count);

// Appends one program's branch. The program icon is taken from the
// inventory's icons at the entry's ImageIndex (index 0 beyond the list) or,
// without them, from the entry's DisplayIcon file.
void AddProgramBranch(TLeftoverTree& tree, const TSoftInfo& entry, const TRegFindings& registry,
                      const TFileFindings& files, const TTreeImageList* programIcons);

// Marks the findings of a program that is still installed: those at or
// below its Uninstall key, and those in its install folder (the scan's
// keyword, lower case with a trailing backslash); their captions say so.
void MarkStillInstalled(TLeftoverNode& program, const TSoftInfo& entry, const std::wstring& folder);

}  // namespace orvix
