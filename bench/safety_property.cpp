#include "bench/safety_property.h"

#include <map>
#include <optional>

#include "bench/hostile_machine.h"
#include "inventory/software_info.h"
#include "platform/platform.h"
#include "platform/protected_locations.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/leftover_scan.h"
#include "uninstall/power_scan_model.h"

namespace orvix::bench {
namespace {

// Every file, folder, link, key and value of the machine by lower-case
// stored path, with its content (a value's type first).
using TSnapshot = std::map<std::wstring, Bytes>;

void SnapshotFolder(const sim::SimFileSystem& files, const std::wstring& folder, TSnapshot& out) {
  for (const std::wstring& name : files.ListNames(folder + L"\\")) {
    const std::wstring path = folder + L"\\" + name;
    const std::optional<FileAttributeData> attributes = files.Attributes(path);
    if (!attributes) continue;
    if (attributes->attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      out[LowerCase(path)] = Bytes{'L'};  // a link: never followed, it must stay
    } else if (attributes->attributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[LowerCase(path)] = Bytes{'D'};
      SnapshotFolder(files, path, out);
    } else {
      out[LowerCase(path)] = files.FileBytes(path).value_or(Bytes{});
    }
  }
}

void SnapshotKey(const sim::SimRegistry& registry, const std::wstring& key, TSnapshot& out) {
  out[LowerCase(key)] = Bytes{'K'};
  for (const sim::SimRegValue& value : registry.Values(key)) {
    Bytes content(4, 0);
    content[0] = static_cast<std::uint8_t>(value.type);
    content.insert(content.end(), value.data.begin(), value.data.end());
    out[LowerCase(ValuePath(key, value.name))] = std::move(content);
  }
  for (const std::wstring& name : registry.SubKeyNames(key)) SnapshotKey(registry, key + L"\\" + name, out);
}

TSnapshot Snapshot(const sim::SimMachine& machine) {
  TSnapshot out;
  SnapshotFolder(machine.files, L"C:", out);
  SnapshotKey(machine.registry, L"HKLM", out);
  SnapshotKey(machine.registry, L"HKCU", out);
  return out;
}

// How many names a key path has below its root: 1 for SOFTWARE.
std::size_t KeyDepth(const std::wstring& path) {
  std::size_t names = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != L'\\' && (i == 0 || path[i - 1] == L'\\')) ++names;
  }
  return names;
}

// The stored paths a registry finding may name: a 32-bit view's key of
// HKLM\SOFTWARE lies under Wow6432Node, the classes root in either hive.
std::vector<std::wstring> StoredKeyPaths(const TMyTreeData& data) {
  std::wstring path = data.KeyPath;
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  const std::wstring root = RootKeyName(data.RootKey);
  std::vector<std::wstring> roots;
  if (root == L"HKEY_LOCAL_MACHINE") roots = {L"hklm"};
  if (root == L"HKEY_CURRENT_USER") roots = {L"hkcu"};
  if (root == L"HKEY_CLASSES_ROOT") roots = {L"hklm\\software\\classes", L"hkcu\\software\\classes"};
  std::vector<std::wstring> paths;
  for (const std::wstring& top : roots) {
    const std::wstring full = path.empty() ? top : top + L"\\" + LowerCase(path);
    paths.push_back(full);
    if (!data.View64 && StartsWithText(full, L"hklm\\software\\") && !StartsWithText(full, L"hklm\\software\\wow6432node")) {
      paths.push_back(L"hklm\\software\\wow6432node\\" + full.substr(14));
    }
  }
  return paths;
}

std::wstring RealFilePath(const std::wstring& path) {
  std::wstring real;
  if (CurrentPlatform().Files().GetFinalPathName(path, &real) != ERROR_SUCCESS) real = path;
  if (StartsWithText(real, L"\\\\?\\")) real.erase(0, 4);
  while (real.size() > 3 && real.back() == L'\\') real.pop_back();
  if (real.size() == 3 && real[1] == L':') real.resize(2);  // the snapshot names C:\ "c:"
  return LowerCase(real);
}

class TAnswerYes : public IPowerScanPrompts {
 public:
  bool Confirm(const std::wstring&) override { return true; }
  void Message(const std::wstring&, const std::wstring&) override {}
};

class TNoPump : public IPump {
 public:
  void ProcessMessages() override {}
  bool StopRequested() override { return false; }
};

