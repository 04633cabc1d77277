// The uninstall window (TfrmUninstalling) over TUninstallingModel: the
// question and the restore-point check, the uninstaller waited for with the
// busy indicator, the result, and the Powerful Scan that opens the review.
// The model's one-shot timer is a Win32 timer; its steps pump messages, so
// Cancel stays clickable while the inputs that would start a step again
// are disabled (and refused by the model).
#include "language/forms/forms.h"
#include "online/statistics.h"
#include "uninstall/uninstalling_model.h"
// After the project headers: ui/win.h brings <windows.h> and its macros.
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/modal_dialog.h"
#include "ui/message_prompts.h"
#include "ui/power_scan_window.h"
#include "ui/uninstall_flow.h"
#include "ui/view_pump.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

// Control ids, also what the GUI tests click.
enum : int { kUninstallId = 3101, kPowerfulScanId = 3102, kRestoreCheckId = 3103 };
constexpr UINT_PTR kUninstallTimer = 1;
constexpr UINT kUninstallTimerMs = 100;
constexpr int kWidth = 460;
constexpr int kHeight = 250;

class UninstallingWindow : public Window {
 public:
  // `refreshWanted` is the caller's: the loop deletes the window once it closed.
  UninstallingWindow(TSoftwareInfo& inventory, const std::vector<const TSoftInfo*>& entries, bool batch,
                     bool& refreshWanted)
      : refreshWanted_(refreshWanted), model_(inventory, pump_, Events()) {
    model_.SetEntries(entries, batch);
  }

 protected:
  void OnCreate() override {
    title_.Create(Handle(), {L"", true});
    layout_.Add(title_, {20, 16, kWidth - 20, 60}, kAnchorTopSides, FontStyle::Large);
    detail_.Create(Handle(), {L"", true});
    layout_.Add(detail_, {20, 64, kWidth - 20, 110}, kAnchorTopSides);
    busy_.Create(Handle(), {100, true});
    layout_.Add(busy_, {20, 118, kWidth - 20, 132}, kAnchorTopSides);
    restoreCheck_.Create(Handle(), {});
    restoreCheck_.SetId(kRestoreCheckId);
    restoreCheck_.onToggle = [this] { Act([this] { model_.ToggleCreateRestore(); }); };
    layout_.Add(restoreCheck_, {20, 140, kWidth - 20, 164}, kAnchorTopSides);
    scanTip_.Create(Handle(), {L"", true});
    layout_.Add(scanTip_, {20, 140, kWidth - 20, 184}, kAnchorTopSides);

    uninstall_.Create(Handle(), {L"", true});
    uninstall_.SetId(kUninstallId);
    uninstall_.onClick = [this] { Act([this] { model_.UninstallClick(); }); };
    layout_.Add(uninstall_, {kWidth - 236, 206, kWidth - 106, 234}, kAnchorBottomRight);
    powerfulScan_.Create(Handle(), {L"", true});
    powerfulScan_.SetId(kPowerfulScanId);
    powerfulScan_.onClick = [this] { Step([this] { model_.PowerfulScanClick(); }); };
    layout_.Add(powerfulScan_, {kWidth - 236, 206, kWidth - 106, 234}, kAnchorBottomRight);
    cancel_.Create(Handle(), {});
    cancel_.SetId(IDCANCEL);
    cancel_.onClick = [this] { Cancel(); };
    layout_.Add(cancel_, {kWidth - 100, 206, kWidth - 20, 234}, kAnchorBottomRight);

    texts_.Bind(L"lbl_CreateRestore_Check", restoreCheck_);
    texts_.Bind(L"RdImageButton_Uninstall", uninstall_);
    texts_.Bind(L"RdImageButton_PowerFulScan", powerfulScan_);
    texts_.Bind(L"RdImageButton_Cancel", cancel_);
    texts_.onApplied = [this] {
      scanTip_.SetText(texts_.Caption(L"lblPowerfulScan") + L" " + texts_.Caption(L"lblPowerfulScanTip"));
    };
    texts_.Apply();
    model_.Show();
    Sync();
  }

