// The main window's logic without its window: the start-up order after the
// window exists (creation, first activation, the software and check
// timers), the current page, the windows it has open and the messages that
// must wait for them, the refresh rules, the search box, the software
// menu's states and commands, the window's bounds and the floating button.
// The Win32 window draws from the getters, forwards each user action to one
// call here, and wires the events to the windows that other parts own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "inventory/list_page.h"
#include "language/language.h"
#include "platform/window_api.h"
#include "shell/start_routing.h"
#include "shell/window_bounds.h"

namespace orvix {

class TSoftwareInfo;

enum TMainPage { mpSoftware = 0, mpAddons = 1 };

// The windows the main window opens, each shown modally.
enum TDialogKind {
  dkSettings,
  dkLogManagement,
  dkShredder,
  dkForcedUninstall,
  dkUninstallSession,
  dkAbout,
  dkCount,
};

// Questions and messages, owned by the main window.
class IMainWindowPrompts {
 public:
  virtual ~IMainWindowPrompts() = default;
  // OK, the application title as caption.
  virtual void Message(const std::wstring& text) = 0;
  // Warning icon, the window caption as title.
  virtual void Warning(const std::wstring& text) = 0;
  // Yes/No with the question icon, the application title as caption.
  virtual bool Ask(const std::wstring& question) = 0;
};

// What the window wires to windows and views of other parts. Each open...
// event shows its window modally and returns once it closed; the model marks
// that window open for the time of the call, which is what the message
// guards consult. Events left unset do nothing.
struct TMainWindowEvents {
  std::function<void()> openSettings;
  std::function<void()> openLogManagement;
  std::function<void()> openAbout;
  // The uninstall window over the chosen entries; answers whether anything
  // was removed (the list is then refreshed).
  std::function<bool(const std::vector<const TSoftInfo*>& entries)> openUninstall;
  // The forced uninstall window: empty, with an accepted path (analysis
  // started, Next enabled), or with a program name another process sent
  // (entries listed by name). Answers whether anything was removed.
  std::function<bool()> openForcedUninstall;
  std::function<bool(const std::wstring& path)> openForcedUninstallWithPath;
  std::function<bool(const std::wstring& name)> openForcedUninstallWithName;
  // The forced uninstall window is open: it takes the new path (which it
  // checks itself) or name, then comes to the front with the main window.
  std::function<void(const std::wstring& path)> updateForcedUninstallPath;
  std::function<void(const std::wstring& name)> updateForcedUninstallName;
  // The shredder, with the list Explorer handed over (empty from the menu).
  std::function<void(const std::vector<std::wstring>& files)> openShredder;
  // The shredder is open: answers false while it is busy, else takes the
  // list; both windows come to the front.
  std::function<bool(const std::vector<std::wstring>& files)> updateShredder;
  // "Export Application List": the save dialog, the file, opening it.
  std::function<void()> exportApplicationList;
  // Restore from minimised, force the window to the front, then the open
  // about, uninstall, forced uninstall and log management windows.
  std::function<void()> bringToFront;
  // The software list's rows, header or counts changed; the search box or
  // the clear button changed.
  std::function<void()> listChanged;
  std::function<void()> searchChanged;
  // The software timer's middle steps: the floating button is shown, the list focused.
  std::function<void()> showFloatingButton;
  std::function<void()> focusList;
  // The add-on page: its remove action, its filter, its refresh.
  std::function<void()> removeAddons;
  std::function<void(const std::wstring& filter)> filterAddons;
  std::function<void()> refreshAddons;
  // The interface language changed: every open window applies its texts again.
  std::function<void()> languageChanged;
};

// The states of the software list's context menu when it opens.
struct TSoftMenuState {
  bool iconsChecked = false;
  bool detailsChecked = false;
  bool uninstallEnabled = false;
  bool removeEntryEnabled = false;
  bool viewEntryEnabled = false;
  bool openFolderEnabled = false;
  bool searchOnlineEnabled = false;
  bool operator==(const TSoftMenuState&) const = default;
};

struct TMainWindowOptions {
  // The program's installation folder, with its trailing backslash: the
  // language files and the help file are found there. Empty: the program's
  // own folder.
  std::wstring installFolder;
  // The command line without the program's name.
  std::vector<std::wstring> arguments;
  // Usage events (event number, a); the statistics library when unset.
  std::function<void(const std::wstring& event, std::int32_t a)> reportEvent;
};

class TMainWindowModel {
 public:
  TMainWindowModel(IMainWindowPrompts& prompts, TMainWindowEvents events, TMainWindowOptions options = {});
  ~TMainWindowModel();
  TMainWindowModel(const TMainWindowModel&) = delete;
  TMainWindowModel& operator=(const TMainWindowModel&) = delete;

