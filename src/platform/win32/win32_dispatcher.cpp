#include "platform/win32/win32_dispatcher.h"

#include <deque>
#include <mutex>

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

  ~Win32Dispatcher() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
  }

  void Post(std::function<void()> work) override {
    bool wake = false;
    {
      std::lock_guard lock(mutex_);
      wake = queue_.empty();
      queue_.push_back(std::move(work));
    }
    // One message wakes the window for everything queued until it runs.
    if (wake && window_ != nullptr) ::PostMessageW(window_, kRunPendingMessage, 0, 0);
  }

  std::size_t RunPending() override {
    std::deque<std::function<void()>> due;
    {
      std::lock_guard lock(mutex_);
      due.swap(queue_);
    }
    std::size_t ran = 0;
    for (; !due.empty(); due.pop_front(), ++ran) due.front()();
    return ran;
  }

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
  std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace

std::unique_ptr<IDispatcher> MakeDispatcher() { return std::make_unique<Win32Dispatcher>(); }

}  // namespace orvix::win32
