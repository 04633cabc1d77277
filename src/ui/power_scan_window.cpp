// The review window. Every action is one model call followed by Sync(); the
// tree is rebuilt from the model after Delete, whose second pass frees nodes.
#include "language/forms/forms.h"
#include "language/messages.h"
#include "platform/platform.h"
#include "platform/registry_helpers.h"
// After the project headers: ui/win.h brings <windows.h> and its macros.
#include "ui/power_scan_window.h"
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/leftover_tree_source.h"
#include "ui/modal_dialog.h"
#include "ui/message_prompts.h"
#include "ui/tree_image_list.h"
#include "ui/tree_view.h"
#include "ui/view_pump.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

// Control ids, also what the GUI tests click.
enum : int { kTreeId = 3201, kSelectAllId = 3202, kDeleteId = 3203, kShredderId = 3204 };
enum : UINT { kOpenLocationCommand = 1, kOpenRegistryCommand = 2 };
constexpr int kWidth = 582;
constexpr int kHeight = 416;

class PowerScanWindow : public Window {
 public:
  PowerScanWindow(TLeftoverTree& tree, bool warning, const TEventReporter& reportEvent)
      : tree_(tree), source_(tree), prompts_(nullptr), model_(tree, prompts_, reportEvent) {
    model_.ShowWarning = warning;
  }

 protected:
  void OnCreate() override {
    prompts_.SetOwner(Handle());
    const bool warning = model_.ShowWarning;
    const int treeTop = warning ? 56 : 32;
    if (warning) {
      warning_.Create(Handle(), {Text(msg::lbl_Warning) + L" " + Text(msg::lbl_WarningText), true});
      warning_.SetColor(COLOR_HIGHLIGHT);
      layout_.Add(warning_, {12, 8, kWidth - 12, 50}, kAnchorTopSides, FontStyle::Bold);
    }
    findings_.Create(Handle(), {});
    layout_.Add(findings_, {12, treeTop - 22, kWidth - 12, treeTop - 4}, kAnchorTopSides);
    treeView_.Create(Handle(), source_);
    treeView_.SetId(kTreeId);
    treeView_.onMouseDown = [this](TreeNodeId id, bool onStateIcon) { MouseDown(id, onStateIcon); };
    layout_.Add(treeView_, {12, treeTop, kWidth - 12, 320}, kAnchorAll);
    shredding_.Create(Handle(), {});
    layout_.Add(shredding_, {12, 326, kWidth - 12, 344}, kAnchorBottomSides);
    progress_.Create(Handle(), {});
    layout_.Add(progress_, {12, 328, kWidth - 12, 344}, kAnchorBottomSides);
    itemLine_.Create(Handle(), {});
    layout_.Add(itemLine_, {12, 348, kWidth - 12, 366}, kAnchorBottomSides);
    selectAll_.Create(Handle(), {});
    selectAll_.SetId(kSelectAllId);
    selectAll_.onClick = [this] { Act([this] { model_.ClickSelectAll(); }); };
    layout_.Add(selectAll_, {12, 376, 132, 404}, kAnchorBottomLeft);
    shredder_.Create(Handle(), {});
    shredder_.SetId(kShredderId);
    shredder_.onToggle = [this] { Act([this] { model_.ToggleShredFiles(); }); };
    layout_.Add(shredder_, {250, 378, 398, 402}, kAnchorBottomRight);
    delete_.Create(Handle(), {});
    delete_.SetId(kDeleteId);
    delete_.onClick = [this] { Delete(); };
    layout_.Add(delete_, {406, 376, 488, 404}, kAnchorBottomRight);
    cancel_.Create(Handle(), {});
    cancel_.SetId(IDCANCEL);
    cancel_.onClick = [this] { Cancel(); };
    layout_.Add(cancel_, {494, 376, 570, 404}, kAnchorBottomRight);

    texts_.Bind(L"lblFindings", findings_);
    texts_.Bind(L"lblShredding", shredding_);
    texts_.Bind(L"CheckBox_FileShredder", shredder_);
    texts_.Bind(L"RdImageButton_Delete", delete_);
    texts_.Bind(L"RdImageButton_Cancel", cancel_);
    texts_.onApplied = [this] {
      ::SetWindowTextW(Handle(), texts_.Caption(L"lblTitle").c_str());
      treeView_.SetAccessibleName(texts_.Caption(L"lblFindings"));
    };
    texts_.Apply();

    images_ = MakeTreeImageList(tree_.Images(), Dpi());
    treeView_.SetDpi(Dpi());
    treeView_.SetImages(images_);
    model_.Shown();
    treeView_.Rebuild();
    Sync();
    treeView_.Focus();
  }

