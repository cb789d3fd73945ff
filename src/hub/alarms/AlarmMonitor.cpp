#include "hub/alarms/AlarmMonitor.h"

#include <QDateTime>

namespace tavelo::hub {

namespace {

QString Minutes(qint64 ms) {
  return QString::number(ms / 60000) + QStringLiteral(" min");
}

QString ShortHash(const QString& hash) {
  return hash.left(12);
}

}  // namespace

AlarmMonitor::AlarmMonitor(AlarmLimits limits, Clock clock, Changed changed)
    : limits_(limits), clock_(std::move(clock)), changed_(std::move(changed)) {}

void AlarmMonitor::Restore(const std::vector<Alarm>& open) {
  for (const Alarm& alarm : open) open_[{alarm.room, alarm.kind}] = alarm;
}

void AlarmMonitor::Observe(const RoomView& room, std::optional<bool> locked) {
  const qint64 now = clock_();
  Watched& watched = rooms_[room.name];
  if (room.online) {
    watched.online = true;
    Clear(room.name, AlarmKind::Offline);
  } else if (watched.online) {
    watched.online = false;
    watched.offlineSince = room.since > 0 ? room.since : now;
  }
  if (!locked) return;
  if (*locked) {
    watched.unlockedSince = 0;
    Clear(room.name, AlarmKind::LockOpen);
  } else if (watched.unlockedSince == 0) {
    watched.unlockedSince = now;
  }
}

void AlarmMonitor::Content(const QString& room, const QString& hash) {
  rooms_[room].hash = hash;
  JudgeDrift(room);
}

void AlarmMonitor::SetReference(const QString& room, const std::optional<QString>& hash) {
  if (hash)
    references_[room] = *hash;
  else
    references_.erase(room);
  JudgeDrift(room);
}

std::optional<QString> AlarmMonitor::Reference(const QString& room) const {
  const auto it = references_.find(room);
  if (it == references_.end()) return std::nullopt;
  return it->second;
}

void AlarmMonitor::JudgeDrift(const QString& room) {
  const auto reference = references_.find(room);
  if (reference == references_.end()) {
    Clear(room, AlarmKind::Drift);
    return;
  }
  const QString& hash = rooms_[room].hash;
  if (hash.isEmpty()) return;  // not read yet: no verdict
  if (hash == reference->second)
    Clear(room, AlarmKind::Drift);
  else
    Raise(room, AlarmKind::Drift,
          QStringLiteral("the room holds %1, not its reference %2")
              .arg(ShortHash(hash), ShortHash(reference->second)));
}

void AlarmMonitor::WriteRefused(const QString& room, const QString& why) {
  Raise(room, AlarmKind::WriteRefused, why.left(300));
}

void AlarmMonitor::WriteTaken(const QString& room) {
  Clear(room, AlarmKind::WriteRefused);
}

void AlarmMonitor::Tick() {
  const qint64 now = clock_();
  for (const auto& [room, watched] : rooms_) {
    if (!watched.online && now - watched.offlineSince >= limits_.offlineMs)
      Raise(room, AlarmKind::Offline,
            QStringLiteral("offline since %1 (%2)")
                .arg(QDateTime::fromMSecsSinceEpoch(watched.offlineSince, Qt::UTC)
                         .toString(Qt::ISODate),
                     Minutes(now - watched.offlineSince)));
    if (watched.unlockedSince != 0 && now - watched.unlockedSince >= limits_.lockOpenMs)
      Raise(
          room, AlarmKind::LockOpen,
          QStringLiteral("adjustments unlocked for %1").arg(Minutes(now - watched.unlockedSince)));
  }
}

void AlarmMonitor::Raise(const QString& room, AlarmKind kind, const QString& detail) {
  if (open_.count({room, kind})) return;
  const Alarm alarm{0, room, kind, detail, clock_(), 0};
  open_[{room, kind}] = alarm;
  if (changed_) changed_(alarm);
}

void AlarmMonitor::Clear(const QString& room, AlarmKind kind) {
  const auto it = open_.find({room, kind});
  if (it == open_.end()) return;
  Alarm alarm = it->second;
  open_.erase(it);
  alarm.cleared = clock_();
  if (changed_) changed_(alarm);
}

std::vector<Alarm> AlarmMonitor::Open() const {
  std::vector<Alarm> open;
  for (const auto& [key, alarm] : open_) open.push_back(alarm);
  return open;
}

int AlarmMonitor::OpenCount(AlarmKind kind) const {
  int count = 0;
  for (const auto& [key, alarm] : open_) count += alarm.kind == kind ? 1 : 0;
  return count;
}

}  // namespace tavelo::hub
