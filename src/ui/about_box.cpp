// Project headers come before ui/win.h (through ui/about_box.h), which
// brings <windows.h> and its macros.
#include "language/forms/forms.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "ui/about_box.h"
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/modal_dialog.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 230;

class AboutBox : public Window {
 protected:
  void OnCreate() override {
    icon_ = ::CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, 0, 0, 0, 0,
                              Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(icon_, STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))), 0);
    layout_.Add(icon_, {20, 20, 68, 68});
    product_.Create(Handle(), {});
    layout_.Add(product_, {84, 20, kWidth - 20, 48}, kAnchorTopSides, FontStyle::Title);
    version_.Create(Handle(), {L"v" + FileVersionText(CurrentPlatform().Shell().GetModuleFileName())});
    layout_.Add(version_, {84, 50, kWidth - 20, 68}, kAnchorTopSides);
    description_.Create(Handle(), {L"", true});
    layout_.Add(description_, {20, 84, kWidth - 20, 122}, kAnchorTopSides);
    copyright_.Create(Handle(), {});
    layout_.Add(copyright_, {20, 130, kWidth - 20, 148}, kAnchorTopSides);
    credits_.Create(Handle(), {L"", true});
    layout_.Add(credits_, {20, 152, kWidth - 20, 186}, kAnchorTopSides);
    close_.Create(Handle(), {L"", true});
    // Enter and Esc both close it: the dialog keys send IDOK and IDCANCEL.
    close_.SetId(IDOK);
    close_.onClick = [this] { Close(); };
    layout_.Add(close_, {kWidth - 100, kHeight - 40, kWidth - 20, kHeight - 12}, kAnchorBottomRight);

    texts_.Bind(L"lblProduct", product_);
    texts_.Bind(L"lblDescription", description_);
    texts_.Bind(L"lblCopyright", copyright_);
    texts_.Bind(L"lblCredits", credits_);
    texts_.Bind(L"RdImageButton_Close", close_);
    texts_.onApplied = [this] { ::SetWindowTextW(Handle(), texts_.Caption(L"lblTitle").c_str()); };
    texts_.Apply();
    close_.Focus();
  }

  void OnSize(int width, int height) override { layout_.Apply(width, height, Dpi()); }

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
      Close();
      return 0;
    }
    return Window::OnMessage(message, wParam, lParam);
  }

 private:
  FormTexts texts_{AboutForm()};
  Layout layout_{kWidth, kHeight};
  HWND icon_ = nullptr;
  Label product_, version_, description_, copyright_, credits_;
  Button close_;
};

}  // namespace

void ShowAboutBox(HWND owner) { RunModalWindow(new AboutBox(), DialogArgs(L"TfrmAbout", owner, kWidth, kHeight)); }

}  // namespace orvix::ui
