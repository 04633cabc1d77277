// Delete in the leftover review: the first pass deletes registry findings
// and files, the second pass, from the last node to the first, removes
// folders once their contents are gone and drops what is done from the tree.
// Only what was removed is logged as deleted; what waits for the restart
// carries the restart prefix and what failed is named as failed.
#include <cmath>

#include "language/messages.h"
#include "platform/date_time.h"
#include "platform/file_helpers.h"
#include "platform/missing.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "platform/registry_helpers.h"
#include "shredder/shred_file.h"
#include "uninstall/power_scan_model.h"
#include "uninstall/tree_checks.h"
#include "uninstall/uninstall_log.h"

namespace orvix {
namespace {

// The words of one kind of log line, done and failed.
struct TLogWords {
  const TMessage& done;
  const TMessage& failed;
};

constexpr TLogWords kKeyWords{msg::Deleted_Registry_Key_M, msg::Failed_Delete_Registry_Key_M};
constexpr TLogWords kValueWords{msg::Deleted_Registry_Value_M, msg::Failed_Delete_Registry_Value_M};
constexpr TLogWords kFileWords{msg::Delete_File_M, msg::Failed_Delete_File_M};
constexpr TLogWords kFolderWords{msg::Delete_Folder_M, msg::Failed_Delete_Folder_M};

std::wstring PendingPrefix() { return Text(msg::Reboot_to_Delete_M); }
std::wstring PowerfulScanCaption() { return Text(msg::Powerful_Scan_M); }

bool IsFinding(const TLeftoverNode& node) { return node.Data.NodeType == ntFinding; }
bool IsFolder(const TMyTreeData& data) { return data.ItemKind == ikFile && data.FileKind == sfkFolder; }
void ClearReadOnly(const std::wstring& path) {
  IFileSystem& files = CurrentPlatform().Files();
  FileAttributeData data;
  if (files.GetAttributes(path, &data) != ERROR_SUCCESS || (data.attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  const DWORD writable = data.attributes & ~FILE_ATTRIBUTE_READONLY;
  files.SetAttributes(path, writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable);
}

bool IsRegistryValue(const TMyTreeData& data) { return !data.ValueName.empty() || !data.ValueData.empty(); }

std::wstring OutcomeLine(TDeleteOutcome outcome, const TLogWords& words, const std::wstring& item,
                        const std::wstring& refusal = {}) {
  const std::wstring done = Text(words.done) + L" " + item;
  switch (outcome) {
    case TDeleteOutcome::Removed: return done;
    case TDeleteOutcome::Scheduled: return PendingPrefix() + L" " + done;
    case TDeleteOutcome::Refused:
      return Text(msg::Refused_Delete_M) + L" " + item + L" (" + refusal + L")";
    case TDeleteOutcome::Failed: break;
  }
  return Text(words.failed) + L" " + item;
}

}  // namespace

TPowerScanRun TPowerScanModel::Delete(IPump& pump) {
  // A click that arrives while the passes pump messages starts nothing: the
  // running passes hold nodes that a second run would free under them.
  if (deleting_) return {};
  run_ = {};
  log_.clear();
  outcomes_.clear();
  refusals_.clear();
  guard_.emplace();
  deleting_ = true;
  run_.confirmed = prompts_.Confirm(
      Text(msg::PowerfulScan_DeleteASK_M));
  if (run_.confirmed) {
    reportEvent_(L"14");
    shredderPanelShown_ = shredFiles_;
    progressShown_ = true;
    progress_ = 0;
    deleteEnabled_ = false;
    FirstPass(pump);
    SecondPass();
    AppendUninstallLog(LogLines(), ReviewLogHeader);
    Recount();
    progressShown_ = false;
    itemLine_.clear();
    shredderPanelShown_ = false;
  }
  // Whatever the answer, the deletion is over: Cancel closes at once again.
  deleting_ = false;
  if (run_.confirmed && (tree_.Empty() || onlyPendingLeft_)) {
    prompts_.Message(tree_.Empty() ? Text(msg::Delete_finished_M)
                                   : Text(msg::ReStartup_to_Delete_M),
                     PowerfulScanCaption());
    closeRequested_ = true;
  }
  if (cancelled_) closeRequested_ = true;
  return run_;
}

bool TPowerScanModel::StopNow(IPump& pump) {
  pump.ProcessMessages();
  if (pump.StopRequested()) cancelled_ = true;
  return cancelled_;
}

void TPowerScanModel::Step(int& visited, int total) {
  progress_ = total > 0 ? static_cast<int>(std::lround(visited * 100.0 / total)) : 0;
  ++visited;
}

void TPowerScanModel::FirstPass(IPump& pump) {
  const int total = NodeCount(tree_);
  int visited = 0;
  for (const auto& program : tree_.Programs()) {
    Step(visited, total);
    // The plain caption: a name such as "Foo (x64)" keeps its brackets.
    log_.push_back({L"[" + program->Data.ValueName + L"]"});
    log_.push_back({Text(msg::Operation_M) + L": " + PowerfulScanCaption()});
    log_.push_back({Text(msg::Date_M) + L": " + FormatShortDateLongTime(NowLocal())});
    for (const auto& category : program->Children) {
      Step(visited, total);
      log_.push_back({L""});
      log_.push_back({L"------" + category->Data.ValueName + L"------"});
      for (const auto& finding : category->Children) {
        Step(visited, total);
        if (finding->CheckState == csChecked) DeleteFinding(*finding, pump);
        if (StopNow(pump)) break;
      }
      if (cancelled_) break;
    }
    if (cancelled_) break;
  }
}

void TPowerScanModel::DeleteFinding(TLeftoverNode& finding, IPump& pump) {
  TMyTreeData& data = finding.Data;
  if (IsFolder(data)) {
    // Its line is written once the second pass knows what became of it.
    log_.push_back({L"", &finding, data.FilePath});
    return;
  }
  if (data.Pending) {
    // Already waiting for the restart: logged again, not scheduled again.
    log_.push_back({OutcomeLine(TOutcome::Scheduled, kFileWords, data.FilePath)});
    return;
  }
  const std::wstring refusal = Refusal(data);
  TOutcome outcome = TOutcome::Refused;
  if (data.ItemKind == ikRegistry) {
    const std::wstring item = RegItemText(data.RootKey, data.KeyPath, data.ValueName, data.ValueData);
    itemLine_ = item;
    if (refusal.empty()) outcome = DeleteRegistryFinding(data);
    log_.push_back({OutcomeLine(outcome, IsRegistryValue(data) ? kValueWords : kKeyWords, item, refusal)});
  } else {
    itemLine_ = data.FilePath;
    if (refusal.empty()) outcome = DeleteFile(data.FilePath, pump);
    data.Deleted = outcome == TOutcome::Removed;
    log_.push_back({OutcomeLine(outcome, kFileWords, data.FilePath, refusal)});
  }
  if (!refusal.empty()) refusals_[&finding] = refusal;
  Record(finding, outcome);
}

std::wstring TPowerScanModel::Refusal(const TMyTreeData& data) const {
  if (data.ItemKind == ikFile) return guard_->RefuseFile(data.FilePath);
  return IsRegistryValue(data) ? guard_->RefuseValue(data.RootKey, data.KeyPath)
                               : guard_->RefuseKey(data.RootKey, data.KeyPath);
}

TPowerScanModel::TOutcome TPowerScanModel::DeleteRegistryFinding(const TMyTreeData& data) {
  if (IsRegistryValue(data)) {
    return RegDeleteValueAt(data.RootKey, data.KeyPath, data.ValueName, data.View64) ? TOutcome::Removed
                                                                                      : TOutcome::Failed;
  }
  return RegDeleteKeyAt(data.RootKey, data.KeyPath, data.View64) ? TOutcome::Removed : TOutcome::Failed;
}

TPowerScanModel::TOutcome TPowerScanModel::DeleteFile(const std::wstring& path, IPump& pump) {
  // A read-only leftover is still the program's: only a file in use waits.
  ClearReadOnly(path);
  if (shredFiles_) {
    if (CanOpenForWriting(path)) {
      const TShredResult result = ShredFile(path, pump);
      if (result == TShredResult::Shredded || PathMissing(path)) return TOutcome::Removed;
      // Stopped by Cancel: the file stays as it is.
      if (result == TShredResult::Stopped) return TOutcome::Failed;
    }
  } else if (CurrentPlatform().Files().DeleteFile(path) == ERROR_SUCCESS || PathMissing(path)) {
    return TOutcome::Removed;
  }
  return DeleteAtReboot(path, L"", rmDelete) ? TOutcome::Scheduled : TOutcome::Failed;
}

void TPowerScanModel::Record(const TLeftoverNode& finding, TOutcome outcome) {
  outcomes_[&finding] = outcome;
  if (outcome == TOutcome::Refused) ++run_.refused;
  ++(outcome == TOutcome::Removed ? run_.removed : outcome == TOutcome::Scheduled ? run_.scheduled : run_.failed);
}

void TPowerScanModel::SecondPass() {
  std::vector<TLeftoverNode*> nodes;
  ForEachNode(tree_, [&](TLeftoverNode& node) { nodes.push_back(&node); });
  for (auto it = nodes.rbegin(); it != nodes.rend() && !cancelled_; ++it) {
    TLeftoverNode& node = **it;
    if (node.CheckState != csChecked) continue;
    if (!IsFinding(node)) {
      if (node.Children.empty()) tree_.Remove(node);
    } else if (IsFolder(node.Data)) {
      RemoveFolder(node);
    } else if (const auto found = outcomes_.find(&node); found != outcomes_.end()) {
      if (found->second == TOutcome::Removed) tree_.Remove(node);
      if (found->second == TOutcome::Scheduled) MarkPending(node);
    }
  }
}

void TPowerScanModel::RemoveFolder(TLeftoverNode& folder) {
  const std::wstring& path = folder.Data.FilePath;
  if (const std::wstring refusal = Refusal(folder.Data); !refusal.empty()) {
    refusals_[&folder] = refusal;
    Record(folder, TOutcome::Refused);
    return;
  }
  TOutcome outcome = TOutcome::Removed;
  if (CurrentPlatform().Files().RemoveDirectory(path) != ERROR_SUCCESS && !PathMissing(path)) {
    if (folder.Data.Pending) {
      outcomes_[&folder] = TOutcome::Scheduled;  // logged again, not scheduled again
      return;
    }
    outcome = DeleteAtReboot(path, L"", rmDelete) ? TOutcome::Scheduled : TOutcome::Failed;
  }
  Record(folder, outcome);
  if (outcome == TOutcome::Removed) tree_.Remove(folder);
  if (outcome == TOutcome::Scheduled) MarkPending(folder);
}

void TPowerScanModel::MarkPending(TLeftoverNode& node) {
  if (node.Data.Pending) return;
  node.Data.Pending = true;
  node.Text = PendingPrefix() + L" " + node.Text;
}

std::vector<std::wstring> TPowerScanModel::LogLines() const {
  std::vector<std::wstring> lines;
  for (const TLogEntry& entry : log_) {
    if (entry.folder == nullptr) {
      lines.push_back(entry.text);
    } else if (const auto found = outcomes_.find(entry.folder); found != outcomes_.end()) {
      // A folder the second pass never reached (Cancel) was left alone: no line.
      const auto refusal = refusals_.find(entry.folder);
      lines.push_back(OutcomeLine(found->second, kFolderWords, entry.folderPath,
                                  refusal == refusals_.end() ? L"" : refusal->second));
    }
  }
  return lines;
}

void TPowerScanModel::Recount() {
  for (const auto& program : tree_.Programs()) {
    std::size_t total = 0;
    for (const auto& category : program->Children) {
      category->Text = category->Data.ValueName + CountText(static_cast<int>(category->Children.size()));
      SettleFromChildren(*category);
      total += category->Children.size();
    }
    program->Text = program->Data.ValueName + CountText(static_cast<int>(total));
    SettleFromChildren(*program);
  }
  onlyPendingLeft_ = !AnyNodeIn(tree_, [](const TLeftoverNode& n) { return IsFinding(n) && !n.Data.Pending; });
  deleteEnabled_ = !onlyPendingLeft_ && AnyNodeIn(tree_, [](const TLeftoverNode& n) {
                     return IsFinding(n) && n.CheckState == csChecked && !n.Data.Pending;
                   });
}

}  // namespace orvix
