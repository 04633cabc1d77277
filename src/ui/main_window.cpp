#include "ui/main_window.h"

#include <algorithm>

#include "inventory/analysis_cache.h"
#include "inventory/list_export.h"
#include "inventory/software_info.h"
#include "language/forms/forms.h"
#include "language/messages.h"
#include "platform/win32/win32_dispatcher.h"
#include "ui/about_box.h"
#include "ui/message_prompts.h"
#include "ui/settings_dialog.h"
#include "ui/uninstall_flow.h"

#include <commdlg.h>

namespace orvix::ui {
namespace {

constexpr int kSoftwarePageId = 1021;
constexpr int kAddonPageId = 1022;
constexpr int kMoreId = 1023;
constexpr int kSearchId = 1002;
constexpr int kClearSearchId = 1024;

constexpr UINT_PTR kSoftwareTimer = 1;  // one shot, 10 ms after the first activation
constexpr UINT_PTR kCheckTimer = 2;     // one shot, 200 ms after the list is up
constexpr int kHeaderHeight = 56;       // 96-DPI pixels
constexpr int kFooterHeight = 44;       // the floating button's band

RECT ToRect(const TRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
TRect ToTRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

MainWindow::MainWindow(TMainWindowOptions options)
    : options_(std::move(options)), texts_(MainWindowForm()), layout_(870, 570) {}

MainWindow::~MainWindow() {
  StopAnalysis();
  model_.reset();
  SetFormLanguage(nullptr);
}

bool MainWindow::Create() {
  WindowArgs args;
  args.className = kMainWindowClass;
  args.title = kMainWindowTitle;
  args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
  args.width = 870;
  args.height = 570;
  return Window::Create(args);
}

void MainWindow::OnCreate() {
  HWND self = Handle();
  dispatcher_ = win32::MakeDispatcher();
  ::DragAcceptFiles(self, TRUE);
  IMainWindowPrompts& prompts = *this;
  model_ = std::make_unique<TMainWindowModel>(prompts, Events(), options_);
  model_->Create(reinterpret_cast<WindowHandle>(self));
  AllowMessage(kMsgExplorerForcedUninstall);
  SetFormLanguage(&model_->Language());

  software_.Create(self, L"", FontStyle::Large);
  software_.SetId(kSoftwarePageId);
  software_.onClick = [this] {
    model_->ShowSoftwarePage();
    SyncPage();
  };
  browser_.Create(self, L"", FontStyle::Large);
  browser_.SetId(kAddonPageId);
  browser_.onClick = [this] {
    model_->ShowAddonPage();
    SyncPage();
  };
  search_.Create(self, {});
  search_.SetId(kSearchId);
  search_.onChanged = [this] {
    model_->SearchTyped(search_.Text());
    SyncSearch();
  };
  clearSearch_.Create(self, {L"\u00D7"});
  clearSearch_.SetId(kClearSearchId);
  clearSearch_.onClick = [this] {
    model_->ClearSearch();
    SyncSearch();
    search_.Focus();
  };
  more_.Create(self, {});
  more_.SetId(kMoreId);
  more_.onClick = [this] { ShowMoreMenu(); };
  pluginsEmpty_.Create(self, {.wrap = true, .centred = true});
  pluginsEmpty_.SetColor(COLOR_GRAYTEXT);

  page_ = std::make_unique<SoftwarePageView>(*model_);
  page_->Create(self);
  page_->onContextMenu = [this](POINT at) { ShowSoftMenu(at); };
  icons_ = std::make_unique<IconImages>(Dpi());
  page_->SetImages(icons_->Handle());

  layout_.Add(software_, {12, 8, 132, 52}, kAnchorTopLeft, FontStyle::Large);
  layout_.Add(browser_, {136, 8, 316, 52}, kAnchorTopLeft, FontStyle::Large);
  layout_.Add(search_, {536, 16, 726, 42}, kAnchorTopRight);
  layout_.Add(clearSearch_, {728, 16, 754, 42}, kAnchorTopRight);
  layout_.Add(more_, {766, 14, 854, 44}, kAnchorTopRight);
  layout_.Add(pluginsEmpty_, {40, 200, 830, 260}, kAnchorLeft | kAnchorRight);
  layout_.Add(page_->Handle(), {0, kHeaderHeight, 870, 570 - kFooterHeight}, kAnchorAll);

  texts_.Bind(L"RdImageButton_Software", software_);
  texts_.Bind(L"RdImageButton_Browser", browser_);
  texts_.Bind(L"RdImageButton_More", more_);
  texts_.Bind(L"ImageNote_Search_Close", clearSearch_);
  texts_.Bind(L"Label_PluginsEmpty", pluginsEmpty_);
  texts_.onApplied = [this] { ApplyCodeTexts(); };
  texts_.Apply();
  model_->SearchFocus(true);  // the box shows its placeholder as a cue, never as text
  SyncSearch();
  SyncPage();

  floating_.Create(self);
  floating_.onClick = [this] {
    ::SendMessageW(Handle(), WM_CANCELMODE, 0, 0);  // closes an open menu first
    model_->RunPageAction();
  };
}

TMainWindowEvents MainWindow::Events() {
  TMainWindowEvents events;
  events.openSettings = [this] {
    ShowSettingsDialog(Handle(), model_->Language(),
                       [this](const std::wstring& displayName) { return model_->SwitchLanguage(displayName); });
  };
  events.openAbout = [this] { ShowAboutBox(Handle()); };
  events.openUninstall = [this](const std::vector<const TSoftInfo*>& entries) {
    return model_->Inventory() != nullptr &&
           RunUninstallFlow(Handle(), *model_->Inventory(), entries, model_->SoftwarePage().BatchMode());
  };
  events.exportApplicationList = [this] { ExportApplicationList(); };
  events.bringToFront = [this] {
    if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
    ::SetForegroundWindow(Handle());
  };
  events.listChanged = [this] {
    if (page_ != nullptr) page_->Sync();
  };
  events.searchChanged = [this] { SyncSearch(); };
  events.showFloatingButton = [this] {
    PlaceFloatingButton();
    ::ShowWindow(floating_.Handle(), SW_SHOWNOACTIVATE);
  };
  events.focusList = [this] {
    if (page_ != nullptr) page_->List().Focus();
  };
  events.languageChanged = [] { FormTexts::ApplyAll(); };
  return events;
}

void MainWindow::ShowAtBounds(int showCommand) {
  // The smallest size is given in 96-DPI pixels: on a scaled screen the
  // window grows with the scale, so that its controls keep their room.
  const TRect& bounds = model_->Bounds();
  if (!model_->Maximized() && (bounds.Width() < Scale(kMainMinWidth) || bounds.Height() < Scale(kMainMinHeight))) {
    model_->Resize(std::max(bounds.Width(), Scale(kMainMinWidth)), std::max(bounds.Height(), Scale(kMainMinHeight)));
    // Grown, it stays inside the work area.
    const TRect& grown = model_->Bounds();
    model_->Moved(ClampToWorkArea(grown, CurrentPlatform().Windows().WorkAreaNearest(grown)));
  }
  ApplyBounds();
  Show(showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ? showCommand : SW_SHOW);
}

void MainWindow::ApplyBounds() {
  const TRect& bounds = model_->Bounds();
  applyingBounds_ = true;
  ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  applyingBounds_ = false;
  PlaceFloatingButton();
}

void MainWindow::PlaceFloatingButton() {
  if (floating_.Handle() == nullptr) return;
  floating_.SetAddonPage(model_->Page() == mpAddons);
  floating_.Place(ToRect(model_->FloatingButton()));
}

void MainWindow::ApplyCodeTexts() {
  search_.SetCue(Text(msg::Edit_Search_Tip));
  search_.SetAccessibleName(Text(msg::Edit_Search_Tip));
  more_.SetAccessibleName(texts_.Caption(L"RdImageButton_More"));
  if (page_ != nullptr) page_->Sync();
  RECT client = {};
  ::GetClientRect(Handle(), &client);
  OnSize(client.right, client.bottom);
}

void MainWindow::SyncPage() {
  const bool software = model_->Page() == mpSoftware;
  software_.SetCurrent(software);
  browser_.SetCurrent(!software);
  ::ShowWindow(page_->Handle(), software ? SW_SHOW : SW_HIDE);
  pluginsEmpty_.SetVisible(!software);
  PlaceFloatingButton();
  if (software) page_->Sync();
}

void MainWindow::SyncSearch() {
  const std::wstring text = model_->SearchBoxText();
  if (search_.Text() != text) search_.SetTextQuietly(text);
  clearSearch_.SetVisible(model_->ClearButtonVisible());
}

void MainWindow::OnSize(int width, int height) {
  if (model_ == nullptr) return;  // sizes sent while the window is being made
  layout_.Apply(width, height, Dpi());
  // The floating button goes with a minimised window and comes back with it.
  if (floating_.Handle() != nullptr && model_->ListReady()) {
    ::ShowWindow(floating_.Handle(), ::IsIconic(Handle()) ? SW_HIDE : SW_SHOWNOACTIVATE);
  }
  // The page buttons are as wide as their captions.
  const int left = Scale(12);
  const int softwareWidth = software_.TextWidth() + Scale(12);
  const int browserWidth = browser_.TextWidth() + Scale(12);
  software_.SetBounds({left, Scale(8), left + softwareWidth, Scale(52)});
  browser_.SetBounds({left + softwareWidth + Scale(4), Scale(8), left + softwareWidth + Scale(4) + browserWidth,
                      Scale(52)});
}

void MainWindow::OnDpiChanged() {
  icons_ = nullptr;  // rebuilt below at the new size; entries keep their positions
  page_->SetImages(nullptr);
  icons_ = std::make_unique<IconImages>(Dpi());
  page_->SetImages(icons_->Handle());
}

bool MainWindow::OnCloseRequest() {
  model_->Close();
  return true;
}

void MainWindow::OnDestroy() {
  StopAnalysis();
  ::PostQuitMessage(0);
}

void MainWindow::StopAnalysis() {
  // The analysis reports to the page through the dispatcher until it has
  // stopped: it stops while the page, the icons and the model are whole,
  // and the page takes nothing after that.
  if (model_ != nullptr && model_->Inventory() != nullptr && model_->Inventory()->Analysis() != nullptr) {
    model_->Inventory()->Analysis()->Stop();
  }
  if (page_ != nullptr) page_->Detach();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (model_ == nullptr) return Default(message, wParam, lParam);  // before OnCreate made it
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) > IDCANCEL) Command(LOWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && model_->Activate()) {
        ::SetTimer(Handle(), kSoftwareTimer, 10, nullptr);
        AllowMessage(0x0049);  // WM_COPYGLOBALDATA
        AllowMessage(WM_DROPFILES);
        AllowMessage(WM_COPYDATA);
      }
      break;
    case WM_TIMER:
      if (wParam == kSoftwareTimer) {
        ::KillTimer(Handle(), kSoftwareTimer);
        LoadSoftware();
        ::SetTimer(Handle(), kCheckTimer, 200, nullptr);
      } else if (wParam == kCheckTimer) {
        ::KillTimer(Handle(), kCheckTimer);
        model_->RunCheckTasks();
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {Scale(kMainMinWidth), Scale(kMainMinHeight)};
      return 0;
    }
    case WM_SYSCOMMAND:
      // Maximise fills the work area but for the floating button's overhang.
      if ((wParam & 0xFFF0) == SC_MAXIMIZE || ((wParam & 0xFFF0) == SC_RESTORE && model_->Maximized())) {
        ::ShowWindow(floating_.Handle(), SW_HIDE);
        model_->ToggleMaximized();
        ApplyBounds();
        ::ShowWindow(floating_.Handle(), SW_SHOWNOACTIVATE);
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (!::IsIconic(Handle()) && !applyingBounds_) {
        RECT bounds = {};
        ::GetWindowRect(Handle(), &bounds);
        model_->Moved(ToTRect(bounds));
      }
      PlaceFloatingButton();
      break;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      model_->ReceiveCopyData(data->dwData, data->lpData, data->cbData);
      return TRUE;
    }
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wParam);
      std::vector<std::wstring> paths;
      const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(path);
      }
      ::DragFinish(drop);
      model_->DropFiles(paths);
      return 0;
    }
    default:
      if (message == kMsgBringToFront) {
        model_->BringToFront();
        return 0;
      }
      if (message == kMsgExplorerForcedUninstall) {
        model_->ExplorerForcedUninstall();
        return 0;
      }
      if (message == kMsgForcedUninstallByName) {
        model_->ForcedUninstallByName();
        return 0;
      }
      if (message == kMsgShredFromExplorer) {
        model_->ShredFromExplorer();
        return 0;
      }
      break;
  }
  return Default(message, wParam, lParam);
}

