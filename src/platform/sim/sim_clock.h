// The simulated clock: time passes only when a test or a wait moves it, and
// work scheduled for a moment (a simulated program's next step) runs when
// the clock reaches it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/locale_api.h"

namespace orvix::sim {

class SimClock : public IClockApi {
 public:
  static constexpr FILETIME64 kTicksPerMs = 10000;

  FILETIME64 NowUtc() override { return now_; }
  FILETIME64 ToLocal(FILETIME64 utc) override { return utc + static_cast<FILETIME64>(utcOffsetMinutes_ * 60 * 1000 * kTicksPerMs); }
  DWORD TickCount() override { return static_cast<DWORD>(elapsedMs_); }
  void Sleep(DWORD milliseconds) override { Advance(milliseconds); }

  void SetNowUtc(FILETIME64 now) { now_ = now; }
  void SetUtcOffsetMinutes(std::int64_t minutes) { utcOffsetMinutes_ = minutes; }

  // Moves time forward, running what falls due on the way, in time order.
  void Advance(std::uint64_t milliseconds);
  // Runs `work` once the clock has moved `milliseconds` further (0: at the
  // next move, even a move by 0).
  void Schedule(std::uint64_t milliseconds, std::function<void()> work);
  // Moves straight to the next scheduled moment and runs what is due there;
  // false when nothing is scheduled.
  bool RunNext();
  bool HasScheduledWork() const { return !queue_.empty(); }
  // Moves time forward step by step until `done` holds or `milliseconds`
  // have passed (INFINITE: until nothing more is scheduled); answers done().
  bool AdvanceUntil(std::uint64_t milliseconds, const std::function<bool()>& done);

 private:
  FILETIME64 now_ = 133485408000000000ull;  // 2024-01-01 00:00 UTC
  std::int64_t utcOffsetMinutes_ = 0;
  std::uint64_t elapsedMs_ = 0;
  std::uint64_t sequence_ = 0;
  // Keyed by (elapsed ms when due, order of scheduling).
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> queue_;
};

}  // namespace orvix::sim
