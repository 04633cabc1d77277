// The queue dispatcher: work from workers runs on the owning thread only,
// and a worker waiting in Invoke is released by a stop or a dropped queue.
#include "platform/dispatcher.h"

#include <gtest/gtest.h>

#include "platform/dispatcher_wake_queue.h"

#include <atomic>
#include <thread>
#include <vector>

namespace orvix {
namespace {

// Waits, without running anything, until a worker has queued `count` pieces.
void WaitForQueued(const TQueueDispatcher& dispatcher, std::size_t count) {
  while (dispatcher.PendingCount() < count) std::this_thread::yield();
}

TEST(QueueDispatcher, PostedWorkRunsInOrderOnTheOwnerWhenItDrains) {
  TQueueDispatcher dispatcher;
  std::vector<int> order;
  std::vector<std::thread::id> threads;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      dispatcher.Post([&, i] {
        order.push_back(i);
        threads.push_back(std::this_thread::get_id());
      });
    }
  });
  worker.join();
  EXPECT_TRUE(order.empty()) << "nothing runs before the owner drains the queue";
  EXPECT_EQ(dispatcher.RunPending(), 3u);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  for (const std::thread::id id : threads) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_EQ(dispatcher.RunPending(), 0u);
}

TEST(QueueDispatcher, InvokeWaitsForTheOwnerToRunTheWork) {
  TQueueDispatcher dispatcher;
  std::thread::id ranOn;
  std::atomic<bool> returned = false;
  bool answer = false;
  std::thread worker([&] {
    answer = dispatcher.Invoke([&] { ranOn = std::this_thread::get_id(); });
    returned = true;
  });
  WaitForQueued(dispatcher, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(returned) << "Invoke returned before its work ran";
  dispatcher.RunPending();
  worker.join();
  EXPECT_TRUE(answer);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(QueueDispatcher, InvokeOnTheOwnerRunsAtOnce) {
  TQueueDispatcher dispatcher;
  bool ran = false;
  EXPECT_TRUE(dispatcher.Invoke([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(dispatcher.PendingCount(), 0u);
}

TEST(QueueDispatcher, AStopReleasesAWaitingWorkerAndTheWorkNeverRuns) {
  TQueueDispatcher dispatcher;
  std::stop_source stop;
  bool ran = false;
  bool answer = true;
  std::thread worker([&] { answer = dispatcher.Invoke([&] { ran = true; }, stop.get_token()); });
  WaitForQueued(dispatcher, 1);
  stop.request_stop();
  worker.join();  // would hang if the stop did not release it
  EXPECT_FALSE(answer);
  dispatcher.RunPending();
  EXPECT_FALSE(ran) << "work abandoned by its caller must not run later";
}

TEST(QueueDispatcher, DestroyingTheDispatcherReleasesAWaitingWorker) {
  auto dispatcher = std::make_unique<TQueueDispatcher>();
  bool answer = true;
  std::atomic<bool> posted = false;
  std::thread worker([&] {
    dispatcher->Post([&] { posted = true; });
    answer = dispatcher->Invoke([] {});
  });
  // The first piece of work shows the worker has started; the Invoke follows it.
  WaitForQueued(*dispatcher, 2);
  dispatcher.reset();
  worker.join();
  EXPECT_FALSE(answer);
  EXPECT_FALSE(posted);
}

// The wake-up queue of the Win32 dispatcher, with wake-ups that fail as a
// full message queue makes them fail.
TEST(WakeQueue, AFailedWakeUpIsRetriedAndOtherwiseSentAgainByTheNextPost) {
  int failuresLeft = 0;
  int wakeUps = 0;
  TWakeQueue queue([&] {
    ++wakeUps;
    if (failuresLeft == 0) return true;
    --failuresLeft;
    return false;
  });
  int ran = 0;
  auto work = [&] { ++ran; };

  failuresLeft = 2;
  queue.Post(work);
  EXPECT_EQ(wakeUps, 3) << "retried until it went through";
  queue.Post(work);
  EXPECT_EQ(wakeUps, 3) << "one wake-up stands for everything queued";
  EXPECT_EQ(queue.RunPending(), 2u);

  failuresLeft = TWakeQueue::kWakeAttempts;
  queue.Post(work);
  EXPECT_EQ(wakeUps, 3 + TWakeQueue::kWakeAttempts);
  queue.Post(work);
  EXPECT_EQ(wakeUps, 4 + TWakeQueue::kWakeAttempts) << "the wake-up that never went out is sent now";
  queue.Post(work);
  EXPECT_EQ(wakeUps, 4 + TWakeQueue::kWakeAttempts);
  EXPECT_EQ(queue.RunPending(), 3u);

  queue.Post(work);
  EXPECT_EQ(wakeUps, 5 + TWakeQueue::kWakeAttempts) << "work after a run needs a new wake-up";
  EXPECT_EQ(queue.RunPending(), 1u);
  EXPECT_EQ(ran, 6);
}

}  // namespace
}  // namespace orvix
