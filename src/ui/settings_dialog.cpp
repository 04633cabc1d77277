// The settings dialog: check boxes and the language box show the model; OK
// stores the modes and, for another language, switches the interface.
#include <optional>

#include "language/forms/forms.h"
#include "language/language.h"
#include "language/language_display_name.h"
#include "platform/settings_dialog_model.h"
// After the project headers: ui/win.h brings <windows.h> and its macros.
#include "ui/settings_dialog.h"
#include "ui/combo_box.h"
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/modal_dialog.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

// Control ids, also what the GUI tests use.
enum : int { kAutoUninstallerId = 3001, kAutoPowerfulScanId = 3002, kLanguageId = 3003 };
constexpr int kWidth = 380;
constexpr int kHeight = 190;

// The language box's display names, as the language folder has them now.
std::vector<std::wstring> LanguageDisplayNames(TLanguage& language) {
  TComponentTexts box;
  TLanguageDisplayName(language, language.LanguageFolder()).FillLanguageBox(box);
  return box.items;
}

class SettingsDialog : public Window {
 public:
  SettingsDialog(TLanguage& language, std::function<bool(const std::wstring&)> switchLanguage)
      : language_(language), switchLanguage_(std::move(switchLanguage)) {}

 protected:
  void OnCreate() override {
    autoUninstaller_.Create(Handle(), {});
    autoUninstaller_.SetId(kAutoUninstallerId);
    autoUninstaller_.onToggle = [this] { Act([this] { model_->ToggleAutoUninstaller(); }); };
    layout_.Add(autoUninstaller_, {20, 16, kWidth - 20, 40}, kAnchorTopSides);
    autoPowerfulScan_.Create(Handle(), {});
    autoPowerfulScan_.SetId(kAutoPowerfulScanId);
    autoPowerfulScan_.onToggle = [this] { Act([this] { model_->ToggleAutoPowerfulScan(); }); };
    layout_.Add(autoPowerfulScan_, {20, 44, kWidth - 20, 68}, kAnchorTopSides);
    languageLabel_.Create(Handle(), {});
    layout_.Add(languageLabel_, {20, 86, kWidth - 20, 104}, kAnchorTopSides);
    languageBox_.Create(Handle());
    languageBox_.SetId(kLanguageId);
    languageBox_.onChanged = [this] { Act([this] { model_->SelectLanguage(languageBox_.Selected()); }); };
    layout_.Add(languageBox_, {20, 106, kWidth - 20, 300}, kAnchorTopSides);
    ok_.Create(Handle(), {L"", true});
    ok_.SetId(IDOK);
    ok_.onClick = [this] { Ok(); };
    layout_.Add(ok_, {kWidth - 186, 148, kWidth - 106, 176}, kAnchorBottomRight);
    cancel_.Create(Handle(), {});
    cancel_.SetId(IDCANCEL);
    cancel_.onClick = [this] { Close(); };
    layout_.Add(cancel_, {kWidth - 100, 148, kWidth - 20, 176}, kAnchorBottomRight);

    texts_.Bind(L"lbl_AutoUninstaller", autoUninstaller_);
    texts_.Bind(L"lbl_AutoPowerfulScan", autoPowerfulScan_);
    texts_.Bind(L"lbl_CurrentLanguage", languageLabel_);
    texts_.Bind(L"RdImageButton_OK", ok_);
    texts_.Bind(L"RdImageButton_Cancel", cancel_);
    texts_.onApplied = [this] {
      ::SetWindowTextW(Handle(), texts_.Caption(L"lblTitle").c_str());
      languageBox_.SetAccessibleName(texts_.Caption(L"lbl_CurrentLanguage"));
    };
    texts_.Apply();

    model_.emplace(LanguageDisplayNames(language_), language_.CurrentDisplayName());
    languageBox_.SetItems(model_->Languages());
    Sync();
    autoUninstaller_.Focus();
  }

  void OnSize(int width, int height) override { layout_.Apply(width, height, Dpi()); }

 private:
  void Act(const std::function<void()>& call) {
    call();
    Sync();
  }

  void Sync() {
    autoUninstaller_.SetChecked(model_->AutoUninstaller());
    autoPowerfulScan_.SetChecked(model_->AutoPowerfulScan());
    if (languageBox_.Selected() != model_->SelectedLanguage()) languageBox_.SetSelected(model_->SelectedLanguage());
    ok_.SetEnabled(model_->OkEnabled());
  }

  void Ok() {
    const std::optional<std::wstring> switchTo = model_->Ok();
    // The dialog goes first: its texts need no switch, the open windows do.
    Close();
    if (switchTo && switchLanguage_) switchLanguage_(*switchTo);
  }

  TLanguage& language_;
  std::function<bool(const std::wstring&)> switchLanguage_;
  std::optional<SettingsDialogModel> model_;  // made once the language box's names are read
  FormTexts texts_{SettingsForm()};
  Layout layout_{kWidth, kHeight};
  CheckBox autoUninstaller_, autoPowerfulScan_;
  Label languageLabel_;
  ComboBox languageBox_;
  Button ok_, cancel_;
};

}  // namespace

void ShowSettingsDialog(HWND owner, TLanguage& language,
                        const std::function<bool(const std::wstring& displayName)>& switchLanguage) {
  RunModalWindow(new SettingsDialog(language, switchLanguage), DialogArgs(L"TfrmSetting", owner, kWidth, kHeight));
}

}  // namespace orvix::ui
