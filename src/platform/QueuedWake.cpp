#include "platform/QueuedWake.h"

#include <QMetaObject>

namespace tavelo {

void QueuedWake::Request() {
  if (pending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      &context_,
      [this] {
        // Cleared before running, so bytes announced while `run_` reads are not missed.
        pending_ = false;
        run_();
      },
      Qt::QueuedConnection);
}

}  // namespace tavelo