class TEntryCheck {
 public:
  TEntryCheck(std::uint32_t seed, int program, TPropertyFigures& figures)
      : seed_(seed), program_(program), figures_(figures) {}

  void Run() {
    sim::SimMachine machine;
    const ScopedPlatform scope(machine);
    machine_ = BuildHostileMachine(machine, seed_);
    const TSnapshot before = Snapshot(machine);

    TSoftwareInfo inventory;
    const TSoftInfo* entry = nullptr;
    for (const auto& item : inventory.Items()) {
      if (item->DisplayName == machine_.programs[static_cast<std::size_t>(program_)].name) entry = item.get();
    }
    if (entry == nullptr) return;
    ++figures_.entries;
    TLeftoverTree tree;
    TLeftoverScan scan;
    if (scan.ScanLeftovers(entry, tree, L"") <= 0) return;
    for (const auto& category : tree.Programs().back()->Children) {
      for (const auto& finding : category->Children) {
        ++figures_.findings;
        CheckOffered(finding->Data, finding->Text, before);
      }
    }

    TAnswerYes yes;
    TPowerScanModel review(tree, yes);
    review.Shown();
    review.ClickSelectAll();
    if (machine_.shredInReview) review.ToggleShredFiles();
    TNoPump pump;
    review.Delete(pump);
    CheckKept(before, Snapshot(machine));
  }

 private:
  bool Foreign(const std::wstring& path) const { return machine_.owners.OwnerOf(path) != program_; }

  // The first item at or below `path` that is not the program's.
  std::optional<std::wstring> ForeignAtOrBelow(const std::wstring& path, const TSnapshot& before) const {
    for (auto it = before.lower_bound(path); it != before.end() && StartsWithText(it->first, path); ++it) {
      const bool below = it->first.size() == path.size() || it->first[path.size()] == L'\\';
      if (below && Foreign(it->first)) return it->first;
    }
    return std::nullopt;
  }

  void CheckOffered(const TMyTreeData& data, const std::wstring& text, const TSnapshot& before) {
    if (data.ItemKind == ikFile) {
      if (MachineProtectedLocations()->IsProtected(data.FilePath)) Violation(L"offers a protected location", text);
      if (const auto foreign = ForeignAtOrBelow(RealFilePath(data.FilePath), before)) {
        Violation(L"offers what holds " + *foreign, text);
      }
      return;
    }
    const std::size_t topDepth = RootKeyName(data.RootKey) == L"HKEY_CLASSES_ROOT" ? 1 : 2;
    if (KeyDepth(data.KeyPath) < topDepth) Violation(L"offers a hive's top key", text);
    const bool isKey = data.ValueName.empty() && data.ValueData.empty();
    for (const std::wstring& key : StoredKeyPaths(data)) {
      const std::wstring path = isKey ? key : LowerCase(ValuePath(key, Trim(data.ValueName).empty() ? L"" : data.ValueName));
      if (before.count(path) == 0) continue;
      if (const auto foreign = ForeignAtOrBelow(path, before)) Violation(L"offers what holds " + *foreign, text);
    }
  }

  void CheckKept(const TSnapshot& before, const TSnapshot& after) {
    for (const auto& [path, content] : before) {
      if (!Foreign(path)) continue;
      const auto now = after.find(path);
      if (now == after.end()) {
        Violation(L"deleted", path);
      } else if (now->second != content) {
        Violation(L"changed", path);
      }
    }
  }

  void Violation(const std::wstring& what, const std::wstring& subject) {
    figures_.violations.push_back(L"seed " + std::to_wstring(seed_) + L", " +
                                  machine_.programs[static_cast<std::size_t>(program_)].name + L" at " +
                                  machine_.programs[static_cast<std::size_t>(program_)].location + L": " + what +
                                  L": " + subject);
  }

  std::uint32_t seed_;
  int program_;
  TPropertyFigures& figures_;
  THostileMachine machine_;
};

}  // namespace

void CheckHostileMachine(std::uint32_t seed, TPropertyFigures& figures) {
  ++figures.machines;
  int programs = 0;
  {
    sim::SimMachine machine;
    programs = static_cast<int>(BuildHostileMachine(machine, seed).programs.size());
  }
  for (int program = 0; program < programs; ++program) TEntryCheck(seed, program, figures).Run();
}

}  // namespace orvix::bench
