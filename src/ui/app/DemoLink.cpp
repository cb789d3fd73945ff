#include "ui/app/DemoLink.h"

#include <algorithm>

namespace tavelo::ui {

DemoTransport::DemoTransport(VirtualProcessor& processor, SimClock clock)
    : clock_(std::move(clock)), inner_(processor, clock_) {
  inner_.SetWakeup([this] { Wake(); });
  poll_.setSingleShot(true);
  poll_.setTimerType(Qt::PreciseTimer);
  connect(&poll_, &QTimer::timeout, this, &DemoTransport::PollNow);
}

int DemoTransport::Send(const std::uint8_t* frame, int size) {
  const int written = inner_.Send(frame, size);
  SchedulePoll();
  return written;
}

FetchStatus DemoTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  const FetchStatus status = inner_.Fetch(out, capacity, got);
  SchedulePoll();
  return status;
}

void DemoTransport::Close() {
  poll_.stop();
  inner_.Close();
}

void DemoTransport::SchedulePoll() {
  const std::int64_t due = inner_.NextDueMs();
  if (due < 0) {
    poll_.stop();
    return;
  }
  poll_.start(static_cast<int>(std::clamp<std::int64_t>(due - clock_(), 0, 60000)));
}

void DemoTransport::PollNow() {
  inner_.Poll();
  // Keep watching only for something still to come (a later reply or the read time-out).
  if (inner_.NextDueMs() > clock_()) SchedulePoll();
}

DemoLink::DemoLink() : processor_(VirtualProcessor::Seeded(kDemoSeed)) {
  clock_.start();
}

std::unique_ptr<DemoTransport> DemoLink::MakeTransport() {
  auto transport = std::make_unique<DemoTransport>(processor_, [this] { return clock_.elapsed(); });
  live_ = transport.get();
  return transport;
}

}  // namespace tavelo::ui
