#include "hub/rooms/NestedWait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace tavelo::hub {

bool WaitUntil(const std::function<bool()>& done, int limitMs) {
  if (done()) return true;
  constexpr int kLookMs = 2;
  QDeadlineTimer deadline(limitMs);
  QEventLoop loop;
  QTimer look;
  look.setInterval(kLookMs);
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (done() || deadline.hasExpired()) loop.quit();
  });
  look.start();
  loop.exec();
  return done();
}

}  // namespace tavelo::hub
