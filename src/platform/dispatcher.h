// Handing work from worker threads to the thread that owns the windows.
// Worker threads never touch windows or what the windows show: they post
// the work to a dispatcher, which runs it on its own thread (Win32: a posted
// window message; tests and the console: a queue that the owner drains).
// A dispatcher belongs to one thread, the one that created it, and must
// outlive every worker that posts to it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace orvix {

class IDispatcher {
 public:
  virtual ~IDispatcher() = default;

  // Queues work to run on the dispatcher's thread and returns at once.
  virtual void Post(std::function<void()> work) = 0;
  // Runs the work queued so far; called on the dispatcher's thread by loops
  // that wait for a worker (for instance while it shuts down). Answers how
  // many pieces of work ran.
  virtual std::size_t RunPending() = 0;
  virtual bool OnDispatcherThread() const = 0;

  // Runs work on the dispatcher's thread and waits until it has run (at once
  // when called on that thread). When `stop` is requested, or the dispatcher
  // drops the work, before it starts, the work never runs and the answer is
  // false; work that has started is waited for. So a worker blocked here
  // never keeps its owner from joining it.
  bool Invoke(std::function<void()> work, std::stop_token stop = {});
};

// The dispatcher of tests and of the console program: work waits in a queue
// until the owning thread runs it.
class TQueueDispatcher : public IDispatcher {
 public:
  TQueueDispatcher() = default;
  // Work still queued is dropped, which releases workers waiting in Invoke.
  ~TQueueDispatcher() override;
  TQueueDispatcher(const TQueueDispatcher&) = delete;
  TQueueDispatcher& operator=(const TQueueDispatcher&) = delete;

  void Post(std::function<void()> work) override;
  std::size_t RunPending() override;
  bool OnDispatcherThread() const override { return std::this_thread::get_id() == owner_; }

  // Waits until work arrives or `done` holds, running work as it comes;
  // answers done(). Gives up after `timeout` without work arriving.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  std::size_t PendingCount() const;

 private:
  const std::thread::id owner_ = std::this_thread::get_id();
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace orvix
