#pragma once
// "Bytes have arrived", announced on a transport's own thread, run on the owner's thread.
// Announcements that come faster than the owner's loop turns make one call: the engine
// reads everything that is waiting each time it runs.
#include <QObject>
#include <atomic>
#include <functional>

namespace tavelo {

class QueuedWake {
 public:
  // `run` is called on the thread that constructs this object.
  explicit QueuedWake(std::function<void()> run) : run_(std::move(run)) {}
  QueuedWake(const QueuedWake&) = delete;
  QueuedWake& operator=(const QueuedWake&) = delete;

  // Safe from any thread: sets a flag and queues one call unless one is already queued.
  void Request();

 private:
  std::function<void()> run_;
  QObject context_;  // receives the queued calls; destroying it drops those still queued
  std::atomic<bool> pending_{false};
};

}  // namespace tavelo
