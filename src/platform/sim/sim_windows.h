// The simulated window manager: named mutexes other processes hold, the
// top-level windows of other processes, a record of what was posted or sent
// to them, and the monitors with their work areas.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/window_api.h"

namespace orvix::sim {

// One message that reached a window: posted, or WM_COPYDATA sent with its bytes.
struct SimWindowMessage {
  WindowHandle window = 0;
  DWORD message = 0;
  std::uintptr_t wParam = 0;  // dwData for WM_COPYDATA
  std::intptr_t lParam = 0;
  std::vector<std::uint8_t> bytes;  // the copied data, exactly cbData bytes
};

struct SimMonitor {
  TRect bounds;
  TRect workArea;
};

class SimWindows : public IWindowApi {
 public:
  // One 1920 x 1080 monitor whose task bar takes the bottom 40 pixels.
  SimWindows();

  bool CreateNamedMutex(const std::wstring& name, bool* existed) override;
  WindowHandle FindTopWindow(const std::wstring& className, const std::wstring& title) override;
  bool PostToWindow(WindowHandle window, DWORD message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool SendCopyData(WindowHandle window, std::uintptr_t dwData, const std::vector<std::uint8_t>& bytes) override;
  TRect WorkAreaNearest(const TRect& rect) override;

  // Set-up and inspection for tests.
  // A mutex another process holds (names compare exactly, as the system's do).
  void AddMutex(const std::wstring& name);
  bool HasMutex(const std::wstring& name) const;
  // Another process's top-level window; answers its handle.
  WindowHandle AddWindow(const std::wstring& className, const std::wstring& title);
  // Replaces the monitors; the first is the primary one.
  void SetMonitors(std::vector<SimMonitor> monitors);
  std::vector<SimWindowMessage> Messages() const;

 private:
  mutable std::mutex mutex_;
  struct Window {
    WindowHandle handle;
    std::wstring className;
    std::wstring title;
  };
  std::set<std::wstring> mutexes_;
  std::vector<Window> windows_;
  std::vector<SimMonitor> monitors_;
  std::vector<SimWindowMessage> messages_;
};

}  // namespace orvix::sim
