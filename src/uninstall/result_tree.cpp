#include "uninstall/result_tree.h"

#include "language/messages.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/scan_registry.h"

namespace orvix {

TLeftoverNode& TLeftoverNode::AddChild(std::wstring text, std::int32_t imageIndex, const TMyTreeData& data) {
  auto node = std::make_unique<TLeftoverNode>();
  node->Text = std::move(text);
  node->ImageIndex = imageIndex;
  node->Data = data;
  node->Parent = this;
  Children.push_back(std::move(node));
  return *Children.back();
}

TLeftoverNode& TLeftoverTree::AddProgram(std::wstring text, std::int32_t imageIndex, const TMyTreeData& data) {
  auto node = std::make_unique<TLeftoverNode>();
  node->Text = std::move(text);
  node->ImageIndex = imageIndex;
  node->Data = data;
  programs_.push_back(std::move(node));
  return *programs_.back();
}

void TLeftoverTree::Remove(TLeftoverNode& node) {
  auto& siblings = node.Parent != nullptr ? node.Parent->Children : programs_;
  std::erase_if(siblings, [&](const std::unique_ptr<TLeftoverNode>& child) { return child.get() == &node; });
}

std::wstring CountText(int count) {
  const std::wstring items = count == 1 ? Text(msg::p_FormatOneItem_M)
                                        : MessageText(msg::p_FormatItems_M, {std::int64_t{count}});
  return L"(" + items + L")";
}

namespace {

TTreeImage ProgramIcon(const TSoftInfo& entry, const TTreeImageList* programIcons) {
  if (programIcons != nullptr) {
    const TTreeImage* icon = programIcons->At(entry.ImageIndex);
    if (icon == nullptr) icon = programIcons->At(0);
    if (icon != nullptr) return *icon;
  }
  TTreeImage image;
  image.Kind = tikFileOwnIcon;
  image.Source = entry.DisplayIcon;
  image.IconIndex = entry.IconIndex;
  return image;
}

TMyTreeData NodeData(TTreeNodeType type, const std::wstring& caption, bool view64) {
  TMyTreeData data;
  data.NodeType = type;
  data.ValueName = caption;
  data.View64 = view64;
  return data;
}

}  // namespace

void AddProgramBranch(TLeftoverTree& tree, const TSoftInfo& entry, const TRegFindings& registry,
                      const TFileFindings& files, const TTreeImageList* programIcons) {
  const int total = static_cast<int>(registry.size() + files.size());
  const std::int32_t icon = tree.Images().Add(ProgramIcon(entry, programIcons));
  TLeftoverNode& program =
      tree.AddProgram(entry.DisplayName + CountText(total), icon, NodeData(ntProgram, entry.DisplayName, entry.IsX64));

  if (!registry.empty()) {
    const std::wstring caption = Text(msg::p_RegistryCaption_M);
    TLeftoverNode& category = program.AddChild(caption + CountText(static_cast<int>(registry.size())),
                                               tpRegistryCategory, NodeData(ntRegistryCategory, caption, entry.IsX64));
    for (const TShowRegInfo& finding : registry) {
      TMyTreeData data;
      data.ItemKind = ikRegistry;
      data.View64 = finding.View64;
      data.RootKey = finding.RootKey;
      data.KeyPath = finding.KeyPath;
      data.ValueName = finding.ValueName;
      data.ValueData = finding.ValueData;
      data.NodeType = ntFinding;
      category.AddChild(RegItemText(finding.RootKey, finding.KeyPath, finding.ValueName, finding.ValueData),
                        finding.IsKey() ? tpKey : tpValue, data);
    }
  }

  if (!files.empty()) {
    const std::wstring caption = Text(msg::p_FileCaption_M);
    TLeftoverNode& category = program.AddChild(caption + CountText(static_cast<int>(files.size())), tpFileCategory,
                                               NodeData(ntFileCategory, caption, entry.IsX64));
    for (const TScanFileInfo& finding : files) {
      TMyTreeData data;
      data.ItemKind = ikFile;
      data.View64 = entry.IsX64;
      data.FilePath = finding.Path;
      data.FileSize = finding.Size;
      data.FileKind = finding.Kind;
      data.ImageIndex = finding.ImageIndex;
      data.NodeType = ntFinding;
      category.AddChild(finding.Path, finding.ImageIndex, data);
    }
  }
}

namespace {

bool AtOrBelow(const std::wstring& path, const std::wstring& top) {
  return path == top || (path.starts_with(top) && path[top.size()] == L'\\');
}

bool IsStillInstalledFinding(const TMyTreeData& data, HKEY entryRoot, const std::wstring& entryKey,
                             const std::wstring& folder) {
  if (data.ItemKind == ikFile) {
    const std::wstring path = LowerCase(data.FilePath) + L"\\";
    return !folder.empty() && path.starts_with(folder);
  }
  if (entryKey.empty() || data.RootKey != entryRoot) return false;
  return AtOrBelow(RegistryKeyIdentity(data.RootKey, data.KeyPath, data.View64, IsWow64()), entryKey);
}

}  // namespace

void MarkStillInstalled(TLeftoverNode& program, const TSoftInfo& entry, const std::wstring& folder) {
  const HKEY root = RootKeyFromName(Trim(entry.RootName));
  const std::wstring key =
      Trim(entry.KeyPath).empty() ? L"" : RegistryKeyIdentity(root, entry.KeyPath, entry.IsX64, IsWow64());
  const std::wstring mark = L" (" + Text(msg::p_StillInstalled_M) + L")";
  for (const auto& category : program.Children) {
    for (const auto& finding : category->Children) {
      if (!IsStillInstalledFinding(finding->Data, root, key, folder)) continue;
      finding->Data.StillInstalled = true;
      finding->Text += mark;
    }
  }
}

}  // namespace orvix
