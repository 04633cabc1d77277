// Window: one top-level window (or frame) and its HWND. One static window
// procedure finds the object (stored at WM_NCCREATE), counts the handlers
// running on it, calls the virtual OnMessage and catches every exception,
// there and nowhere else. WM_COMMAND, WM_NOTIFY and owner-draw messages go
// back to the control that sent them (ui/control.h), so views need no
// switch over control ids.
//
// Windows are created with new and never deleted by their users: Close()
// posts, the window is destroyed when that message arrives, and the object
// is deleted by the message loop once no handler of it is running, so a
// model callback may close the window that called the model.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ui/win.h"

namespace orvix::ui {

class Control;

struct WindowArgs {
  std::wstring className;  // registered on first use with the shared procedure
  std::wstring title;
  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  // Client size in 96-DPI pixels, scaled for the owner's (or the screen's)
  // DPI; the window is centred on its owner, or on the screen's work area.
  int width = 600;
  int height = 400;
  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  HICON icon = nullptr;  // the program's icon when null
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Creates the HWND (hidden) and calls OnCreate. False when it failed.
  bool Create(const WindowArgs& args);
  HWND Handle() const { return hwnd_; }
  UINT Dpi() const { return dpi_; }
  int Scale(int pixels96) const;

  void Show(int how = SW_SHOW);
  // Asks the window to close: posted, so it happens after every running
  // handler returned; OnCloseRequest may still refuse it.
  void Close();
  // Shows the window modally over its owner (disabled meanwhile) and runs
  // the messages until it is destroyed; answers ModalResult() as it was
  // then. The object is gone when this returns.
  static int RunModal(Window* window);
  void SetModalResult(int result) { modalResult_ = result; }
  int ModalResult() const { return modalResult_; }

  // Centres on `over` (or the work area when null), halves rounded toward zero.
  void CenterOn(HWND over);
  // Called for key messages sent to this window or its controls before they
  // are dispatched: true when the window handled the key.
  virtual bool PreTranslate(MSG& message);

  // Reports an exception that escaped a handler: a message box with its
  // text, or the reporter set here (tests record instead of asking).
  static void ReportFailure(HWND owner, const std::wstring& what);
  using FailureReporter = std::function<void(HWND owner, const std::wstring& what)>;
  static void SetFailureReporter(FailureReporter reporter);

  // A window that another object holds as a member (a frame, the floating
  // button) is not deleted by the loop when its HWND goes; its holder frees it.
  void KeepAfterDestroy() { deleteWhenDestroyed_ = false; }

 protected:
  // After the HWND exists and before it is shown: create the controls.
  virtual void OnCreate() {}
  // The client area changed size (pixels).
  virtual void OnSize(int /*width*/, int /*height*/) {}
  // The DPI changed: fonts and sizes are renewed (the window was resized).
  virtual void OnDpiChanged() {}
  // WM_CLOSE: true lets the window be destroyed.
  virtual bool OnCloseRequest() { return true; }
  // Just before the HWND goes.
  virtual void OnDestroy() {}
  // Every other message; the default passes it on.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class MessageLoop;
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  UINT dpi_ = 96;
  int handlersRunning_ = 0;
  bool deleteWhenDestroyed_ = true;
  int modalResult_ = 0;
  // What RunModal waits for: set when the HWND goes, kept by RunModal
  // beyond the object's life.
  struct ModalState {
    bool destroyed = false;
    int result = 0;
  };
  std::shared_ptr<ModalState> modal_;
};

// The message loop of the program and of every pumped wait: it dispatches
// (with dialog keyboard handling: Tab, Enter, Esc) and deletes the windows
// destroyed meanwhile whose handlers have all returned.
class MessageLoop {
 public:
  // Runs until WM_QUIT; answers its exit code.
  static int Run();
  // Dispatches what is waiting without blocking; false once WM_QUIT was seen
  // (it is posted again for the outer loop).
  static bool RunPending();
  // Dispatches one message (waiting for it); false on WM_QUIT.
  static bool RunOne();

 private:
  static void Dispatch(MSG& message);
  static void DeleteDestroyed();
};

}  // namespace orvix::ui
