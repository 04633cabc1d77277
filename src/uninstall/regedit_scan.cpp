#include "uninstall/regedit_scan.h"

#include <algorithm>

#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/registry_helpers.h"
#include "platform/text.h"
#include "uninstall/deletion_guard.h"
#include "uninstall/scan_area_list.h"
#include "uninstall/shared_install_folder.h"

namespace orvix {
namespace {

std::wstring WithoutLeadingBackslash(const std::wstring& path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  return start == std::wstring::npos ? L"" : path.substr(start);
}

// The folder part of a path: up to and including its last backslash.
std::wstring FolderPart(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

// The folder a path stands for: an existing folder itself (its parent
// belongs to others), otherwise the folder part.
std::wstring FolderOf(const std::wstring& path) {
  if (!path.empty() && path.back() != L'\\' && DirectoryExists(path)) return path + L"\\";
  return FolderPart(path);
}

}  // namespace

std::wstring ScanLocation(const TSoftInfo& record) {
  if (!record.InstallLocation.empty()) return record.InstallLocation;
  if (!Trim(record.RecordedInstallLocation).empty()) return CleanCommandText(record.RecordedInstallLocation);
  // Most installers record no folder: the one the uninstall command (or the
  // icon) lies in, as the analysis measures it, even once the uninstaller
  // has removed it.
  return FolderNamedByUninstallCommand(record.UninstallString, record.DisplayIcon, record.Readme);
}

std::wstring ScanKeyword(const std::wstring& installLocation, const TProtectedLocations& locations) {
  std::wstring location = Trim(installLocation);
  if (location.size() >= 2 && location.front() == L'"' && location.back() == L'"') {
    location = Trim(std::wstring_view(location).substr(1, location.size() - 2));
  }
  if (location.empty()) return {};
  if (FileExists(location)) {
    location = FolderPart(location);
    // The folder of a file in Common Files (an installer engine's DLL) is
    // shared by every program that engine installed.
    if (IsInSharedFolder(location)) return {};
  }
  const std::wstring folder = CanonicalFolder(location);
  // A relative text would match the same words anywhere on the machine.
  if (folder.empty()) return {};
  if (locations.IsProtected(location) || locations.IsProtected(folder)) return {};
  return folder;
}

TRegeditScanClasses::TRegeditScanClasses(IPump* pump) : pump_(pump) {}

void TRegeditScanClasses::Setup(TRegFindings* regOutput, TFileFindings* fileOutput, const TSoftInfo& record,
                                TTreeImageList* images) {
  regOutput_ = regOutput != nullptr ? regOutput : &ownRegOutput_;
  fileOutput_ = fileOutput != nullptr ? fileOutput : &ownFileOutput_;
  images_ = images;
  record_ = record;
  keyword_ = ScanKeyword(ScanLocation(record_), protected_);
  otherFolders_ = OtherProgramFoldersIn(keyword_, record_, protected_);
  if (std::find(otherFolders_.begin(), otherFolders_.end(), keyword_) != otherFolders_.end()) {
    keyword_.clear();
    otherFolders_.clear();
  }
  uninstallKeyPath_ = record_.KeyPath;
  uninstallRootName_ = Trim(record_.RootName);
  wow64_ = IsWow64();
  entryView64_ = wow64_ && record_.IsX64;
  view64_ = entryView64_;
}

bool TRegeditScanClasses::MatchesKeyword(std::wstring_view text) const {
  if (keyword_.empty()) return false;
  const std::wstring lower = LowerCase(text);
  if (lower.find(keyword_) == std::wstring::npos) return false;
  return std::none_of(otherFolders_.begin(), otherFolders_.end(),
                      [&](const std::wstring& other) { return lower.find(other) != std::wstring::npos; });
}

std::wstring TRegeditScanClasses::UninstallKeyName() const {
  if (fileScanOnly_) return {};
  const std::wstring path = WithoutLeadingBackslash(uninstallKeyPath_);
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void TRegeditScanClasses::Stop() {
  if (state_ == ssRunning) stopped_ = true;
  state_ = ssStopRequested;
}

bool TRegeditScanClasses::Tick() {
  if (pump_ != nullptr) {
    pump_->ProcessMessages();
    if (pump_->StopRequested()) Stop();
  }
  return state_ != ssStopRequested;
}

void TRegeditScanClasses::ClearResults() {
  found_.Clsids.Clear();
  found_.TypeLibs.Clear();
  found_.AppIds.Clear();
  found_.Classes.Clear();
  found_.UserClasses.Clear();
  found_.Executables.clear();
  found_.UserFileTypes.clear();
  found_.MachineFileTypes.clear();
  installerFolders_.clear();
  reported_.clear();
  regOutput_->clear();
  fileOutput_->clear();
}

void TRegeditScanClasses::Begin(bool fileScanOnly) {
  ClearResults();
  state_ = ssRunning;
  stopped_ = false;
  fileScanOnly_ = fileScanOnly;
}

void TRegeditScanClasses::FullScan() { FullScan(MakeScanAreas()); }

void TRegeditScanClasses::FullScan(const std::vector<TScanAreaPtr>& areas) {
  Begin(false);
  for (const TScanAreaPtr& area : areas) {
    if (state_ != ssRunning) break;
    if (area->NeedsKeyword() && keyword_.empty()) continue;
    RunArea(*area);
  }
  view64_ = entryView64_;
  state_ = ssIdle;
}

void TRegeditScanClasses::FileScanOnly() { FileScanOnly(MakeScanAreas()); }

void TRegeditScanClasses::FileScanOnly(const std::vector<TScanAreaPtr>& areas) {
  Begin(true);
  record_.InstallLocation = FolderOf(record_.InstallLocation);
  // The folder the user chose: whoever else is installed there.
  keyword_ = ScanKeyword(ScanLocation(record_), protected_);
  otherFolders_.clear();
  for (const TScanAreaPtr& area : areas) {
    if (state_ != ssRunning) break;
    if (area->Kind() == sakFiles) RunArea(*area);
  }
  view64_ = entryView64_;
  state_ = ssIdle;
}

std::vector<bool> TRegeditScanClasses::ViewsOf(const TScanArea& area) const {
  if (!wow64_) return {false};
  switch (area.Views()) {
    case svBoth:
      return {entryView64_, !entryView64_};
    case svMachine64:
      return {true};
    case svEntry:
      break;
  }
  return {entryView64_};
}

void TRegeditScanClasses::RunArea(TScanArea& area) {
  for (const bool view : ViewsOf(area)) {
    if (state_ != ssRunning) return;
    view64_ = view;
    area.Run(*this);
  }
}

void TRegeditScanClasses::Append(const TShowRegInfo& finding) {
  std::wstring identity = RegistryKeyIdentity(finding.RootKey, finding.KeyPath, finding.View64, wow64_);
  if (!finding.IsKey()) identity += L"|" + UpperCase(finding.ValueName);
  if (!reported_.insert(std::move(identity)).second) return;
  regOutput_->push_back(finding);
}

void TRegeditScanClasses::ReportKey(TFoundNames& list, HKEY root, const std::wstring& name,
                                    const std::wstring& keyPath) {
  if (list.Contains(name, view64_)) return;
  // A key that lists many programs (the Uninstall key, CLSID...) is never
  // one program's, whatever data led here, nor is anything above it.
  if (IsSharedOrTopKey(root, keyPath)) return;
  TScanKey key(root, L"\\" + WithoutLeadingBackslash(keyPath), view64_);
  if (!key) return;
  ReportOpenedKey(key, list.Add(name, view64_, gkKey, root, key.Path()));
}

void TRegeditScanClasses::ReportOpenedKey(TScanKey& key, TRegeditItemGroup& group) {
  Append(TShowRegInfo{key.Root(), key.Path(), L"", L"", key.View64()});
  for (const std::wstring& name : key.SubKeyNames()) {
    if (!Tick()) return;
    TScanKey sub(key.Root(), key.Below(name), key.View64());
    if (!sub) continue;
    auto& subGroup = group.SubGroups[name];
    if (!subGroup) {
      subGroup = std::make_unique<TRegeditItemGroup>();
      subGroup->RootKey = key.Root();
      subGroup->KeyPath = sub.Path();
      subGroup->View64 = key.View64();
    }
    ReportOpenedKey(sub, *subGroup);
  }
  for (const std::wstring& name : key.ValueNames()) {
    if (!Tick()) return;
    ReportValue(key, name, &group);
  }
}

void TRegeditScanClasses::ReportClassesKey(TFoundNames& list, const std::wstring& name, const std::wstring& classPath,
                                           bool mirror) {
  if (list.Contains(name, view64_)) return;
  ReportKey(list, HKEY_LOCAL_MACHINE, name, L"\\SOFTWARE\\Classes\\" + classPath);
  if (mirror && list.Contains(name, view64_)) ReportKey(list.Mirror(), HKEY_CLASSES_ROOT, name, L"\\" + classPath);
}

void TRegeditScanClasses::ReportValue(TScanKey& key, const std::wstring& name, TRegeditItemGroup* group) {
  const std::wstring data = key.ValueText(name);
  ReportValue(key.Root(), key.Path(), name, data, group);
}

void TRegeditScanClasses::ReportValue(HKEY root, const std::wstring& keyPath, const std::wstring& name,
                                      const std::optional<std::wstring>& data, TRegeditItemGroup* group) {
  const std::wstring path = WithoutLeadingBackslash(keyPath);
  std::wstring text;
  if (data) {
    text = *data;
  } else {
    TScanKey key(root, L"\\" + path, view64_);
    text = key.ValueText(name);
  }
  if (name.empty() && text.empty()) return;
  if (group != nullptr) group->Values[name] = TRegeditItemInfo{name, text, path, root};
  Append(TShowRegInfo{root, path, name, text, view64_});
}

void TRegeditScanClasses::AddKeyFinding(HKEY root, const std::wstring& keyPath) {
  if (IsSharedOrTopKey(root, keyPath)) return;
  Append(TShowRegInfo{root, WithoutLeadingBackslash(keyPath), L"", L"", view64_});
}

}  // namespace orvix

namespace orvix {

bool TRegeditScanClasses::ReportedAtOrAbove(HKEY root, const std::wstring& keyPath, bool view64) const {
  for (std::wstring path = WithoutLeadingBackslash(keyPath); !path.empty();) {
    if (reported_.contains(RegistryKeyIdentity(root, path, view64, wow64_))) return true;
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) break;
    path.resize(slash);
  }
  return false;
}

}  // namespace orvix