  void OnSize(int width, int height) override { layout_.Apply(width, height, Dpi()); }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT frame = {0, 0, Scale(kWidth), Scale(kHeight)};
        ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
        limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return 0;
      }
      case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == treeView_.Handle()) {
          ShowMenu(lParam);
          return 0;
        }
        break;
      default:
        break;
    }
    return Window::OnMessage(message, wParam, lParam);
  }

  // Close, the title bar's or Esc: Cancel. A running deletion only stops;
  // the window closes when it has.
  bool OnCloseRequest() override {
    if (closing_) return true;
    pump_.RequestStop();
    return model_.Cancel();
  }

  void OnDestroy() override {
    model_.Closed();
    if (images_ != nullptr) ::ImageList_Destroy(images_);
    images_ = nullptr;
  }

 private:
  // One model call, then the view shows its new state.
  void Act(const std::function<void()>& call) {
    call();
    treeView_.RefreshStates();
    Sync();
  }

  void MouseDown(TreeNodeId id, bool onStateIcon) {
    TLeftoverNode* node = source_.Node(id);
    if (node != nullptr) Act([&] { model_.MouseDown(*node, onStateIcon); });
  }

  void Delete() {
    {
      BusyScope busy(Handle(), cancel_.Handle());
      pump_.Reset();
      model_.Delete(pump_);
    }
    treeView_.Rebuild();  // the second pass freed nodes
    Sync();
    if (model_.CloseRequested()) CloseNow();
  }

  void Cancel() {
    pump_.RequestStop();
    if (model_.Cancel()) CloseNow();
  }

  void CloseNow() {
    closing_ = true;
    Close();
  }

  void Sync() {
    const bool deleting = model_.ProgressShown();
    selectAll_.SetText(model_.SelectAllLabel());
    selectAll_.SetVisible(!deleting);
    shredder_.SetChecked(model_.ShredFiles());
    shredder_.SetVisible(!deleting);
    shredding_.SetVisible(model_.ShredderPanelShown());
    progress_.SetVisible(deleting);
    progress_.SetPosition(model_.Progress());
    itemLine_.SetVisible(deleting);
    itemLine_.SetText(model_.ItemLine());
    if (!BusyScope::IsBusy(Handle())) delete_.SetEnabled(model_.DeleteEnabled());
  }

  // The menu of a finding: its file's place in Explorer, or its key in the
  // registry editor.
  void ShowMenu(LPARAM at) {
    const std::optional<TreeNodeId> selected = treeView_.SelectedNode();
    const TLeftoverNode* node = selected ? source_.Node(*selected) : nullptr;
    const bool finding = node != nullptr && node->Data.NodeType == ntFinding;
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING | (finding && node->Data.ItemKind == ikFile ? 0 : MF_GRAYED), kOpenLocationCommand,
                  texts_.Caption(L"Menu_ListView_Path").c_str());
    ::AppendMenuW(menu, MF_STRING | (finding && node->Data.ItemKind == ikRegistry ? 0 : MF_GRAYED),
                  kOpenRegistryCommand, texts_.Caption(L"Menu_ListView_Regedit").c_str());
    POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {  // the menu key: at the selected item
      RECT bounds = {};
      ::GetWindowRect(treeView_.Handle(), &bounds);
      point = {bounds.left + Scale(24), bounds.top + Scale(24)};
    }
    const UINT chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, Handle(), nullptr);
    ::DestroyMenu(menu);
    // The node may be gone by now only if a Delete ran meanwhile, which the menu's loop cannot start.
    if (!finding || chosen == 0) return;
    const TMyTreeData& data = node->Data;
    if (chosen == kOpenLocationCommand) {
      IShellApi& shell = CurrentPlatform().Shell();
      if (data.FileKind == sfkFolder) {
        shell.ShellExecute(L"open", data.FilePath, L"", L"", SW_SHOWNORMAL);
      } else {
        shell.ShellExecute(L"open", L"explorer.exe", L"/e,/select," + data.FilePath, L"", SW_SHOWNORMAL);
      }
    } else if (chosen == kOpenRegistryCommand) {
      OpenInRegistryEditor(RootKeyName(data.RootKey) + data.KeyPath, data.ValueName, data.View64);
    }
  }

  TLeftoverTree& tree_;
  LeftoverTreeSource source_;
  MessagePrompts prompts_;
  TPowerScanModel model_;
  ViewPump pump_{[this] { Sync(); }};
  FormTexts texts_{PowerScanForm()};
  Layout layout_{kWidth, kHeight};
  HIMAGELIST images_ = nullptr;
  bool closing_ = false;

  Label warning_, findings_, shredding_, itemLine_;
  TreeView treeView_;
  ProgressBar progress_;
  Button selectAll_, delete_, cancel_;
  CheckBox shredder_;
};

}  // namespace

void ShowPowerScanWindow(HWND owner, TLeftoverTree& tree, bool warning, const TEventReporter& reportEvent) {
  // Resizable and maximisable, unlike the other windows of the flow.
  WindowArgs args = DialogArgs(L"TfrmPowerScan", owner, kWidth, kHeight);
  args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RunModalWindow(new PowerScanWindow(tree, warning, reportEvent), args);
}

}  // namespace orvix::ui