void MainWindow::AllowMessage(UINT message) {
  using ChangeFilter = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  const auto change = reinterpret_cast<ChangeFilter>(
      reinterpret_cast<void*>(user32 != nullptr ? ::GetProcAddress(user32, "ChangeWindowMessageFilter") : nullptr));
  if (change != nullptr) change(message, 1 /* MSGFLT_ADD */);
}

bool MainWindow::PreTranslate(MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const bool modifiers = ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0 || ::GetKeyState(VK_SHIFT) < 0;
  if (message.wParam == VK_F5 && !modifiers) {
    model_->RefreshCurrentPage();
    return true;
  }
  if (page_ == nullptr || message.hwnd != page_->List().Handle()) return false;
  if (message.wParam == VK_RETURN) {
    Command(kCmdUninstall);
    return true;
  }
  if (message.wParam == VK_DELETE && !modifiers) {
    Command(kCmdRemoveEntry);
    return true;
  }
  return false;
}

void MainWindow::LoadSoftware() {
  TAnalysisSettings analysis;
  analysis.cachePath = SoftwareCachePath();
  analysis.listView = page_.get();
  analysis.iconList = icons_.get();
  model_->LoadSoftware(std::make_unique<TSoftwareInfo>(*dispatcher_, std::move(analysis)));
}

