#include <mutex>

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
    // Every conversion reads the time zone from the registry; a list converts
    // thousands of times within a few minutes. Daylight saving starts and
    // ends on a quarter hour, so one quarter hour keeps one offset.
    const FILETIME64 quarter = utc / kQuarterHour;
    {
      std::lock_guard lock(mutex_);
      if (cached_ && quarter == cachedQuarter_) return utc + cachedOffset_;
    }
    const ::FILETIME from = Split(utc);
    ::FILETIME local{};
    if (!::FileTimeToLocalFileTime(&from, &local)) return utc;
    const FILETIME64 result = Join(local);
    std::lock_guard lock(mutex_);
    cached_ = true;
    cachedQuarter_ = quarter;
    cachedOffset_ = result - utc;  // wraps for zones west of UTC; added back it wraps again
    return result;
  }

  orvix::DWORD TickCount() override { return ::GetTickCount(); }
  void Sleep(orvix::DWORD milliseconds) override { ::Sleep(milliseconds); }

 private:
  static constexpr FILETIME64 kQuarterHour = 15ULL * 60 * 10'000'000;  // in 100 ns

  std::mutex mutex_;  // the analysis thread converts dates too
  bool cached_ = false;
  FILETIME64 cachedQuarter_ = 0;
  FILETIME64 cachedOffset_ = 0;
};

}  // namespace

std::unique_ptr<IClockApi> MakeClock() { return std::make_unique<Win32Clock>(); }

}  // namespace orvix::win32
