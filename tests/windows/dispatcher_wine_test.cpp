// The Win32 dispatcher under Wine: work posted from a worker runs on the
// thread that created the dispatcher, when that thread's message loop runs.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/win32_dispatcher.h"
#include "windows/message_pump.h"
#include "platform/win32/windows_api.h"

namespace orvix {
namespace {

using test::PumpUntil;

TEST(Win32DispatcherWine, WorkFromAWorkerRunsOnTheOwningThreadThroughItsMessageLoop) {
  const std::unique_ptr<IDispatcher> dispatcher = win32::MakeDispatcher();
  const ::DWORD owner = ::GetCurrentThreadId();
  ::DWORD postedRanOn = 0;
  ::DWORD invokedRanOn = 0;
  bool invoked = false;
  std::atomic<bool> finished = false;
  std::thread worker([&] {
    EXPECT_FALSE(dispatcher->OnDispatcherThread());
    dispatcher->Post([&] { postedRanOn = ::GetCurrentThreadId(); });
    invoked = dispatcher->Invoke([&] { invokedRanOn = ::GetCurrentThreadId(); });
    finished = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return finished.load(); })) << "the worker never got its Invoke back";
  worker.join();
  EXPECT_TRUE(dispatcher->OnDispatcherThread());
  EXPECT_TRUE(invoked);
  EXPECT_EQ(postedRanOn, owner);
  EXPECT_EQ(invokedRanOn, owner);
}

TEST(Win32DispatcherWine, AStoppedInvokeIsNeverDeliveredLater) {
  const std::unique_ptr<IDispatcher> dispatcher = win32::MakeDispatcher();
  std::stop_source stop;
  bool ran = false;
  bool answer = true;
  std::thread worker([&] { answer = dispatcher->Invoke([&] { ran = true; }, stop.get_token()); });
  ::Sleep(50);  // no messages run: the worker waits
  stop.request_stop();
  worker.join();
  EXPECT_FALSE(answer);
  PumpUntil([] { return false; }, 200);  // deliver whatever is queued
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace orvix