  // ---- start-up, in this order ----
  // The window's creation: bounds from "Main.ini", the automatic-mode flags,
  // the install folder, the language and the interface messages, the start
  // events. `window` is the main window's own handle, for the messages it
  // posts to itself.
  void Create(WindowHandle window);
  // True only the first time: the window then enables the software timer.
  bool Activate();
  // The software timer, with the inventory the window made (the analysis
  // started over it, its cache at SoftwareCachePath() of inventory/analysis_cache.h): lists "All
  // Programs", shows the floating button, focuses the list, marks the list
  // filled, then acts on the command line. The window enables the check
  // timer afterwards.
  void LoadSoftware(std::unique_ptr<TSoftwareInfo> inventory);
  // The check timer: the online tasks after the list is up.
  void RunCheckTasks();
  // Closing: writes the window state and the list's sort.
  void Close();

  // ---- state ----
  TLanguage& Language() { return language_; }
  const std::wstring& InstallFolder() const { return installFolder_; }
  TSoftwareInfo* Inventory() const { return inventory_.get(); }
  TSoftwarePage& SoftwarePage() { return *page_; }
  const TSoftwarePage& SoftwarePage() const { return *page_; }
  TMainPage Page() const { return currentPage_; }
  bool ListReady() const { return listReady_; }
  bool ListIdle() const { return listIdle_; }
  bool IsDialogOpen(TDialogKind kind) const { return open_[kind]; }
  const std::wstring& ReceivedText() const { return receivedText_; }

  // ---- pages ----
  // The "Software" page button: clears the search, shows the page and lists
  // its category without filter. Ignored when the page shows already and
  // the list is sorted ascending.
  void ShowSoftwarePage();
  // The "Browser plug-ins" page button.
  void ShowAddonPage();
  // A tab of the software page: clears the search as well.
  void SelectCategory(int tab);
  void SetViewMode(TListViewMode mode);
  // A click on a column header: the rows are sorted again, so the selection
  // and the checks, which name rows, are cleared.
  void ClickHeader(int column);
  // The batch switch: check boxes shown or hidden, none checked.
  void SetBatchMode(bool on);

  // ---- search box ----
  // The box's text: the placeholder "Search Software" while it shows.
  std::wstring SearchBoxText() const;
  bool ClearButtonVisible() const;
  // Every key release in the box, with its text.
  void SearchTyped(const std::wstring& text);
  // The clear button.
  void ClearSearch();
  // The mouse enters or leaves the box: the placeholder goes and comes back.
  void SearchFocus(bool entering);

  // ---- the list's selection and checks (the list view keeps none) ----
  std::optional<std::size_t> SelectedRow() const { return selected_; }
  void SelectRow(std::optional<std::size_t> row);
  bool RowChecked(std::size_t row) const;
  void CheckRow(std::size_t row, bool checked);

  // ---- refresh ----
  // Only once the list was filled and while no refresh runs.
  bool CanRefresh() const { return listReady_ && listIdle_; }
  // Reconciles the inventory and lists the current category again, with the
  // search text, or without it when `clearSearch` ("Refresh" in the menu).
  bool RefreshSoftware(bool clearSearch);
  // F5: the current page.
  void RefreshCurrentPage();

