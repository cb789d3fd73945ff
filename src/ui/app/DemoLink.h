#pragma once
// The "DEMO" link: a virtual processor living inside the program, reached through the
// simulated USB exchange. Its replies fall due on a clock; a timer of the window thread
// hands them over when they do, so nothing ever sleeps and the engine sees the same
// wake-ups as from a real reader thread.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "core/link/Transport.h"
#include "core/sim/SimTransport.h"
#include "core/sim/VirtualProcessor.h"

namespace tavelo::ui {

class DemoTransport : public QObject, public Transport {
  Q_OBJECT
 public:
  DemoTransport(VirtualProcessor& processor, SimClock clock);

  LinkKind Kind() const override { return LinkKind::kUsb; }
  bool Open() override { return inner_.Open(); }
  bool IsConnected() const override { return inner_.IsConnected(); }
  bool ConnectFailed() const override { return inner_.ConnectFailed(); }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  // The simulated device's own words, so a failure names its cause as a real link's does.
  std::string Describe() const override { return inner_.Describe(); }
  std::string FailureText() const override { return inner_.FailureText(); }

  SimHidTransport& Inner() { return inner_; }

 private:
  void SchedulePoll();
  void PollNow();

  SimClock clock_;
  SimHidTransport inner_;
  QTimer poll_;
};

class DemoLink {
 public:
  // A varied but reproducible preset, so a first look shows curves and values.
  static constexpr std::uint32_t kDemoSeed = 2026;

  DemoLink();
  VirtualProcessor& Processor() { return processor_; }
  std::unique_ptr<DemoTransport> MakeTransport();
  // The transport of the current connection, null when there is none.
  DemoTransport* Live() const { return live_; }

 private:
  QElapsedTimer clock_;
  VirtualProcessor processor_;
  QPointer<DemoTransport> live_;
};

}  // namespace tavelo::ui
