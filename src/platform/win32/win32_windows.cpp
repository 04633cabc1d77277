// The window manager's side of the platform: named mutexes, finding and
// messaging other processes' windows, and the monitors' work areas.
#include <memory>

#include "platform/win32/win32_platform.h"
#include "platform/window_api.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

// A first instance that stopped answering must not hang the second one,
// which only forwards its request and ends.
constexpr UINT kCopyDataTimeoutMs = 5000;

class Win32Windows : public IWindowApi {
 public:
  bool CreateNamedMutex(const std::wstring& name, bool* existed) override {
    // The handle is left open on purpose: the name is this process's until it ends.
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, name.c_str());
    const bool alreadyThere = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (existed != nullptr) *existed = alreadyThere;
    return mutex != nullptr;
  }

  WindowHandle FindTopWindow(const std::wstring& className, const std::wstring& title) override {
    return reinterpret_cast<WindowHandle>(::FindWindowW(className.c_str(), title.c_str()));
  }

  bool PostToWindow(WindowHandle window, orvix::DWORD message, std::uintptr_t wParam, std::intptr_t lParam) override {
    return ::PostMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam) != FALSE;
  }

  bool SendCopyData(WindowHandle window, std::uintptr_t dwData, const std::vector<std::uint8_t>& bytes) override {
    COPYDATASTRUCT data{};
    data.dwData = dwData;
    data.cbData = static_cast<::DWORD>(bytes.size());
    data.lpData = const_cast<std::uint8_t*>(bytes.data());
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(reinterpret_cast<HWND>(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG | SMTO_BLOCK, kCopyDataTimeoutMs, &result) != 0;
  }

  TRect WorkAreaNearest(const TRect& rect) override {
    const RECT native{rect.left, rect.top, rect.right, rect.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(::MonitorFromRect(&native, MONITOR_DEFAULTTONEAREST), &info)) {
      RECT work{};
      ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      return {work.left, work.top, work.right, work.bottom};
    }
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  }
};

}  // namespace

std::unique_ptr<IWindowApi> MakeWindows() { return std::make_unique<Win32Windows>(); }

}  // namespace orvix::win32
