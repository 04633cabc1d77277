#include "platform/sim/sim_clock.h"

namespace orvix::sim {

void SimClock::Schedule(std::uint64_t milliseconds, std::function<void()> work) {
  queue_.emplace(std::make_pair(elapsedMs_ + milliseconds, sequence_++), std::move(work));
}

void SimClock::Advance(std::uint64_t milliseconds) {
  const std::uint64_t target = elapsedMs_ + milliseconds;
  while (!queue_.empty() && queue_.begin()->first.first <= target) {
    auto node = queue_.extract(queue_.begin());
    now_ += (node.key().first - elapsedMs_) * kTicksPerMs;
    elapsedMs_ = node.key().first;
    node.mapped()();  // may schedule more work, due before the target or not
  }
  now_ += (target - elapsedMs_) * kTicksPerMs;
  elapsedMs_ = target;
}

bool SimClock::AdvanceUntil(std::uint64_t milliseconds, const std::function<bool()>& done) {
  const bool forever = milliseconds == INFINITE;
  const std::uint64_t target = elapsedMs_ + milliseconds;
  while (!done()) {
    if (queue_.empty() || (!forever && queue_.begin()->first.first > target)) break;
    RunNext();
  }
  if (!done() && !forever) Advance(target - elapsedMs_);
  return done();
}

bool SimClock::RunNext() {
  if (queue_.empty()) return false;
  Advance(queue_.begin()->first.first - elapsedMs_);
  return true;
}

}  // namespace orvix::sim
