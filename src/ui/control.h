// Child controls over the standard common controls. Each wrapper owns its
// HWND, gets back the WM_COMMAND, WM_NOTIFY and owner-draw messages its
// parent receives for it (ui/window.h), and raises one std::function per
// event. Created with an args struct; sizes in 96-DPI pixels go through the
// parent window's Layout (ui/layout.h).
#pragma once

#include <functional>
#include <string>

#include "ui/win.h"

namespace orvix::ui {

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The wrapper of one of our controls, or nullptr.
  static Control* FromHandle(HWND hwnd);

  HWND Handle() const { return hwnd_; }
  // The control id (GetDlgCtrlID), for automation and dialog keys (IDOK, IDCANCEL).
  void SetId(int id);
  void SetText(const std::wstring& text);
  std::wstring Text() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetVisible(bool visible);
  bool Visible() const;
  void Focus();
  void SetFont(HFONT font);
  // The name a screen reader announces, where the control's text is not it
  // (edit boxes, lists, trees, picture buttons).
  void SetAccessibleName(const std::wstring& name);
  // Places the control, in the parent's client pixels.
  void SetBounds(const RECT& bounds);

  // Reflected from the parent: a WM_COMMAND notification code.
  virtual void OnCommand(WORD /*code*/) {}
  // A WM_NOTIFY; true when handled, with the answer in `result`.
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual void OnDrawItem(DRAWITEMSTRUCT& /*item*/) {}
  // WM_CTLCOLOR*: a brush for the background, or nullptr for the default.
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }

 protected:
  // Creates the control as a child of `parent` with the parent's font.
  bool CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                     DWORD exStyle = 0);

  HWND hwnd_ = nullptr;
};

struct ButtonArgs {
  std::wstring text;
  bool isDefault = false;  // answers Enter in its window
};
class Button : public Control {
 public:
  bool Create(HWND parent, const ButtonArgs& args);
  std::function<void()> onClick;
  void OnCommand(WORD code) override;
};

struct CheckBoxArgs {
  std::wstring text;
  bool checked = false;
};
// The box shows what SetChecked last set: a click only raises onToggle, and
// the view sets the model's state back (the model owns the check).
class CheckBox : public Control {
 public:
  bool Create(HWND parent, const CheckBoxArgs& args);
  void SetChecked(bool checked);
  bool Checked() const;
  std::function<void()> onToggle;
  void OnCommand(WORD code) override;
  HBRUSH OnColor(HDC dc) override;
};

struct LabelArgs {
  std::wstring text;
  bool wrap = false;     // several lines, broken at words
  bool centred = false;
  bool ellipsis = true;  // a text too long for one line ends in "..."
  bool notify = false;   // raises onClick (a link-like label)
};
class Label : public Control {
 public:
  bool Create(HWND parent, const LabelArgs& args);
  // A text colour (a system colour index), -1 for the window text colour.
  void SetColor(int systemColor);
  std::function<void()> onClick;
  void OnCommand(WORD code) override;
  HBRUSH OnColor(HDC dc) override;

 private:
  int color_ = -1;
};

struct EditArgs {
  std::wstring text;
  std::wstring cue;  // grey placeholder text while empty
  bool readOnly = false;
  bool multiLine = false;
};
class Edit : public Control {
 public:
  bool Create(HWND parent, const EditArgs& args);
  void SetCue(const std::wstring& cue);
  // Changes the text without raising onChanged.
  void SetTextQuietly(const std::wstring& text);
  std::function<void()> onChanged;
  void OnCommand(WORD code) override;

 private:
  bool quiet_ = false;
};

struct ProgressBarArgs {
  int maximum = 100;
  bool marquee = false;  // a running indicator without a position
};
class ProgressBar : public Control {
 public:
  bool Create(HWND parent, const ProgressBarArgs& args);
  void SetRange(int maximum);
  void SetPosition(int position);
  void SetMarquee(bool running);
};

}  // namespace orvix::ui
