#include "shell/main_window_model.h"

#include <utility>

#include "inventory/software_info.h"
#include "language/interface_messages.h"
#include "language/language_display_name.h"
#include "language/language_setting.h"
#include "language/messages.h"
#include "online/statistics.h"
#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/process_helpers.h"
#include "platform/registry_helpers.h"
#include "platform/settings.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "shell/shell_commands.h"
#include "shell/window_messages.h"
#include "shredder/shredder_list.h"
#include "uninstall/forced_path.h"
#include "uninstall/forced_uninstall_model.h"

namespace orvix {
namespace {

// The program's own uninstall entry: its InstallLocation names the
// installed executable, whose folder holds the companion display program.
constexpr wchar_t kOwnUninstallKey[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvixUninstall";
constexpr wchar_t kCompanionProgram[] = L"OrvixDisplay.exe";
constexpr wchar_t kCompanionMenuArgument[] = L"rightMenu_statistics";
constexpr wchar_t kMenuRightFile[] = L"MenuRight.dat";
// "MenuRight.dat" holds one path; anything larger is not ours.
constexpr std::uint64_t kMenuRightMaxBytes = 64 * 1024;

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring CompanionProgramPath() {
  const std::wstring recorded = RegReadStringAt(L"HKEY_LOCAL_MACHINE", kOwnUninstallKey, L"InstallLocation", false);
  const std::size_t slash = recorded.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  return recorded.substr(0, slash + 1) + kCompanionProgram;
}

// The trimmed text of "MenuRight.dat"; empty when missing or unreadable.
std::wstring ReadMenuRightText() {
  Bytes bytes;
  if (!ReadFileBytes(DataFolder() + kMenuRightFile, bytes, kMenuRightMaxBytes)) return {};
  return Trim(DecodeTextFile(bytes));
}

// The path a drop, Explorer's menu or a shortcut names, when forced
// uninstall may take it: an existing file, or a folder a shortcut leads to,
// that is no protected location. The caller hands on the text as given,
// so that a shortcut stays the chosen file.
bool AcceptedForForcedUninstall(const std::wstring& text) {
  if (text.empty()) return false;
  const TForcedPath resolved = ResolveChosenPath(text);
  return !resolved.refused && IsAcceptedForcedPath(resolved.path, resolved.folderAllowed);
}

}  // namespace

// Marks a window open for the time its modal run lasts.
class TMainWindowModel::TOpenScope {
 public:
  TOpenScope(TMainWindowModel& model, TDialogKind kind) : model_(model), kind_(kind) { model_.open_[kind_] = true; }
  ~TOpenScope() { model_.open_[kind_] = false; }
  TOpenScope(const TOpenScope&) = delete;
  TOpenScope& operator=(const TOpenScope&) = delete;

