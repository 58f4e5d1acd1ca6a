// The hand-off between threads: run-and-wait on the owning thread, errors passed back,
// cancelling that releases a waiting thread and drops queued work.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>

#include "serial/ui_dispatcher.h"
#include "support/waits.h"

namespace theolink {
namespace {

using namespace std::chrono_literals;

TEST(HandOff, TaskRunsOnTheOwningThreadAndTheCallerWaitsForIt) {
  test::Watchdog dog(10s);
  QueueDispatcher dispatcher;
  HandOffChannel channel(dispatcher);
  std::thread::id ran_on;
  auto waiter = std::async(std::launch::async, [&] {
    return channel.RunAndWait([&] { ran_on = std::this_thread::get_id(); },
                              HandOffChannel::Wait::UntilDone);
  });
  EXPECT_EQ(waiter.wait_for(100ms), std::future_status::timeout);  // nobody pumps yet
  ASSERT_TRUE(test::PumpUntil(dispatcher, [&] {
    return waiter.wait_for(0ms) == std::future_status::ready;
  }));
  EXPECT_TRUE(waiter.get());
  EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST(HandOff, ErrorOfTheTaskIsRaisedInTheWaitingThread) {
  test::Watchdog dog(10s);
  QueueDispatcher dispatcher;
  HandOffChannel channel(dispatcher);
  auto waiter = std::async(std::launch::async, [&] {
    channel.RunAndWait([] { throw std::runtime_error("boom"); }, HandOffChannel::Wait::UntilDone);
  });
  test::PumpUntil(dispatcher, [&] { return waiter.wait_for(0ms) == std::future_status::ready; });
  EXPECT_THROW(waiter.get(), std::runtime_error);

  // Nobody waits for the end of an UntilTaken task: its error goes to the dispatcher.
  auto taken = std::async(std::launch::async, [&] {
    return channel.RunAndWait([] { throw std::runtime_error("late"); },
                              HandOffChannel::Wait::UntilTaken);
  });
  test::PumpUntil(dispatcher, [&] { return taken.wait_for(0ms) == std::future_status::ready; });
  EXPECT_TRUE(taken.get());
  EXPECT_EQ(dispatcher.TakeErrors(), std::vector<std::string>{"late"});
}

TEST(HandOff, CancelReleasesTheWaiterAndDropsQueuedWork) {
  test::Watchdog dog(10s);
  QueueDispatcher dispatcher;
  bool ran = false;
  {
    HandOffChannel channel(dispatcher);
    auto waiter = std::async(std::launch::async, [&] {
      return channel.RunAndWait([&] { ran = true; }, HandOffChannel::Wait::UntilDone);
    });
    EXPECT_TRUE(test::WaitUntil([&] { return dispatcher.PendingCount() == 1; }));  // the hand-off is queued
    channel.Cancel();
    EXPECT_FALSE(waiter.get());
    EXPECT_TRUE(channel.Cancelled());
    EXPECT_FALSE(channel.RunAndWait([&] { ran = true; }, HandOffChannel::Wait::UntilDone));
  }
  dispatcher.ProcessPending();  // the dropped task outlives its channel harmlessly
  EXPECT_FALSE(ran);
}

TEST(HandOff, CancelFromInsideTheRunningTaskDoesNotDeadlock) {
  test::Watchdog dog(10s);
  QueueDispatcher dispatcher;
  HandOffChannel channel(dispatcher);
  std::atomic<bool> released{false};
  std::thread worker([&] {
    channel.RunAndWait(
        [&] {
          channel.Cancel();
          // The waiting thread is free before this task has finished.
          test::WaitUntil([&] { return released.load(); });
        },
        HandOffChannel::Wait::UntilDone);
  });
  std::thread watcher([&] {
    worker.join();
    released = true;
  });
  EXPECT_TRUE(test::PumpUntil(dispatcher, [&] { return released.load(); }));
  watcher.join();
}

TEST(QueueDispatcherPump, WaitEndsOnWorkOnWakeOrOnTimeout) {
  test::Watchdog dog(10s);
  QueueDispatcher dispatcher;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(dispatcher.WaitAndProcess(50ms), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms);
  std::thread poster([&] { dispatcher.Post([] {}); });
  EXPECT_EQ(dispatcher.WaitAndProcess(5s), 1);
  poster.join();
  std::thread waker([&] {
    std::this_thread::sleep_for(20ms);
    dispatcher.Wake();
  });
  EXPECT_EQ(dispatcher.WaitAndProcess(5s), 0);
  waker.join();
  int order = 0;
  dispatcher.Post([&] {
    order = order * 10 + 1;
    dispatcher.Post([&] { order = order * 10 + 3; });
  });
  dispatcher.Post([&] { order = order * 10 + 2; });
  EXPECT_EQ(dispatcher.ProcessPending(), 2);  // work queued meanwhile waits for the next round
  EXPECT_EQ(order, 12);
  EXPECT_EQ(dispatcher.ProcessPending(), 1);
  EXPECT_EQ(order, 123);
  EXPECT_TRUE(dispatcher.IsOwningThread());
}

}  // namespace
}  // namespace theolink
