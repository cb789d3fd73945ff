#pragma once
// Fires the day-parts: on every Tick() each room gets the day-part in force for it unless it
// already has it or something newer: time only moves forward, so removing or editing a
// day-part never brings back an older one. A room that is offline when its day-part falls due is
// skipped and gets the day-part in force when it is back (a catch-up), and the report says so. Time
// comes from the clock it is given; nothing here sleeps or starts a timer, though the rooms'
// answers are awaited with the event loop running.
#include <QTimeZone>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "hub/RoomAccess.h"
#include "hub/schedule/DayPart.h"
#include "hub/schedule/InForce.h"

namespace tavelo::hub {

// Which occurrence of which day-part a room last received.
struct AppliedMark {
  QString part;
  qint64 due = 0;
  friend bool operator==(const AppliedMark&, const AppliedMark&) = default;
};

struct FiringReport {
  enum class Kind {
    OnTime,   // applied when it fell due
    CatchUp,  // applied late: the room was offline, a try failed, or the service was down
    Waiting,  // the room is offline; it gets the day-part when it is back
    Failed,   // the room did not take it; tried again later
  };
  Kind kind = Kind::OnTime;
  QString room;
  QString part;
  qint64 due = 0;   // when it fell due
  qint64 time = 0;  // when this happened
  QString detail;   // what was done, or why not
};

class Scheduler {
 public:
  using Clock = std::function<qint64()>;
  using CapsOf = std::function<std::optional<std::map<QString, int>>(const QString& room)>;
  using Journal = std::function<void(const FiringReport&)>;

  // A day-part applied later than this after it fell due counts as a catch-up.
  static constexpr qint64 kOnTimeGraceMs = 2 * 60 * 1000;
  // A room that did not take its day-part is tried again after this, from the step that
  // failed (a recall already taken is not sent again), and given up after kMaxTries.
  static constexpr qint64 kRetryMs = 60 * 1000;
  static constexpr int kMaxTries = 5;
  // How long the recalls of one firing are awaited together.
  static constexpr int kRecallLimitMs = 20000;

  Scheduler(RoomAccess& rooms, QTimeZone zone, Clock clock, CapsOf caps, Journal journal);

  void SetParts(std::vector<DayPart> parts);
  const std::vector<DayPart>& Parts() const { return parts_; }
  const QTimeZone& Zone() const { return zone_; }

  // What each room last received, kept across restarts so nothing fires twice.
  void RestoreApplied(std::map<QString, AppliedMark> applied) { applied_ = std::move(applied); }
  const std::map<QString, AppliedMark>& Applied() const { return applied_; }

  void Tick();

 private:
  // How far a room got with one occurrence: the steps taken (recall, values, lock) and tries.
  struct Progress {
    AppliedMark mark;
    int step = 0;
    int tries = 0;
    QStringList done;
  };
  // One room's share of this tick's firing.
  struct Firing {
    QString room;
    DayPart part;
    AppliedMark mark;
    bool late = false;
    bool waiting = false;  // offline: only reported
    QString recallError;
    std::shared_ptr<std::optional<UploadResult>> recall;  // set when a recall was started
  };
  const std::vector<Occurrence>& Latest(qint64 now);
  std::vector<Firing> Due(qint64 now);
  void RecallAtOnce(std::vector<Firing>& firings);
  void Finish(Firing& firing, qint64 now);
  // Takes the steps from progress.step on; false with `why` when one fails.
  bool Apply(const QString& room, const DayPart& part, Progress& progress, QString& why);
  void Report(FiringReport::Kind kind, const QString& room, const AppliedMark& mark, qint64 now,
              const QString& detail);

  RoomAccess& rooms_;
  QTimeZone zone_;
  Clock clock_;
  CapsOf caps_;
  Journal journal_;
  std::vector<DayPart> parts_;
  std::map<QString, AppliedMark> applied_;
  std::map<QString, AppliedMark> waiting_;  // offline when it fell due
  std::map<QString, Progress> progress_;    // a try failed
  std::map<QString, qint64> retryAt_;
  bool ticking_ = false;
  // The latest occurrences hold until the next day-part falls due.
  std::vector<Occurrence> latest_;
  qint64 latestFrom_ = 0;
  qint64 latestUntil_ = 0;
};

}  // namespace tavelo::hub
