#include "hub/alarms/AlarmStore.h"

#include "hub/StoreSupport.h"

namespace tavelo::hub {

bool AlarmStore::Record(const Alarm& alarm) {
  QSqlQuery query(db_.Sql());
  if (alarm.cleared == 0)
    return RunStatement(
        query,
        QStringLiteral("INSERT INTO alarms (room, kind, detail, raised) VALUES (?, ?, ?, ?)"),
        {alarm.room, AlarmKindName(alarm.kind), alarm.detail, alarm.raised}, error_);
  return RunStatement(
      query,
      QStringLiteral("UPDATE alarms SET cleared = ? WHERE room = ? AND kind = ? AND "
                     "cleared IS NULL"),
      {alarm.cleared, alarm.room, AlarmKindName(alarm.kind)}, error_);
}

std::optional<std::vector<Alarm>> AlarmStore::Select(const QString& tail, const QVariant& limit) {
  QSqlQuery query(db_.Sql());
  const QString sql =
      QStringLiteral("SELECT id, room, kind, detail, raised, cleared FROM alarms ") + tail;
  if (!(limit.isValid() ? RunStatement(query, sql, {limit}, error_)
                        : RunStatement(query, sql, {}, error_)))
    return std::nullopt;
  std::vector<Alarm> alarms;
  while (query.next()) {
    const auto kind = ParseAlarmKind(query.value(2).toString());
    if (!kind) continue;  // written by a newer service
    alarms.push_back({query.value(0).toLongLong(), query.value(1).toString(), *kind,
                      query.value(3).toString(), query.value(4).toLongLong(),
                      query.value(5).isNull() ? 0 : query.value(5).toLongLong()});
  }
  return alarms;
}

std::optional<std::vector<Alarm>> AlarmStore::Open() {
  return Select(QStringLiteral("WHERE cleared IS NULL ORDER BY id"), {});
}

std::optional<std::vector<Alarm>> AlarmStore::Recent(int limit) {
  return Select(QStringLiteral("ORDER BY id DESC LIMIT ?"), limit);
}

std::optional<std::map<QString, QString>> AlarmStore::References() {
  QSqlQuery query(db_.Sql());
  if (!RunStatement(query, QStringLiteral("SELECT room, content_hash FROM room_references"), {},
                    error_))
    return std::nullopt;
  std::map<QString, QString> references;
  while (query.next()) references[query.value(0).toString()] = query.value(1).toString();
  return references;
}

bool AlarmStore::SetReference(const QString& room, const QString& contentHash) {
  QSqlQuery query(db_.Sql());
  return RunStatement(
      query,
      QStringLiteral("INSERT INTO room_references (room, content_hash) VALUES (?, ?) ON "
                     "CONFLICT (room) DO UPDATE SET content_hash = excluded.content_hash"),
      {room, contentHash}, error_);
}

bool AlarmStore::RemoveReference(const QString& room) {
  QSqlQuery query(db_.Sql());
  return RunStatement(query, QStringLiteral("DELETE FROM room_references WHERE room = ?"), {room},
                      error_);
}

}  // namespace tavelo::hub
