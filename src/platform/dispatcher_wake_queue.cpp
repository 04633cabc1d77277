#include "platform/dispatcher_wake_queue.h"

#include <chrono>
#include <thread>

namespace orvix {

void TWakeQueue::Post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
    if (wakeSent_) return;
    wakeSent_ = true;
  }
  // A full message queue empties as the owner runs: a short pause, then again.
  for (int attempt = 1; !wake_(); ++attempt) {
    if (attempt == kWakeAttempts) {
      std::lock_guard lock(mutex_);
      wakeSent_ = false;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(attempt * attempt));
  }
}

std::size_t TWakeQueue::RunPending() {
  std::deque<std::function<void()>> due;
  {
    std::lock_guard lock(mutex_);
    due.swap(queue_);
    wakeSent_ = false;
  }
  std::size_t ran = 0;
  for (; !due.empty(); due.pop_front(), ++ran) due.front()();
  return ran;
}

}  // namespace orvix
