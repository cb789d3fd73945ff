#include "platform/TickDriver.h"

namespace tavelo {

TickDriver::TickDriver(std::function<void()> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {
  timer_.setInterval(kTickMs);
  timer_.setTimerType(Qt::PreciseTimer);  // ticks are counted as time-outs
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (onTick_) onTick_();
  });
}

}  // namespace tavelo
