// Running this thread's message loop in the Windows tests, for work that a
// window of this thread receives (the Win32 dispatcher's, for one).
#pragma once

#include <functional>

#include "platform/win32/windows_api.h"

namespace orvix::test {

// Dispatches this thread's messages until `done` holds or the time is up;
// answers done().
inline bool PumpUntil(const std::function<bool()>& done, ULONGLONG milliseconds = 10000) {
  const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
  while (!done() && ::GetTickCount64() < deadline) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  return done();
}

}  // namespace orvix::test
