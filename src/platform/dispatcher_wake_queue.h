// The work queue behind a dispatcher whose owner learns of new work by a
// wake-up it has to be sent (Win32: a message posted to a window). One
// wake-up stands for everything queued until the owner runs the queue. A
// wake-up can fail (a full message queue): it is retried a few times, and
// when it still fails the next post sends one again, so queued work never
// waits for a wake-up that nobody sends.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace orvix {

class TWakeQueue {
 public:
  // Sends one wake-up to the owner; false when it could not be sent.
  using TWake = std::function<bool()>;

  explicit TWakeQueue(TWake wake) : wake_(std::move(wake)) {}
  // Work still queued is dropped with the queue (destroyed unrun).
  TWakeQueue(const TWakeQueue&) = delete;
  TWakeQueue& operator=(const TWakeQueue&) = delete;

  void Post(std::function<void()> work);
  // Runs the work queued so far, on the owner's thread; how many ran.
  std::size_t RunPending();

  // Attempts at one wake-up before the next post takes over.
  static constexpr int kWakeAttempts = 4;

 private:
  TWake wake_;
  std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
  bool wakeSent_ = false;  // a wake-up is on its way and the owner has not run the queue since
};

}  // namespace orvix