void MainWindow::Command(int id) {
  switch (id) {
    case kCmdUninstall:
      model_->UninstallSelected();
      break;
    case kCmdRefresh:
      model_->RefreshSoftware(true);
      break;
    case kCmdDetailsView:
      model_->SetViewMode(lvmDetails);
      page_->Sync();
      break;
    case kCmdIconView:
      model_->SetViewMode(lvmIcons);
      page_->Sync();
      break;
    case kCmdRemoveEntry:
      model_->RemoveSelectedEntry();
      break;
    case kCmdOpenFolder:
      model_->OpenSelectedFolder();
      break;
    case kCmdViewEntry:
      model_->ViewSelectedEntry();
      break;
    case kCmdSearchOnline:
      model_->SearchSelectedOnline();
      break;
    case kCmdSettings:
      model_->OpenSettings();
      break;
    case kCmdAbout:
      model_->OpenAbout();
      break;
    case kCmdExportList:
      model_->ExportApplicationList();
      break;
    case kCmdViewRestorePoint:
      model_->ViewRestorePoint();
      break;
    case kCmdCheckUpdates:
      model_->CheckForUpdates();
      break;
    case kCmdUserManual:
      model_->OpenUserManual();
      break;
    case kCmdTechnicalSupport:
      model_->OpenTechnicalSupport();
      break;
    case kCmdOrvixOnline:
      model_->OpenProductSite();
      break;
    default:
      break;
  }
}

