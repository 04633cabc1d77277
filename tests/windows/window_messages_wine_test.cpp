// The window manager's side of the platform against real windows: a second
// start's routing reaches a window of this thread by its class and title,
// the WM_COPYDATA bytes arrive exactly as sent, the mutex tells a second
// creation, and every rectangle has a work area.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "shell/start_routing.h"
#include "shell/window_messages.h"
#include "windows/message_pump.h"
#include "platform/win32/windows_api.h"

namespace {

struct Received {
  std::vector<UINT> messages;
  ULONG_PTR dwData = 0;
  std::vector<std::uint8_t> bytes;
};
Received* gReceived = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gReceived != nullptr && (message == orvix::kMsgBringToFront || message == orvix::kMsgShredFromExplorer)) {
    gReceived->messages.push_back(message);
    return 0;
  }
  if (gReceived != nullptr && message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    gReceived->messages.push_back(message);
    gReceived->dwData = data->dwData;
    const auto* bytes = static_cast<const std::uint8_t*>(data->lpData);
    gReceived->bytes.assign(bytes, bytes + data->cbData);
    return TRUE;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in for the running copy's main window, with its class and title.
class RunningCopyWindow {
 public:
  RunningCopyWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = orvix::kMainWindowClass;
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, orvix::kMainWindowClass, orvix::kMainWindowTitle, WS_OVERLAPPED, 0, 0, 100, 100,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    gReceived = &received;
  }
  ~RunningCopyWindow() {
    gReceived = nullptr;
    ::DestroyWindow(window_);
    ::UnregisterClassW(orvix::kMainWindowClass, ::GetModuleHandleW(nullptr));
  }
  HWND Handle() const { return window_; }
  Received received;

 private:
  HWND window_ = nullptr;
};

TEST(WindowMessagesWineTest, SecondStartHandsTheNameToTheRunningWindow) {
  RunningCopyWindow running;
  ASSERT_NE(running.Handle(), nullptr);
  orvix::IWindowApi& windows = orvix::CurrentPlatform().Windows();
  EXPECT_EQ(windows.FindTopWindow(orvix::kMainWindowClass, orvix::kMainWindowTitle),
            reinterpret_cast<orvix::WindowHandle>(running.Handle()));

  // The first start owns the name; this one finds it taken.
  bool existed = true;
  ASSERT_TRUE(windows.CreateNamedMutex(orvix::kInstanceMutexName, &existed));
  EXPECT_FALSE(existed);
  const auto exitCode =
      orvix::RouteStart(orvix::ParseStartArguments({L"control_statistics", L" Caf\u00e9 \u4e2d "}));
  EXPECT_EQ(exitCode, 0);
  orvix::test::PumpUntil([&] { return running.received.messages.size() >= 2; }, 5000);

  ASSERT_EQ(running.received.messages.size(), 2u);
  EXPECT_EQ(running.received.messages[1], orvix::kMsgBringToFront) << "posted, so it arrives after the sent one";
  EXPECT_EQ(running.received.messages[0], static_cast<UINT>(WM_COPYDATA));
  EXPECT_EQ(running.received.dwData, orvix::kCopyDataForcedName);
  EXPECT_EQ(running.received.bytes, orvix::CopyDataPayload(L"Caf\u00e9 \u4e2d")) << "the text and its terminator only";
  EXPECT_EQ(orvix::DecodeCopyData(running.received.bytes.data(), running.received.bytes.size()),
            L"Caf\u00e9 \u4e2d");
}

TEST(WindowMessagesWineTest, EveryRectangleHasAWorkArea) {
  orvix::IWindowApi& windows = orvix::CurrentPlatform().Windows();
  const orvix::TRect primary = windows.WorkAreaNearest(orvix::RectOf(0, 0, 1, 1));
  EXPECT_GT(primary.Width(), 0);
  EXPECT_GT(primary.Height(), 0);
  // Far away from every monitor: the nearest one answers.
  const orvix::TRect distant = windows.WorkAreaNearest(orvix::RectOf(-100000, 50000, 870, 570));
  EXPECT_GT(distant.Width(), 0);
  EXPECT_GT(distant.Height(), 0);
}

}  // namespace
