#include "ui/control.h"

#include <initguid.h>
#include <oleacc.h>

#include "ui/dpi.h"

namespace orvix::ui {
namespace {

constexpr wchar_t kControlProperty[] = L"OrvixControl";

// CLSID_AccPropServices and IID_IAccPropServices, spelled out: not every
// import library carries them.
const CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
// PROPID_ACC_NAME.
const GUID kAccName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

Control::~Control() {
  if (hwnd_ != nullptr) {
    ::RemovePropW(hwnd_, kControlProperty);
    ::DestroyWindow(hwnd_);
  }
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd != nullptr ? static_cast<Control*>(::GetPropW(hwnd, kControlProperty)) : nullptr;
}

bool Control::CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                            DWORD exStyle) {
  hwnd_ = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                            nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) return false;
  ::SetPropW(hwnd_, kControlProperty, this);
  SetFont(UiFont(WindowDpi(parent)));
  return true;
}

void Control::SetId(int id) { ::SetWindowLongPtrW(hwnd_, GWLP_ID, id); }

void Control::SetText(const std::wstring& text) {
  if (Text() != text) ::SetWindowTextW(hwnd_, text.c_str());
}

std::wstring Control::Text() const {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Control::SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
bool Control::Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
void Control::SetVisible(bool visible) { ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Control::Visible() const { return (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::Focus() { ::SetFocus(hwnd_); }
void Control::SetFont(HFONT font) { ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void Control::SetAccessibleName(const std::wstring& name) {
  // Dynamic annotation: the accessibility layer answers the name for the
  // control's client object. Where the service is missing (older Wine) the
  // control keeps what its text or its label says.
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(&services))) ||
      services == nullptr) {
    return;
  }
  services->SetHwndPropStr(hwnd_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kAccName, name.c_str());
  services->Release();
}

void Control::SetBounds(const RECT& bounds) {
  ::SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Button::Create(HWND parent, const ButtonArgs& args) {
  return CreateControl(parent, WC_BUTTONW, args.text,
                       WS_TABSTOP | (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
}

void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

bool CheckBox::Create(HWND parent, const CheckBoxArgs& args) {
  if (!CreateControl(parent, WC_BUTTONW, args.text, WS_TABSTOP | BS_CHECKBOX)) return false;
  SetChecked(args.checked);
  return true;
}

void CheckBox::SetChecked(bool checked) {
  ::SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const { return ::SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && onToggle) onToggle();
}

HBRUSH CheckBox::OnColor(HDC dc) {
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return ::GetSysColorBrush(COLOR_WINDOW);
}

bool Label::Create(HWND parent, const LabelArgs& args) {
  // SS_ENDELLIPSIS keeps one line; the type field takes one of the others.
  DWORD style = SS_NOPREFIX | (args.centred ? SS_CENTER : SS_LEFT);
  if (!args.wrap && args.ellipsis) style |= SS_ENDELLIPSIS;
  if (!args.wrap && !args.ellipsis && !args.centred) style |= SS_LEFTNOWORDWRAP;
  if (args.notify) style |= SS_NOTIFY;
  return CreateControl(parent, WC_STATICW, args.text, style);
}

void Label::SetColor(int systemColor) {
  color_ = systemColor;
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void Label::OnCommand(WORD code) {
  if (code == STN_CLICKED && onClick) onClick();
}

HBRUSH Label::OnColor(HDC dc) {
  if (color_ >= 0) ::SetTextColor(dc, ::GetSysColor(color_));
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return ::GetSysColorBrush(COLOR_WINDOW);
}

bool Edit::Create(HWND parent, const EditArgs& args) {
  DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
  if (args.readOnly) style |= ES_READONLY;
  if (args.multiLine) style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | (args.readOnly ? ES_READONLY : 0);
  if (!CreateControl(parent, WC_EDITW, args.text, style, WS_EX_CLIENTEDGE)) return false;
  if (!args.cue.empty()) SetCue(args.cue);
  return true;
}

void Edit::SetCue(const std::wstring& cue) {
  ::SendMessageW(hwnd_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
}

void Edit::SetTextQuietly(const std::wstring& text) {
  quiet_ = true;
  SetText(text);
  quiet_ = false;
}

void Edit::OnCommand(WORD code) {
  if (code == EN_CHANGE && !quiet_ && onChanged) onChanged();
}

bool ProgressBar::Create(HWND parent, const ProgressBarArgs& args) {
  if (!CreateControl(parent, PROGRESS_CLASSW, L"", args.marquee ? PBS_MARQUEE : 0)) return false;
  SetRange(args.maximum);
  if (args.marquee) SetMarquee(true);
  return true;
}

void ProgressBar::SetRange(int maximum) { ::SendMessageW(hwnd_, PBM_SETRANGE32, 0, maximum); }
void ProgressBar::SetPosition(int position) { ::SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void ProgressBar::SetMarquee(bool running) {
  LONG style = ::GetWindowLongW(hwnd_, GWL_STYLE);
  style = running ? (style | PBS_MARQUEE) : (style & ~PBS_MARQUEE);
  ::SetWindowLongW(hwnd_, GWL_STYLE, style);
  ::SendMessageW(hwnd_, PBM_SETMARQUEE, running ? TRUE : FALSE, 30);
}

}  // namespace orvix::ui