void MainWindow::ShowMoreMenu() {
  HMENU menu = ::CreatePopupMenu();
  const auto add = [&](int id, const wchar_t* name) {
    ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), texts_.Caption(name).c_str());
  };
  add(kCmdSettings, L"PopMenu_Sub_Setting");
  add(kCmdExportList, L"PopMenu_ExportList");
  if (model_->RestorePointOffered()) add(kCmdViewRestorePoint, L"PopMenu_Sub_ViewRestorePoint");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCmdCheckUpdates, L"PopMenu_Sub_Update");
  add(kCmdUserManual, L"PopMenu_Sub_UserManual");
  add(kCmdTechnicalSupport, L"PopMenu_Sub_TechnicalSupport");
  add(kCmdOrvixOnline, L"PopMenu_Sub_OrvixOnline");
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCmdAbout, L"PopMenu_Sub_About");
  RECT button = {};
  ::GetWindowRect(more_.Handle(), &button);
  const UINT chosen = ::TrackPopupMenuEx(menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, button.right,
                                         button.bottom, Handle(), nullptr);
  ::DestroyMenu(menu);
  if (chosen != 0) Command(static_cast<int>(chosen));
}

void MainWindow::ShowSoftMenu(POINT at) {
  const TSoftMenuState state = model_->SoftMenuState();
  const auto flags = [](bool enabled, bool checked = false) {
    return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED) | (checked ? MF_CHECKED : MF_UNCHECKED);
  };
  HMENU view = ::CreatePopupMenu();
  ::AppendMenuW(view, flags(true, state.iconsChecked), kCmdIconView, texts_.Caption(L"PopMenu_ViewStyle_Icon").c_str());
  ::AppendMenuW(view, flags(true, state.detailsChecked), kCmdDetailsView,
                texts_.Caption(L"PopMenu_ViewStyle_Details").c_str());
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, flags(state.uninstallEnabled), kCmdUninstall, texts_.Caption(L"PopMenu_Uninstall").c_str());
  ::AppendMenuW(menu, flags(state.removeEntryEnabled), kCmdRemoveEntry, texts_.Caption(L"PopMenu_RemoveEntry").c_str());
  ::AppendMenuW(menu, flags(true), kCmdRefresh, texts_.Caption(L"PopMenu_Refresh").c_str());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), texts_.Caption(L"PopMenu_ViewStyle").c_str());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, flags(state.openFolderEnabled), kCmdOpenFolder, texts_.Caption(L"PopMenu_OpenFolder").c_str());
  ::AppendMenuW(menu, flags(state.viewEntryEnabled), kCmdViewEntry, texts_.Caption(L"PopMenu_ViewEntry").c_str());
  ::AppendMenuW(menu, flags(state.searchOnlineEnabled), kCmdSearchOnline,
                texts_.Caption(L"PopMenu_SearchOnline").c_str());
  const UINT chosen = ::TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                         at.y, Handle(), nullptr);
  ::DestroyMenu(menu);  // the sub-menu goes with it
  if (chosen != 0) Command(static_cast<int>(chosen));
}

void MainWindow::ExportApplicationList() {
  if (model_->Inventory() == nullptr) return;
  wchar_t file[MAX_PATH] = L"Software List";
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"Text(*.txt)\0*.txt\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameW(&dialog)) return;
  const std::wstring path = ExportFileName(file);
  // A write error is not reported; a file that was written is opened.
  if (SaveSoftwareList(path, model_->Inventory()->Items())) {
    ::ShellExecuteW(Handle(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

void MainWindow::Message(const std::wstring& text) { ShowMessage(Handle(), text, MB_OK | MB_ICONINFORMATION); }

void MainWindow::Warning(const std::wstring& text) {
  ::MessageBoxW(Handle(), text.c_str(), kMainWindowTitle, MB_OK | MB_ICONWARNING);
}

bool MainWindow::Ask(const std::wstring& question) {
  return ShowMessage(Handle(), question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace orvix::ui
