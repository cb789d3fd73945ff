#pragma once
// One QCoreApplication for test programs without widgets (sockets and queued calls need its
// loop), and the bounded wait every Qt test uses: events keep flowing until a condition
// holds or the time is up.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace tavelo::test {

inline QCoreApplication& CoreApp() {
  if (auto* running = QCoreApplication::instance()) return *running;
  static int argc = 1;
  static char name[] = "tavelo_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

// Processes events until `done()` holds or `ms` of real time pass, calling `each()` after
// every round; returns done(). The short sleep keeps a waiting test off a shared core.
template <typename Done, typename Each>
bool WaitFor(Done done, int ms, Each each) {
  CoreApp();
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    each();
    QThread::msleep(1);
  }
  return true;
}

template <typename Done>
bool WaitFor(Done done, int ms = 3000) {
  return WaitFor(done, ms, [] {});
}

}  // namespace tavelo::test
