// The leftover review's Delete with a fault at each call it makes, and with
// every call on one finding failing: the tree and the log tell the truth
// about each finding (deleted, waiting for the restart, or still there), and
// nothing that was not a finding is touched.
#include <gtest/gtest.h>

#include <algorithm>

#include "fault_sweep.h"
#include "list_fixture.h"
#include "power_scan_prompts.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "scripted_pump.h"
#include "sim_fixture.h"
#include "uninstall/power_scan_model.h"
#include "uninstall/tree_checks.h"
#include "uninstall/uninstall_log.h"

namespace orvix {
namespace {

const std::wstring kKey = L"Software\\Foo";
const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kFolder = L"C:\\Program Files\\Foo\\";
const std::wstring kExe = kFolder + L"foo.exe";
const std::wstring kReadme = kFolder + L"readme.txt";
const std::wstring kBar = L"C:\\Program Files\\Bar\\bar.exe";

enum class State { Gone, Pending, There };

struct Finding {
  std::wstring file;  // a file or folder finding, else a registry one
  std::wstring key;
  std::wstring value;
};

const Finding kFindings[] = {{L"", kKey, L""}, {L"", kRun, L"Foo"}, {kExe}, {kReadme}, {kFolder}};

void PutMachine(sim::SimMachine& machine) {
  machine.registry.PutString(L"HKCU\\" + kKey + L"\\Sub", L"x", L"1");
  machine.registry.PutString(L"HKCU\\" + kRun, L"Foo", kExe);
  machine.registry.PutString(L"HKCU\\" + kRun, L"Other", L"other.exe");
  machine.files.PutFile(kExe, std::string_view("MZ"));
  machine.files.PutFile(kReadme, std::string_view("hi"));
  machine.files.PutFile(kBar, std::string_view("MZ"));
}

void BuildTree(TLeftoverTree& tree) {
  AddProgramBranch(tree, testing::Entry(L"Foo"),
                   {{HKEY_CURRENT_USER, kKey, L"", L"", false}, {HKEY_CURRENT_USER, kRun, L"Foo", kExe, false}},
                   {{kExe, 0, sfkFile, 0}, {kReadme, 0, sfkFile, 0}, {kFolder, 0, sfkFolder, 0}}, nullptr);
}

State StateOf(sim::SimMachine& machine, const Finding& finding) {
  if (!finding.file.empty()) {
    const auto pending = machine.files.PendingDeletes();
    if (std::any_of(pending.begin(), pending.end(), [&](const sim::PendingMove& m) { return m.from == finding.file; }))
      return State::Pending;
    std::wstring stored = finding.file;
    if (stored.back() == L'\\') stored.pop_back();
    return machine.files.Exists(stored) ? State::There : State::Gone;
  }
  const bool there = finding.value.empty() ? machine.registry.HasKey(L"HKCU\\" + finding.key)
                                           : machine.registry.GetValue(L"HKCU\\" + finding.key, finding.value)
                                                 .has_value();
  return there ? State::There : State::Gone;
}

// The log line that tells a finding's state.
std::wstring TruthLine(const Finding& finding, State state) {
  const bool folder = !finding.file.empty() && finding.file.back() == L'\\';
  if (finding.file.empty()) {
    const std::wstring item = RegItemText(HKEY_CURRENT_USER, finding.key, finding.value,
                                          finding.value.empty() ? L"" : kExe);
    const bool value = !finding.value.empty();
    if (state == State::There)
      return (value ? L"Failed to delete registry value " : L"Failed to delete registry key ") + item;
    return (value ? L"Deleted Registry Value " : L"Deleted Registry Key ") + item;
  }
  const std::wstring done = (folder ? L"Delete Folder " : L"Delete File ") + finding.file;
  if (state == State::Gone) return done;
  if (state == State::Pending) return L"(Reboot to Delete) " + done;
  return (folder ? L"Failed to delete folder " : L"Failed to delete file ") + finding.file;
}

const TLeftoverNode* NodeOf(const TLeftoverTree& tree, const Finding& finding) {
  const TLeftoverNode* found = nullptr;
  ForEachNode(const_cast<TLeftoverTree&>(tree), [&](TLeftoverNode& node) {
    const TMyTreeData& data = node.Data;
    if (node.Data.NodeType != ntFinding) return;
    if (finding.file.empty() ? data.ItemKind == ikRegistry && data.KeyPath == finding.key &&
                                   data.ValueName == finding.value
                             : data.FilePath == finding.file)
      found = &node;
  });
  return found;
}

// One Delete of every finding under a fault; true when the fault fired.
bool DeleteUnder(const sim::Fault& fault, const std::string& trace) {
  SCOPED_TRACE(trace);
  testing::CurrentSimMachine current;
  sim::SimMachine& machine = current.machine;
  PutMachine(machine);
  TLeftoverTree tree;
  BuildTree(tree);
  testing::FakePowerScanPrompts prompts;
  TPowerScanModel model(tree, prompts);
  model.ClickSelectAll();
  testing::ScriptedPump pump;
  const std::wstring logPath = UninstallLogPath(NowLocal());

  sim::FaultyPlatform faulty(machine);
  TPowerScanRun run;
  bool crashed = false;
  {
    ScopedPlatform scope(faulty);
    faulty.faults.Add(fault);
    try {
      run = model.Delete(pump);
    } catch (const sim::SimCrash&) {
      crashed = true;
    }
  }
  if (fault.effect != sim::FaultEffect::Vanish) {
    EXPECT_TRUE(machine.files.Exists(kBar)) << "a file nobody offered was deleted";
    EXPECT_TRUE(machine.registry.GetValue(L"HKCU\\" + kRun, L"Other")) << "a value nobody offered was deleted";
  }
  if (crashed) return true;

  const std::optional<Bytes> logBytes = machine.files.FileBytes(logPath);
  const std::wstring log = logBytes ? DecodeTextFile(*logBytes) : L"";
  int removed = 0, scheduled = 0, there = 0;
  for (const Finding& finding : kFindings) {
    const State state = StateOf(machine, finding);
    const TLeftoverNode* node = NodeOf(tree, finding);
    const std::wstring line = TruthLine(finding, state);
    SCOPED_TRACE(ToUtf8(line));
    ++(state == State::Gone ? removed : state == State::Pending ? scheduled : there);
    // The window keeps exactly what is still there, marked when it waits.
    EXPECT_EQ(node == nullptr, state == State::Gone) << "the tree does not match the machine";
    if (node != nullptr) {
      EXPECT_EQ(node->Data.Pending, state == State::Pending);
    }
    // A log written at all names each finding as it is, or says the guard
    // refused it (a folder on its way could not be checked).
    if (logBytes) {
      const bool refused = state == State::There && !finding.file.empty() &&
                           log.find(L"Refused to delete " + finding.file + L" (") != std::wstring::npos;
      EXPECT_TRUE(refused || log.find(line + L"\r\n") != std::wstring::npos) << "the log does not say so";
    }
  }
  EXPECT_EQ(run.removed, removed);
  EXPECT_EQ(run.scheduled, scheduled);
  EXPECT_EQ(run.failed, there);
  EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  EXPECT_EQ(machine.files.OpenHandleCount(), 0u);
  return faulty.faults.Fired() > 0;
}

TEST(DeleteFaultsTest, AFaultAtAnyCallOfDeleteLeavesTheTreeAndTheLogTruthful) {
  for (const testing::FaultKind& kind : testing::kFaultKinds) {
    const unsigned points = testing::SweepEveryCall(kind, [&](const sim::Fault& fault) {
      return DeleteUnder(fault, std::string(kind.name) + " at call " + std::to_string(fault.nth));
    });
    EXPECT_GT(points, 20u) << kind.name;
  }
}

// Every call naming one finding fails, so that a check made after a failed
// deletion fails too: what the system will not confirm as gone is not
// reported gone.
TEST(DeleteFaultsTest, AFindingTheSystemRefusesEveryCallOnIsNeverReportedDeleted) {
  const std::wstring names[] = {kExe, kReadme, L"C:\\Program Files\\Foo", kKey, L"Sub", L"Foo"};
  for (const std::wstring& name : names) {
    for (const DWORD error : {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_FILENAME_EXCED_RANGE}) {
      const sim::Fault fault{std::nullopt, name, 0, error, sim::FaultEffect::Fail};
      EXPECT_TRUE(DeleteUnder(fault, ToUtf8(name) + " error " + std::to_string(error)));
    }
  }
}

}  // namespace
}  // namespace orvix
