#pragma once
// One QCoreApplication for the platform tests (sockets and queued calls need its loop),
// and a bounded wait that keeps events flowing.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace tavelo::qttest {

inline QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "tavelo_tests_platform";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

// Processes events until `done()` holds or `ms` pass; returns done().
template <typename Done>
bool WaitFor(Done done, int ms = 3000) {
  App();
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace tavelo::qttest
