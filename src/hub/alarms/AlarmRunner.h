#pragma once
// The alarms as the service runs them: the monitor fed by the watched rooms, every change
// stored with its time and sent as an event, the drift check on its own timer.
#include <QJsonObject>
#include <functional>

#include "hub/HubMetrics.h"
#include "hub/alarms/AlarmMonitor.h"
#include "hub/alarms/AlarmStore.h"
#include "hub/alarms/WatchedRooms.h"

namespace tavelo::hub {

class AlarmRunner : public AlarmCounts {
 public:
  using Clock = std::function<qint64()>;
  using Sink = std::function<void(const QJsonObject&)>;

  AlarmRunner(Database& db, RoomAccess& rooms, AlarmLimits limits, qint64 driftEveryMs,
              Clock clock);

  // The standing alarms and the references from the database.
  bool Load(QString& error);
  void SetEventSink(Sink sink) { sink_ = std::move(sink); }
  // Observes every room; checks the working sets when the drift timer is due.
  void Tick();

  // What the rest of the service reaches the rooms through.
  WatchedRooms& Rooms() { return watched_; }
  AlarmMonitor& Monitor() { return monitor_; }
  AlarmStore& Alarms() { return store_; }
  // The standing alarms by kind, for /metrics.
  std::map<QString, int> ActiveByKind() const override {
    std::map<QString, int> counts;
    for (const AlarmKind kind : kAlarmKinds) counts[AlarmKindName(kind)] = monitor_.OpenCount(kind);
    return counts;
  }

 private:
  void Changed(const Alarm& alarm);

  AlarmStore store_;
  Clock clock_;
  AlarmMonitor monitor_;
  WatchedRooms watched_;
  qint64 driftEveryMs_;
  qint64 nextDriftCheck_ = 0;
  Sink sink_;
};

QJsonObject AlarmJson(const Alarm& alarm);

}  // namespace tavelo::hub