  // ---- the software list's menu ----
  TSoftMenuState SoftMenuState() const;
  // "Uninstall": the selected program, batch mode off for this one action.
  void UninstallSelected();
  // The floating button: the page's main action.
  void RunPageAction();
  // The row's own button.
  void UninstallRow(std::size_t row);
  // A double click on the list.
  void UninstallOnDoubleClick();
  // "Remove Entry": asks, then removes the entry's key and refreshes.
  bool RemoveSelectedEntry();
  bool OpenSelectedFolder();
  bool ViewSelectedEntry();
  bool SearchSelectedOnline();
  // The selected entry's web search address; empty without a selection.
  std::wstring SearchOnlineAddress() const;

  // ---- the "More" menu ----
  void OpenSettings();
  void OpenFileShredder();
  void OpenForcedUninstall();
  void ExportApplicationList();
  void OpenLogManagement();
  void ViewRestorePoint();
  bool RestorePointOffered() const;
  void CheckForUpdates();
  bool OpenUserManual();
  bool OpenTechnicalSupport();
  bool OpenProductSite();
  bool OpenForum();
  void OpenAbout();
  // The settings dialog chose another language (its display name): loads
  // it, writes it to "Main.ini", fetches the interface messages again and
  // asks every open window for its texts (languageChanged); false when no
  // language has that name.
  bool SwitchLanguage(const std::wstring& displayName);

  // ---- messages from other processes and Explorer ----
  void BringToFront();
  // WM_COPYDATA: only dwData 2026 counts; at most `size` bytes are read.
  void ReceiveCopyData(std::uintptr_t dwData, const void* data, std::size_t size);
  void ExplorerForcedUninstall();  // 0x7E9
  void ForcedUninstallByName();    // 0x7EA
  void ShredFromExplorer();        // 0x7EB
  // Files dropped on the window: the first goes to forced uninstall.
  void DropFiles(const std::vector<std::wstring>& paths);

  // ---- bounds ----
  const TRect& Bounds() const { return bounds_; }
  const TRect& RestoreBounds() const { return restore_; }
  bool Maximized() const { return maximized_; }
  // The window moved or was sized by the system.
  void Moved(const TRect& bounds);
  // The resize grip: never below 870 x 570; leaves the maximised state.
  void Resize(int width, int height);
  void Maximize();
  void Restore();
  // A double click on the title bar.
  void ToggleMaximized();
  // Where a window of this size goes when the main window opens it.
  TRect CenterChild(int width, int height) const { return CenteredOn(bounds_, width, height); }
  // The floating button's bounds; its caption follows Page().
  TRect FloatingButton() const { return FloatingButtonBounds(bounds_); }

 private:
  class TOpenScope;
  void Report(const wchar_t* first, const wchar_t* second);
  void Fill(const std::wstring& filter);
  void ClearMarks();
  void Uninstall(const TUninstallChoice& choice);
  // Runs a window that may remove programs, marked open for its run; the
  // list is refreshed when it answers that something went.
  void RunThenRefresh(TDialogKind kind, const std::function<bool()>& run);
  void ForcedUninstallOfPath(const std::wstring& text);
  void ActOnCommandLine();
  void StartCompanion(const std::wstring& argument) const;
  void PostToSelf(DWORD message) const;
  const TSoftInfo* SelectedEntry() const;
  bool AnyOpen(std::initializer_list<TDialogKind> kinds) const;

  IMainWindowPrompts& prompts_;
  TMainWindowEvents events_;
  TMainWindowOptions options_;
  TLanguage language_;
  std::wstring installFolder_;
  WindowHandle window_ = 0;
  bool activated_ = false;

  TSoftList noItems_;  // what the page lists before the inventory exists
  std::unique_ptr<TSoftwareInfo> inventory_;
  std::unique_ptr<TSoftwarePage> page_;
  TMainPage currentPage_ = mpSoftware;
  bool listReady_ = false;
  bool listIdle_ = true;
  std::optional<std::size_t> selected_;
  std::vector<bool> checked_;

  std::wstring searchText_;
  bool searchFocused_ = false;
  std::wstring receivedText_;
  bool open_[dkCount] = {};

  TRect bounds_;
  TRect restore_;
  bool maximized_ = false;
};

}  // namespace orvix
