#pragma once
// The schedules as the service runs them: the day-parts and marks from the database, the
// scheduler over the rooms, and each firing written to the audit log and sent as an event.
#include <QJsonObject>
#include <QTimeZone>
#include <functional>

#include "hub/Store.h"
#include "hub/schedule/ScheduleStore.h"
#include "hub/schedule/Scheduler.h"

namespace tavelo::hub {

class ScheduleRunner {
 public:
  using Clock = std::function<qint64()>;
  using Sink = std::function<void(const QJsonObject&)>;

  ScheduleRunner(Database& db, Store& store, RoomAccess& rooms, QTimeZone zone, Clock clock);

  // Reads the day-parts and what each room last received. Day-parts that fail the checks are
  // left out and named in `error`; false only when the database cannot be read.
  bool Load(QString& error);
  void SetEventSink(Sink sink) { sink_ = std::move(sink); }
  void Tick() { scheduler_.Tick(); }

  ScheduleStore& Schedules() { return schedules_; }
  Scheduler& Engine() { return scheduler_; }
  qint64 Now() const { return clock_(); }

  // The audit log's name for a firing's action.
  static constexpr const char* kAuditName = "schedule";

 private:
  void Journal(const FiringReport& report);

  Store& store_;
  ScheduleStore schedules_;
  Clock clock_;
  Scheduler scheduler_;
  Sink sink_;
};

// "on-time", "catch-up", "waiting", "failed".
QString FiringKindName(FiringReport::Kind kind);

}  // namespace tavelo::hub
