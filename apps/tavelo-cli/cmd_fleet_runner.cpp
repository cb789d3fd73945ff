#include "cmd_fleet_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <list>
#include <memory>
#include <sstream>

#include "cmd_device_session.h"
#include "cmd_fleet_progress.h"
#include "platform/TcpTransport.h"

namespace tavelo::cli {
namespace {

constexpr int kTickMs = 50;

// "2 s", "0.5 s": written the same in every locale.
std::string SecondsText(double seconds) {
  std::ostringstream text;
  text << seconds << " s";
  return text.str();
}

class FleetRunner {
 public:
  FleetRunner(const std::vector<Room>& rooms, FleetWork& work, const FleetOptions& options)
      : rooms_(rooms),
        work_(work),
        options_(options),
        ends_(rooms.size()),
        progress_(options.progress, options.terminal, options.command, rooms.size()) {
    tick_.setInterval(kTickMs);
    QObject::connect(&tick_, &QTimer::timeout, &context_, [this] { OnTick(); });
  }

  std::vector<RoomEnd> Run() {
    InstallInterruptHandlers();
    clock_.start();
    StartRooms();
    if (!active_.empty()) {
      tick_.start();
      loop_.exec();
      tick_.stop();
    }
    progress_.Close();
    return std::move(ends_);
  }

 private:
  struct Active {
    std::size_t room = 0;
    std::unique_ptr<RoomLink> link;
    qint64 startedMs = 0;
    bool working = false;  // the preset was read and the work began
    bool finished = false;
  };

  void StartRooms() {
    while (next_ < rooms_.size() && static_cast<int>(active_.size()) < options_.jobs &&
           !Interrupted()) {
      const std::size_t room = next_++;
      if (auto end = work_.Prepare(room)) {
        Record(room, *end);
        continue;
      }
      const Room& r = rooms_[room];
      auto& a = active_.emplace_back();
      a.room = room;
      a.startedMs = clock_.elapsed();
      Active* self = &a;
      a.link = std::make_unique<RoomLink>(
          std::make_unique<TcpTransport>(NetEndpoint{r.host, r.port}), options_.lockKey, discard_,
          [this, self] { AfterInput(*self); });
      progress_.Started();
      a.link->Connect();
    }
    // Rooms never started because the user stopped the run.
    while (next_ < rooms_.size() && Interrupted()) {
      Record(next_++, {false, "start", "not started: interrupted"});
    }
  }

  void OnTick() {
    for (auto& a : active_) {
      if (!a.finished) a.link->Tick();
      if (!a.finished && OutOfTime(a)) {
        Finish(a, {false, a.working ? work_.Step(a.room, *a.link) : "connect",
                   "timed out: not done within " + SecondsText(*options_.roomSeconds)});
      }
    }
  }

  bool OutOfTime(const Active& a) const {
    if (!options_.roomSeconds) return false;
    const auto limitMs = static_cast<qint64>(*options_.roomSeconds * 1000.0);
    return clock_.elapsed() - a.startedMs >= limitMs;
  }

  void AfterInput(Active& a) {
    if (a.finished) return;
    RoomLink& link = *a.link;
    if (Interrupted()) {
      Finish(a, {false, a.working ? work_.Step(a.room, link) : "connect", "interrupted"});
      return;
    }
    if (!a.working) {
      if (link.Down()) {
        Finish(a, {false, "connect", link.FailureReason()});
      } else if (link.Ready()) {
        a.working = true;
        if (auto end = work_.Start(a.room, link)) Finish(a, *end);
      }
      return;
    }
    if (auto end = work_.Check(a.room, link)) {
      Finish(a, *end);
    } else if (link.Down()) {
      Finish(a, {false, work_.Step(a.room, link), link.FailureReason()});
    }
  }

  void Record(std::size_t room, const RoomEnd& end) {
    ends_[room] = end;
    progress_.Finished(rooms_[room], end);
  }

  // Called from inside the room's engine callbacks: the room is let go later, from the loop.
  void Finish(Active& a, const RoomEnd& end) {
    a.finished = true;
    Record(a.room, end);
    if (sweepPending_) return;
    sweepPending_ = true;
    QMetaObject::invokeMethod(
        &context_, [this] { Sweep(); }, Qt::QueuedConnection);
  }

  void Sweep() {
    sweepPending_ = false;
    for (auto it = active_.begin(); it != active_.end();) {
      if (!it->finished) {
        ++it;
        continue;
      }
      it->link->Disconnect();
      it = active_.erase(it);
    }
    StartRooms();
    if (active_.empty()) loop_.quit();
  }

  const std::vector<Room>& rooms_;
  FleetWork& work_;
  const FleetOptions& options_;
  std::vector<RoomEnd> ends_;
  FleetProgress progress_;
  std::ostream discard_{nullptr};  // the rooms' console lines: their ends say what matters
  QObject context_;
  QElapsedTimer clock_;
  QTimer tick_;
  QEventLoop loop_;
  std::list<Active> active_;
  std::size_t next_ = 0;
  bool sweepPending_ = false;
};

}  // namespace

std::vector<RoomEnd> RunFleet(const std::vector<Room>& rooms, FleetWork& work,
                              const FleetOptions& options) {
  CliApp app;
  FleetRunner runner(rooms, work, options);
  return runner.Run();
}

}  // namespace tavelo::cli
