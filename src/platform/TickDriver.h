#pragma once
// The 50 ms tick that drives the link for the whole run, for the panel and the CLI.
#include <QObject>
#include <QTimer>
#include <functional>

namespace tavelo {

class TickDriver : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTickMs = 50;

  explicit TickDriver(std::function<void()> onTick, QObject* parent = nullptr);

  void Start() { timer_.start(); }
  void Stop() { timer_.stop(); }
  bool Running() const { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> onTick_;
};

}  // namespace tavelo
