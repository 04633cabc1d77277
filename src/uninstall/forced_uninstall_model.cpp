#include "uninstall/forced_uninstall_model.h"

#include "inventory/software_info.h"
#include "language/messages.h"
#include "platform/command_paths.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "uninstall/forced_path.h"

namespace orvix {
namespace {

constexpr const wchar_t* kSearchHost = L"https://www.google.com";

}  // namespace

std::wstring SearchOnlineAddressFor(const std::wstring& displayName) {
  return std::wstring(kSearchHost) + L"/search?source=hp&q=" + UrlEncodeUtf8(displayName) +
         L"&meta=&aq=f&aqi=g10&aql=&oq=&gs_rfai=";
}

TForcedUninstallModel::TForcedUninstallModel(TSoftwareInfo& inventory, IForcedUninstallPrompts& prompts)
    : inventory_(inventory), prompts_(prompts) {}

bool TForcedUninstallModel::NextEnabled() const {
  if (rows_.empty()) return pathAccepted_;
  return rows_.size() == 1 || selected_ >= 0;
}

bool TForcedUninstallModel::ChooseFile(const std::wstring& path) {
  if (AcceptPath(path)) return true;
  prompts_.Message(Text(msg::ForcedUninstall_Browser_Tip));
  Refuse();
  return false;
}

bool TForcedUninstallModel::DropFiles(const std::vector<std::wstring>& paths) {
  return !paths.empty() && AcceptPath(paths.front());
}

bool TForcedUninstallModel::AcceptPath(const std::wstring& path) {
  const TForcedPath resolved = ResolveChosenPath(path);
  if (resolved.refused) return false;
  return Accept(path, resolved.path, resolved.folderAllowed);
}

bool TForcedUninstallModel::AcceptFolder(const std::wstring& folder) {
  return DirectoryExists(folder) && Accept(folder, folder, true);
}

bool TForcedUninstallModel::Accept(const std::wstring& chosen, const std::wstring& path, bool folderAllowed) {
  if (!IsAcceptedForcedPath(path, folderAllowed)) return false;
  chosenPath_ = chosen;
  pathBox_ = path;
  pathAccepted_ = true;
  ListEntriesByFolder(path);
  return true;
}

void TForcedUninstallModel::Refuse() {
  pathBox_.clear();
  pathAccepted_ = false;
  rows_.clear();
  selected_ = -1;
  page_ = fpTip;
}

void TForcedUninstallModel::ListEntriesByFolder(const std::wstring& path) {
  std::vector<std::wstring> indexes;
  const int found = inventory_.FindByFolderOf(path, indexes);
  ShowEntries(found, indexes);
}

void TForcedUninstallModel::ListEntriesByName(const std::wstring& name) {
  // The path box shows a name now: no earlier path may be deleted for it.
  chosenPath_.clear();
  pathBox_ = name;
  pathAccepted_ = false;
  std::vector<std::wstring> indexes;
  const int found = inventory_.FindByName(name, indexes);
  ShowEntries(found, indexes);
}

void TForcedUninstallModel::ShowEntries(int found, const std::vector<std::wstring>& indexes) {
  rows_.clear();
  selected_ = -1;
  if (found == 0) {
    page_ = fpTip;
    return;
  }
  for (const std::wstring& text : indexes) {
    const int index = std::stoi(text);
    const TSoftInfo* entry = inventory_.GetItem(index);
    if (entry == nullptr) continue;
    rows_.push_back({index, entry->DisplayName + (entry->IsX64 ? L"(x64)" : L""), entry->SizeText,
                     entry->InstallDateText});
  }
  page_ = rows_.empty() ? fpTip : fpListView;
}

void TForcedUninstallModel::SelectRow(int row) {
  selected_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

TSoftInfo* TForcedUninstallModel::SelectedEntry() const {
  return selected_ < 0 ? nullptr : inventory_.GetItem(rows_[static_cast<std::size_t>(selected_)].index);
}

bool TForcedUninstallModel::Next(IForcedUninstallLauncher& launcher) {
  if (!NextEnabled()) return false;
  TForcedUninstallRequest request;
  request.forcedPath = chosenPath_;
  if (rows_.empty()) {
    // Whatever changed since, the bare-path run deletes only full paths that were checked.
    if (!IsFullPath(chosenPath_) || !IsFullPath(pathBox_)) return false;
    request.pathBoxPath = pathBox_;
  } else {
    if (rows_.size() == 1) selected_ = 0;
    request.entry = SelectedEntry();
    if (request.entry == nullptr) return false;
  }
  started_ = true;
  launcher.RunForced(request);
  return true;
}

std::wstring TForcedUninstallModel::SearchOnlineAddress() const {
  const TSoftInfo* entry = SelectedEntry();
  return entry == nullptr ? std::wstring{} : SearchOnlineAddressFor(entry->DisplayName);
}

bool TForcedUninstallModel::SearchOnline() {
  const std::wstring address = SearchOnlineAddress();
  if (address.empty()) return false;
  return OpenWebPage(address);
}

bool TForcedUninstallModel::OpenFolder() {
  const TSoftInfo* entry = SelectedEntry();
  if (entry == nullptr || entry->InstallLocation.empty() || !DirectoryExists(entry->InstallLocation)) return false;
  return CurrentPlatform().Shell().ShellExecute(L"open", entry->InstallLocation, L"", L"", SW_SHOWNORMAL);
}

}  // namespace orvix
