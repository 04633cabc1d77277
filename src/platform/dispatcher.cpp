#include "platform/dispatcher.h"

#include <memory>

namespace orvix {
namespace {

// One synchronised call, shared by the waiting worker and the posted work.
struct SyncCall {
  enum class State { Pending, Running, Done, Dropped };

  // Moves a call that has not started to `next`; false when it had started
  // or was dropped already.
  bool LeavePending(State next) {
    {
      std::lock_guard lock(mutex);
      if (state != State::Pending) return false;
      state = next;
    }
    changed.notify_all();
    return true;
  }
  void Finish() {
    {
      std::lock_guard lock(mutex);
      state = State::Done;
    }
    changed.notify_all();
  }

  std::mutex mutex;
  std::condition_variable_any changed;
  State state = State::Pending;
};

// Lives as long as the posted work: when a dispatcher destroys the work
// without running it, the waiting worker learns that the call was dropped.
class DropGuard {
 public:
  explicit DropGuard(std::shared_ptr<SyncCall> call) : call_(std::move(call)) {}
  ~DropGuard() { call_->LeavePending(SyncCall::State::Dropped); }
  DropGuard(const DropGuard&) = delete;
  DropGuard& operator=(const DropGuard&) = delete;

 private:
  std::shared_ptr<SyncCall> call_;
};

}  // namespace

bool IDispatcher::Invoke(std::function<void()> work, std::stop_token stop) {
  if (OnDispatcherThread()) {
    work();
    return true;
  }
  using State = SyncCall::State;
  auto call = std::make_shared<SyncCall>();
  Post([call, guard = std::make_shared<DropGuard>(call), work = std::move(work)] {
    if (!call->LeavePending(State::Running)) return;
    struct FinishAtExit {
      SyncCall& call;
      ~FinishAtExit() { call.Finish(); }
    } finish{*call};
    work();
  });
  std::unique_lock lock(call->mutex);
  call->changed.wait(lock, stop, [&] { return call->state == State::Done || call->state == State::Dropped; });
  if (call->state == State::Pending) call->state = State::Dropped;  // stopped before it started
  if (call->state == State::Running) call->changed.wait(lock, [&] { return call->state == State::Done; });
  return call->state == State::Done;
}

TQueueDispatcher::~TQueueDispatcher() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
  }
}

void TQueueDispatcher::Post(std::function<void()> work) {
  // Notified under the lock: once the work is seen queued, Post no longer
  // touches the dispatcher.
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(work));
  arrived_.notify_all();
}

std::size_t TQueueDispatcher::RunPending() {
  std::deque<std::function<void()>> due;
  {
    std::lock_guard lock(mutex_);
    due.swap(queue_);
  }
  std::size_t ran = 0;
  while (!due.empty()) {
    const std::function<void()> work = std::move(due.front());
    due.pop_front();
    work();
    ++ran;
  }
  return ran;
}

bool TQueueDispatcher::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    RunPending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Short waits: `done` may turn true without anything being posted.
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !queue_.empty(); });
  }
}

std::size_t TQueueDispatcher::PendingCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace orvix
