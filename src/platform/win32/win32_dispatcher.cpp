#include "platform/win32/win32_dispatcher.h"

#include <mutex>

#include "platform/dispatcher_wake_queue.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

constexpr UINT kRunPendingMessage = WM_APP + 0x41;
constexpr wchar_t kWindowClass[] = L"OrvixDispatcherWindow";

class Win32Dispatcher : public IDispatcher {
 public:
  Win32Dispatcher() : owner_(::GetCurrentThreadId()) {
    RegisterWindowClass();
    window_ = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), this);
  }

  // Work still queued is dropped with the queue.
  ~Win32Dispatcher() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }

  void Post(std::function<void()> work) override { queue_.Post(std::move(work)); }
  std::size_t RunPending() override { return queue_.RunPending(); }

  bool OnDispatcherThread() const override { return ::GetCurrentThreadId() == owner_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kRunPendingMessage) {
      if (auto* self = reinterpret_cast<Win32Dispatcher*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) {
        // No exception may cross the window procedure into the system.
        try {
          self->RunPending();
        } catch (...) {
        }
      }
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  static void RegisterWindowClass() {
    static std::once_flag once;
    std::call_once(once, [] {
      WNDCLASSW windowClass = {};
      windowClass.lpfnWndProc = WindowProc;
      windowClass.hInstance = ::GetModuleHandleW(nullptr);
      windowClass.lpszClassName = kWindowClass;
      ::RegisterClassW(&windowClass);
    });
  }

  const ::DWORD owner_;
  HWND window_ = nullptr;
  // A failed post (the thread's message queue is full) is retried by the queue.
  TWakeQueue queue_{[this] { return window_ != nullptr && ::PostMessageW(window_, kRunPendingMessage, 0, 0); }};
};

}  // namespace

std::unique_ptr<IDispatcher> MakeDispatcher() { return std::make_unique<Win32Dispatcher>(); }

}  // namespace orvix::win32
