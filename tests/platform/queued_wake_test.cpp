// Wake-ups from a reader thread reach the owner's thread, coalesced but never lost.
#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <thread>

#include "platform/QueuedWake.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

TEST(QueuedWake, ABurstFromAnotherThreadRunsOnTheOwnersThreadAndIsNotLost) {
  test::CoreApp();
  int runs = 0;
  bool onOwner = true;
  QThread* const owner = QThread::currentThread();
  QueuedWake wake([&] {
    ++runs;
    onOwner = onOwner && QThread::currentThread() == owner;
  });

  std::thread reader([&] {
    for (int i = 0; i < 1000; ++i) wake.Request();
  });
  reader.join();
  ASSERT_TRUE(test::WaitFor([&] { return runs > 0; }));
  test::WaitFor([] { return false; }, 50);  // nothing more is queued
  EXPECT_EQ(runs, 1);  // the whole burst, before the loop turned, made one call
  EXPECT_TRUE(onOwner);

  // A request made while the call runs (new bytes during the read) queues the next one.
  int nested = 0;
  QueuedWake* self = nullptr;
  QueuedWake again([&] {
    if (++nested == 1) self->Request();
  });
  self = &again;
  again.Request();
  EXPECT_TRUE(test::WaitFor([&] { return nested == 2; }));
}

TEST(QueuedWake, CallsStillQueuedWhenItIsDestroyedAreDropped) {
  test::CoreApp();
  std::atomic<int> runs{0};
  {
    QueuedWake wake([&] { ++runs; });
    wake.Request();
  }
  test::WaitFor([] { return false; }, 50);
  EXPECT_EQ(runs, 0);
}

}  // namespace
}  // namespace tavelo