 private:
  TMainWindowModel& model_;
  TDialogKind kind_;
};

TMainWindowModel::TMainWindowModel(IMainWindowPrompts& prompts, TMainWindowEvents events, TMainWindowOptions options)
    : prompts_(prompts),
      events_(std::move(events)),
      options_(std::move(options)),
      language_(L"Uninstaller"),
      page_(std::make_unique<TSoftwarePage>(noItems_)) {
  if (!options_.reportEvent) {
    options_.reportEvent = [](const std::wstring& event, std::int32_t a) { ReportEvent(event, a); };
  }
}

// The inventory goes first: its analysis, while it stops, may still report
// rows through the page.
TMainWindowModel::~TMainWindowModel() { inventory_.reset(); }

// ---- start-up ----

void TMainWindowModel::Create(WindowHandle window) {
  window_ = window;
  const TMainBounds start = ReadStartBounds();
  bounds_ = start.bounds;
  restore_ = start.restore;
  maximized_ = start.maximized;
  ReadAutoUninstaller();
  ReadAutoPowerfulScan();
  // The self-installation's version test and its setup dialog take their
  // place here once the program can install itself.
  installFolder_ = WithBackslash(options_.installFolder.empty() ? TAppFrame().ProgramFolder() : options_.installFolder);
  language_.SetLanguageFolder(installFolder_ + L"Language");
  language_.SelectLanguage(ReadLanguageSetting());
  language_.InstallAsTextSource();
  LoadInterfaceMessages(language_);
  // The news and version check starts here once the online services exist.
  Report(L"0", L"3");
}

bool TMainWindowModel::Activate() { return !std::exchange(activated_, true); }

void TMainWindowModel::LoadSoftware(std::unique_ptr<TSoftwareInfo> inventory) {
  if (inventory_ != nullptr || inventory == nullptr) return;
  inventory_ = std::move(inventory);
  page_ = std::make_unique<TSoftwarePage>(inventory_->Items());
  page_->SelectCategory(0);
  Fill(L"");
  if (events_.showFloatingButton) events_.showFloatingButton();
  if (events_.focusList) events_.focusList();
  listReady_ = true;
  ActOnCommandLine();
}

void TMainWindowModel::RunCheckTasks() {
  // Three tasks start here once the online and add-on parts exist: the
  // updater's automatic check, the score database download (which asks the
  // add-on view to refresh its scores when done) and the add-on cleaner's
  // first scan. Until then the timer has nothing to start.
}

void TMainWindowModel::Close() {
  MainWindowPlacement placement;
  placement.maximized = maximized_;
  placement.left = bounds_.left;
  placement.top = bounds_.top;
  placement.width = bounds_.Width();
  placement.height = bounds_.Height();
  WriteMainWindowPlacement(placement);
  page_->SaveSort();
}

void TMainWindowModel::ActOnCommandLine() {
  const TStartArguments args = ParseStartArguments(options_.arguments);
  switch (args.command) {
    case stcMenuRight:
      Report(L"1", L"4");
      if (FileExists(DataFolder() + kMenuRightFile)) {
        StartCompanion(kCompanionMenuArgument);
        ForcedUninstallOfPath(ReadMenuRightText());
      }
      break;
    case stcControlStatistics:
      Report(L"2", L"5");
      if (!args.second.empty()) {
        receivedText_ = args.second;
        PostToSelf(kMsgForcedUninstallByName);
      }
      StartCompanion(args.first);
      break;
    case stcExplorerStatistics:
      Report(L"15", L"16");
      PostToSelf(kMsgShredFromExplorer);
      StartCompanion(args.first);
      break;
    default:
      break;
  }
}

void TMainWindowModel::StartCompanion(const std::wstring& argument) const {
  const std::wstring path = CompanionProgramPath();
  if (path.empty() || !FileExists(path)) return;
  CurrentPlatform().Shell().ShellExecute(L"open", path, argument, L"", SW_SHOWNORMAL);
}

void TMainWindowModel::PostToSelf(DWORD message) const {
  if (window_ != 0) CurrentPlatform().Windows().PostToWindow(window_, message, 0, 0);
}

void TMainWindowModel::Report(const wchar_t* first, const wchar_t* second) {
  options_.reportEvent(first, 7);
  if (second != nullptr) options_.reportEvent(second, 0);
}

// ---- pages and the search box ----

void TMainWindowModel::ShowSoftwarePage() {
  if (currentPage_ == mpSoftware && page_->Sort().order == soAscending) return;
  currentPage_ = mpSoftware;
  searchText_.clear();
  if (events_.searchChanged) events_.searchChanged();
  Fill(L"");
  if (events_.focusList) events_.focusList();
}

void TMainWindowModel::ShowAddonPage() {
  Report(L"12", nullptr);
  currentPage_ = mpAddons;
}

void TMainWindowModel::SelectCategory(int tab) {
  if (!page_->SelectCategory(tab)) return;
  searchText_.clear();
  if (events_.searchChanged) events_.searchChanged();
  Fill(L"");
}

void TMainWindowModel::SetViewMode(TListViewMode mode) {
  page_->SetViewMode(mode);
  // The list shows every entry again: so does the search box.
  searchText_.clear();
  if (events_.searchChanged) events_.searchChanged();
  Fill(L"");
}

void TMainWindowModel::ClickHeader(int column) {
  page_->ClickHeader(column);
  ClearMarks();
}

void TMainWindowModel::SetBatchMode(bool on) {
  page_->SetBatchMode(on);
  ClearMarks();
}

std::wstring TMainWindowModel::SearchBoxText() const {
  return !searchFocused_ && searchText_.empty() ? Text(msg::Edit_Search_Tip) : searchText_;
}

bool TMainWindowModel::ClearButtonVisible() const { return !Trim(searchText_).empty(); }

void TMainWindowModel::SearchTyped(const std::wstring& text) {
  searchText_ = text;
  if (currentPage_ == mpSoftware) {
    Fill(Trim(text));
  } else if (events_.filterAddons) {
    events_.filterAddons(Trim(text));
  }
}

void TMainWindowModel::ClearSearch() { SearchTyped(L""); }

void TMainWindowModel::SearchFocus(bool entering) { searchFocused_ = entering; }

void TMainWindowModel::Fill(const std::wstring& filter) {
  page_->FillCurrent(filter);
  ClearMarks();
  if (events_.listChanged) events_.listChanged();
}

void TMainWindowModel::ClearMarks() {
  selected_.reset();
  checked_.assign(page_->Rows().size(), false);
}

// ---- selection ----

void TMainWindowModel::SelectRow(std::optional<std::size_t> row) {
  selected_ = row.has_value() && *row < page_->Rows().size() ? row : std::nullopt;
}

bool TMainWindowModel::RowChecked(std::size_t row) const { return row < checked_.size() && checked_[row]; }

void TMainWindowModel::CheckRow(std::size_t row, bool checked) {
  if (row < checked_.size()) checked_[row] = checked;
}

const TSoftInfo* TMainWindowModel::SelectedEntry() const {
  return selected_.has_value() ? page_->Rows()[*selected_].entry : nullptr;
}

// ---- refresh ----

bool TMainWindowModel::RefreshSoftware(bool clearSearch) {
  if (!CanRefresh() || inventory_ == nullptr) return false;
  listIdle_ = false;
  struct TIdleAgain {
    bool& idle;
    ~TIdleAgain() { idle = true; }
  } idleAgain{listIdle_};
  inventory_->Refresh();
  if (clearSearch) {
    searchText_.clear();
    if (events_.searchChanged) events_.searchChanged();
  }
  Fill(Trim(searchText_));
  return true;
}

void TMainWindowModel::RefreshCurrentPage() {
  if (currentPage_ == mpSoftware) {
    RefreshSoftware(false);
  } else if (events_.refreshAddons) {
    events_.refreshAddons();
  }
}

// ---- the software list's menu ----

TSoftMenuState TMainWindowModel::SoftMenuState() const {
  TSoftMenuState state;
  state.iconsChecked = page_->ViewMode() == lvmIcons;
  state.detailsChecked = page_->ViewMode() == lvmDetails;
  const TSoftInfo* entry = SelectedEntry();
  if (entry == nullptr) return state;
  state.uninstallEnabled = true;
  state.searchOnlineEnabled = true;
  state.removeEntryEnabled = RegValueExistsAt(entry->RootName, entry->KeyPath, L"DisplayName", entry->IsX64);
  state.viewEntryEnabled = state.removeEntryEnabled;
  state.openFolderEnabled = !entry->InstallLocation.empty() && DirectoryExists(entry->InstallLocation);
  return state;
}

void TMainWindowModel::Uninstall(const TUninstallChoice& choice) {
  // One uninstall window at a time, also when a click arrives while one runs.
  if (open_[dkUninstallSession]) return;
  if (!choice.message.empty()) {
    prompts_.Message(choice.message);
    return;
  }
  if (choice.entries.empty() || !events_.openUninstall) return;
  RunThenRefresh(dkUninstallSession, [&] { return events_.openUninstall(choice.entries); });
}

void TMainWindowModel::RunThenRefresh(TDialogKind kind, const std::function<bool()>& run) {
  bool removed = false;
  {
    TOpenScope open(*this, kind);
    removed = run();
  }
  if (removed) RefreshSoftware(false);
}

void TMainWindowModel::UninstallSelected() { Uninstall(ChooseForUninstall(page_->Rows(), false, {}, selected_)); }

void TMainWindowModel::RunPageAction() {
  if (currentPage_ == mpAddons) {
    Report(L"10", L"11");
    if (events_.removeAddons) events_.removeAddons();
    return;
  }
  Report(L"9", L"8");
  std::vector<std::size_t> checkedRows;
  for (std::size_t row = 0; row < checked_.size(); ++row) {
    if (checked_[row]) checkedRows.push_back(row);
  }
  Uninstall(page_->UninstallAction(checkedRows, selected_));
}

void TMainWindowModel::UninstallRow(std::size_t row) {
  if (row >= page_->Rows().size()) return;
  Report(L"6", L"7");
  Uninstall(page_->RowButtonAction(row));
}

void TMainWindowModel::UninstallOnDoubleClick() {
  if (page_->DoubleClickUninstalls()) UninstallSelected();
}

bool TMainWindowModel::RemoveSelectedEntry() {
  if (!selected_.has_value() || inventory_ == nullptr) return false;
  TSoftInfo* entry = inventory_->GetItem(static_cast<int>(page_->Rows()[*selected_].index));
  if (entry == nullptr || !prompts_.Ask(Text(msg::RemoveEntry_ASK))) return false;
  const bool removed = inventory_->RemoveEntry(entry);
  RefreshSoftware(false);
  return removed;
}

bool TMainWindowModel::OpenSelectedFolder() {
  const TSoftInfo* entry = SelectedEntry();
  if (entry == nullptr || entry->InstallLocation.empty() || !DirectoryExists(entry->InstallLocation)) return false;
  return CurrentPlatform().Shell().ShellExecute(L"open", entry->InstallLocation, L"", L"", SW_SHOWNORMAL);
}

bool TMainWindowModel::ViewSelectedEntry() {
  const TSoftInfo* entry = SelectedEntry();
  return entry != nullptr && OpenInRegistryEditor(entry->RootName + entry->KeyPath, L"DisplayName", entry->IsX64);
}

std::wstring TMainWindowModel::SearchOnlineAddress() const {
  const TSoftInfo* entry = SelectedEntry();
  return entry == nullptr ? std::wstring{} : SearchOnlineAddressFor(entry->DisplayName);
}

bool TMainWindowModel::SearchSelectedOnline() {
  const std::wstring address = SearchOnlineAddress();
  return !address.empty() && OpenWebPage(address);
}

// ---- the "More" menu ----

void TMainWindowModel::OpenSettings() {
  TOpenScope open(*this, dkSettings);
  if (events_.openSettings) events_.openSettings();
}

void TMainWindowModel::OpenFileShredder() {
  Report(L"18", L"17");
  TOpenScope open(*this, dkShredder);
  if (events_.openShredder) events_.openShredder({});
}

void TMainWindowModel::OpenForcedUninstall() {
  if (events_.openForcedUninstall) RunThenRefresh(dkForcedUninstall, events_.openForcedUninstall);
}

void TMainWindowModel::ExportApplicationList() {
  if (events_.exportApplicationList) events_.exportApplicationList();
}

void TMainWindowModel::OpenLogManagement() {
  TOpenScope open(*this, dkLogManagement);
  if (events_.openLogManagement) events_.openLogManagement();
}

void TMainWindowModel::ViewRestorePoint() {
  const std::optional<std::wstring> program = RestoreProgramPath();
  if (!program.has_value()) {
    prompts_.Warning(Text(msg::UnknownOS_M));
    return;
  }
  StartRestoreProgram(*program);
}

bool TMainWindowModel::RestorePointOffered() const { return orvix::RestorePointOffered(); }

void TMainWindowModel::CheckForUpdates() {
  // The updater's start in manual mode comes with the online services.
}

bool TMainWindowModel::OpenUserManual() {
  return CurrentPlatform().Shell().ShellExecute(L"open", UserManualPath(installFolder_), L"", L"", SW_SHOWNORMAL);
}

bool TMainWindowModel::OpenTechnicalSupport() {
  return OpenWebPage(TechnicalSupportAddress(FileVersionText(CurrentPlatform().Shell().GetModuleFileName())));
}

bool TMainWindowModel::OpenProductSite() { return OpenWebPage(ProductSiteAddress()); }

bool TMainWindowModel::OpenForum() { return OpenWebPage(ForumAddress()); }

void TMainWindowModel::OpenAbout() {
  TOpenScope open(*this, dkAbout);
  if (events_.openAbout) events_.openAbout();
}

bool TMainWindowModel::SwitchLanguage(const std::wstring& displayName) {
  // The open windows apply the new texts themselves when told.
  TLanguageDisplayName switcher(language_, language_.LanguageFolder());
  return switcher.SelectByDisplayName(displayName, {}, [this] {
    if (events_.languageChanged) events_.languageChanged();
  });
}

// ---- messages from other processes and Explorer ----

bool TMainWindowModel::AnyOpen(std::initializer_list<TDialogKind> kinds) const {
  for (const TDialogKind kind : kinds) {
    if (open_[kind]) return true;
  }
  return false;
}

void TMainWindowModel::BringToFront() {
  if (events_.bringToFront) events_.bringToFront();
}

void TMainWindowModel::ReceiveCopyData(std::uintptr_t dwData, const void* data, std::size_t size) {
  if (dwData != kCopyDataForcedName) return;
  const std::wstring text = DecodeCopyData(data, size);
  if (text.empty()) return;
  receivedText_ = text;
  PostToSelf(kMsgForcedUninstallByName);
}

void TMainWindowModel::ForcedUninstallOfPath(const std::wstring& text) {
  if (!AcceptedForForcedUninstall(text) || !events_.openForcedUninstallWithPath) return;
  RunThenRefresh(dkForcedUninstall, [&] { return events_.openForcedUninstallWithPath(text); });
}

void TMainWindowModel::ExplorerForcedUninstall() {
  if (AnyOpen({dkLogManagement, dkUninstallSession, dkShredder, dkSettings})) return;
  if (!FileExists(DataFolder() + kMenuRightFile)) return;
  const std::wstring text = ReadMenuRightText();
  StartCompanion(kCompanionMenuArgument);
  BringToFront();
  if (!open_[dkForcedUninstall]) {
    ForcedUninstallOfPath(text);
  } else if (AcceptedForForcedUninstall(text) && events_.updateForcedUninstallPath) {
    events_.updateForcedUninstallPath(text);
  }
}

void TMainWindowModel::ForcedUninstallByName() {
  if (AnyOpen({dkLogManagement, dkUninstallSession, dkShredder, dkSettings})) return;
  if (open_[dkForcedUninstall]) {
    if (events_.updateForcedUninstallName) events_.updateForcedUninstallName(receivedText_);
    return;
  }
  if (!events_.openForcedUninstallWithName) return;
  RunThenRefresh(dkForcedUninstall, [&] { return events_.openForcedUninstallWithName(receivedText_); });
}

void TMainWindowModel::ShredFromExplorer() {
  if (AnyOpen({dkLogManagement, dkUninstallSession, dkForcedUninstall, dkSettings})) return;
  const std::vector<std::wstring> files = ReadShredderList();
  if (open_[dkShredder]) {
    if (events_.updateShredder) events_.updateShredder(files);
    return;
  }
  TOpenScope open(*this, dkShredder);
  if (events_.openShredder) events_.openShredder(files);
}

void TMainWindowModel::DropFiles(const std::vector<std::wstring>& paths) {
  // A drop while any of the windows is open would open a second one.
  for (int kind = 0; kind < dkCount; ++kind) {
    if (open_[kind]) return;
  }
  if (!paths.empty()) ForcedUninstallOfPath(paths.front());
}

// ---- bounds ----

void TMainWindowModel::Moved(const TRect& bounds) { bounds_ = bounds; }

void TMainWindowModel::Resize(int width, int height) {
  bounds_ = ResizedBounds(bounds_, width, height);
  maximized_ = false;
}

void TMainWindowModel::Maximize() {
  if (maximized_) return;
  restore_ = bounds_;
  bounds_ = MaximizedBounds(CurrentPlatform().Windows().WorkAreaNearest(bounds_));
  maximized_ = true;
}

void TMainWindowModel::Restore() {
  if (!maximized_) return;
  bounds_ = restore_;
  maximized_ = false;
}

void TMainWindowModel::ToggleMaximized() {
  if (maximized_) {
    Restore();
  } else {
    Maximize();
  }
}

}  // namespace orvix
