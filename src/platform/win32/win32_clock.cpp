#include "platform/locale_api.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvix::win32 {
namespace {

::FILETIME Split(FILETIME64 time) {
  return {static_cast<::DWORD>(time & 0xFFFFFFFFu), static_cast<::DWORD>(time >> 32)};
}
FILETIME64 Join(const ::FILETIME& time) {
  return (static_cast<FILETIME64>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class Win32Clock : public IClockApi {
 public:
  FILETIME64 NowUtc() override {
    ::FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return Join(now);
  }

  FILETIME64 ToLocal(FILETIME64 utc) override {
    const ::FILETIME from = Split(utc);
    ::FILETIME local{};
    return ::FileTimeToLocalFileTime(&from, &local) ? Join(local) : utc;
  }

  orvix::DWORD TickCount() override { return ::GetTickCount(); }
  void Sleep(orvix::DWORD milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

std::unique_ptr<IClockApi> MakeClock() { return std::make_unique<Win32Clock>(); }

}  // namespace orvix::win32
