#include "ui/window.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <set>
#include <vector>

#include "ui/control.h"
#include "ui/dpi.h"

namespace orvix::ui {
namespace {

// Destroyed windows waiting until none of their handlers runs any more.
std::vector<Window*>& DestroyedWindows() {
  static std::vector<Window*> windows;
  return windows;
}

std::set<std::wstring>& RegisteredClasses() {
  static std::set<std::wstring> classes;
  return classes;
}

bool RegisterClassOnce(const WindowArgs& args, WNDPROC procedure) {
  if (RegisteredClasses().contains(args.className)) return true;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = args.background;
  windowClass.hIcon = args.icon != nullptr ? args.icon : ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = args.className.c_str();
  if (::RegisterClassExW(&windowClass) == 0) return false;
  RegisteredClasses().insert(args.className);
  return true;
}

RECT WorkAreaNear(HWND window) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  HMONITOR monitor = window != nullptr ? ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                       : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (::GetMonitorInfoW(monitor, &info)) return info.rcWork;
  RECT area = {};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

Window::~Window() {
  if (hwnd_ != nullptr) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

bool Window::Create(const WindowArgs& args) {
  if (!RegisterClassOnce(args, &Window::Procedure)) return false;
  owner_ = args.owner;
  dpi_ = WindowDpi(args.owner);
  RECT frame = {0, 0, ui::Scale(args.width, dpi_), ui::Scale(args.height, dpi_)};
  ::AdjustWindowRectEx(&frame, args.style, FALSE, args.exStyle);
  ::CreateWindowExW(args.exStyle, args.className.c_str(), args.title.c_str(), args.style, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, args.owner, nullptr,
                    ::GetModuleHandleW(nullptr), this);
  if (hwnd_ == nullptr) return false;
  // The window may have landed on a monitor of another DPI than its owner's.
  const UINT dpi = WindowDpi(hwnd_);
  if (dpi != dpi_) {
    frame = {0, 0, ui::Scale(args.width, dpi), ui::Scale(args.height, dpi)};
    ::AdjustWindowRectEx(&frame, args.style, FALSE, args.exStyle);
    dpi_ = dpi;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if ((args.style & WS_CHILD) == 0) CenterOn(args.owner);
  ++handlersRunning_;
  try {
    OnCreate();
    RECT client = {};
    ::GetClientRect(hwnd_, &client);
    OnSize(client.right, client.bottom);
  } catch (const std::exception& error) {
    ReportFailure(hwnd_, std::wstring(error.what(), error.what() + std::strlen(error.what())));
  } catch (...) {
    ReportFailure(hwnd_, L"unknown error");
  }
  --handlersRunning_;
  return true;
}

int Window::Scale(int pixels96) const { return ui::Scale(pixels96, dpi_); }

void Window::Show(int how) {
  if (hwnd_ != nullptr) ::ShowWindow(hwnd_, how);
}

void Window::Close() {
  if (hwnd_ != nullptr) ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

int Window::RunModal(Window* window) {
  HWND owner = window->owner_;
  const auto state = std::make_shared<ModalState>();
  window->modal_ = state;
  const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  window->Show();
  while (!state->destroyed && MessageLoop::RunOne()) {
  }
  if (ownerWasEnabled) {
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
  }
  return state->result;
}

void Window::CenterOn(HWND over) {
  RECT area = {};
  if (over != nullptr && ::IsWindowVisible(over) && !::IsIconic(over)) {
    ::GetWindowRect(over, &area);
  } else {
    area = WorkAreaNear(hwnd_);
  }
  RECT own = {};
  ::GetWindowRect(hwnd_, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  ::SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Window::PreTranslate(MSG& /*message*/) { return false; }

static Window::FailureReporter& Reporter() {
  static Window::FailureReporter reporter;
  return reporter;
}

void Window::SetFailureReporter(FailureReporter reporter) { Reporter() = std::move(reporter); }

void Window::ReportFailure(HWND owner, const std::wstring& what) {
  if (Reporter()) {
    Reporter()(owner, what);
    return;
  }
  ::MessageBoxW(owner, (L"The action could not be completed:\n" + what).c_str(), L"Orvix Uninstaller",
                MB_OK | MB_ICONERROR);
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);

  ++self->handlersRunning_;
  LRESULT result = 0;
  // The one place where exceptions stop: none may reach user32.
  try {
    result = self->Handle(message, wParam, lParam);
  } catch (const std::exception& error) {
    const char* text = error.what();
    ReportFailure(hwnd, std::wstring(text, text + std::strlen(text)));
  } catch (...) {
    ReportFailure(hwnd, L"unknown error");
  }
  --self->handlersRunning_;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    if (self->modal_ != nullptr) {
      self->modal_->destroyed = true;
      self->modal_->result = self->modalResult_;
    }
    if (self->deleteWhenDestroyed_) DestroyedWindows().push_back(self);
  }
  return result;
}

LRESULT Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) {
        if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
          control->OnCommand(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (Control* control = Control::FromHandle(header->hwndFrom)) {
        LRESULT answer = 0;
        if (control->OnNotify(*reinterpret_cast<NMHDR*>(lParam), answer)) return answer;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (Control* control = item->CtlType != ODT_MENU ? Control::FromHandle(item->hwndItem) : nullptr) {
        control->OnDrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      OnDpiChanged();
      RECT client = {};
      ::GetClientRect(hwnd_, &client);
      OnSize(client.right, client.bottom);
      return 0;
    }
    case WM_CLOSE:
      if (OnCloseRequest()) ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return OnMessage(message, wParam, lParam);
}

int MessageLoop::Run() {
  MSG message = {};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    Dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

bool MessageLoop::RunPending() {
  MSG message = {};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
  }
  DeleteDestroyed();
  return true;
}

bool MessageLoop::RunOne() {
  MSG message = {};
  if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
    ::PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  Dispatch(message);
  return true;
}

void MessageLoop::Dispatch(MSG& message) {
  // The top-level window of the message's target gets the keys first, then
  // the dialog manager moves the focus with Tab and presses buttons.
  HWND root = message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  auto* window = root != nullptr ? reinterpret_cast<Window*>(::GetWindowLongPtrW(root, GWLP_USERDATA)) : nullptr;
  // Only our own windows carry a Window pointer in their user data.
  if (window != nullptr &&
      ::GetWindowLongPtrW(root, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::Procedure)) {
    window = nullptr;
  }
  bool handled = false;
  if (window != nullptr && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    ++window->handlersRunning_;
    try {
      handled = window->PreTranslate(message);
    } catch (...) {
      handled = true;
    }
    --window->handlersRunning_;
  }
  if (!handled && window != nullptr && window->hwnd_ != nullptr) handled = ::IsDialogMessageW(root, &message);
  if (!handled) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  DeleteDestroyed();
}

void MessageLoop::DeleteDestroyed() {
  auto& destroyed = DestroyedWindows();
  std::vector<Window*> ready;
  std::erase_if(destroyed, [&](Window* window) {
    if (window->handlersRunning_ > 0) return false;
    ready.push_back(window);
    return true;
  });
  for (Window* window : ready) delete window;
}

}  // namespace orvix::ui