  void OnSize(int width, int height) override { layout_.Apply(width, height, Dpi()); }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TIMER && wParam == kUninstallTimer) {
      // Timer_Uninstall runs once: stopped before its step.
      ::KillTimer(Handle(), kUninstallTimer);
      timerSet_ = false;
      Step([this] { model_.UninstallTimer(); });
      return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
  }

  // The title bar's Close and Esc are Cancel: the window goes once the
  // model closed it (at once where no step runs, else when the step ends).
  bool OnCloseRequest() override {
    if (model_.Closed()) return true;
    Cancel();
    return model_.Closed() && !model_.StepRunning();
  }

  void OnDestroy() override { ::KillTimer(Handle(), kUninstallTimer); }

 private:
  TUninstallingEvents Events() {
    TUninstallingEvents events;
    // Asked for in the middle of a step, done once the window has closed:
    // a refresh re-reads the inventory whose entries the model holds.
    events.refreshSoftwareList = [this] { refreshWanted_ = true; };
    events.close = [this] { Close(); };
    events.showReview = [this](TLeftoverTree& tree, bool warning) {
      ::ShowWindow(Handle(), SW_HIDE);
      ShowPowerScanWindow(::GetWindow(Handle(), GW_OWNER), tree, warning, ReportUsageEvent);
    };
    events.showMessage = [this](const std::wstring& text) {
      ::ShowWindow(Handle(), SW_HIDE);
      ShowMessage(::GetWindow(Handle(), GW_OWNER), text, MB_OK | MB_ICONINFORMATION);
    };
    events.reportEvent = ReportUsageEvent;
    return events;
  }

  static void ReportUsageEvent(const std::wstring& event) { ProcessStatistics().Report(event, 0); }

  void Act(const std::function<void()>& call) {
    call();
    Sync();
  }

  // A long step: every input but Cancel is disabled while it pumps.
  void Step(const std::function<void()>& call) {
    {
      BusyScope busy(Handle(), cancel_.Handle());
      call();
    }
    Sync();
  }

  void Cancel() { Act([this] { model_.CancelClick(); }); }

  void Sync() {
    ::SetWindowTextW(Handle(), model_.Caption().c_str());
    title_.SetText(model_.Title());
    const int state = model_.State();
    const bool finished = state == usFinished || state == usFilesDeleted;
    detail_.SetText(finished ? model_.ResultLine() : model_.Detail());
    busy_.SetVisible(model_.BusyIndicatorShown() || model_.StepRunning());
    busy_.SetMarquee(model_.BusyIndicatorShown() || model_.StepRunning());
    restoreCheck_.SetVisible(state == usConfirm);
    restoreCheck_.SetChecked(model_.CreateRestoreChecked());
    scanTip_.SetVisible(finished);
    uninstall_.SetVisible(!finished && state != usScanning);
    powerfulScan_.SetVisible(finished || state == usScanning);
    if (!BusyScope::IsBusy(Handle())) {
      uninstall_.SetEnabled(model_.UninstallEnabled());
      powerfulScan_.SetEnabled(model_.PowerfulScanEnabled());
    }
    if (finished && model_.PowerfulScanEnabled() && ::GetFocus() != cancel_.Handle()) powerfulScan_.Focus();
    if (model_.UninstallTimerRunning() && !timerSet_) {
      timerSet_ = ::SetTimer(Handle(), kUninstallTimer, kUninstallTimerMs, nullptr) != 0;
    }
  }

  bool& refreshWanted_;
  ViewPump pump_{[this] { Sync(); }};
  TUninstallingModel model_;
  FormTexts texts_{UninstallingForm()};
  Layout layout_{kWidth, kHeight};
  bool timerSet_ = false;

  Label title_, detail_, scanTip_;
  ProgressBar busy_;
  CheckBox restoreCheck_;
  Button uninstall_, powerfulScan_, cancel_;
};

}  // namespace

bool RunUninstallFlow(HWND owner, TSoftwareInfo& inventory, const std::vector<const TSoftInfo*>& entries,
                      bool batch) {
  bool refresh = false;
  RunModalWindow(new UninstallingWindow(inventory, entries, batch, refresh),
                 DialogArgs(L"TfrmUninstalling", owner, kWidth, kHeight));
  return refresh;
}

}  // namespace orvix::ui
