// The store's rooms, caps, audit log and settings.
#include "hub/Store.h"

#include "hub/StoreSupport.h"

namespace tavelo::hub {

bool Store::Fail(const QString& why) {
  error_ = why;
  fault_ = Database::Fault::None;
  return false;
}

bool Store::FailSql(const QSqlError& error) {
  error_ = SqlWhy(error);
  fault_ = db_.Classify(error);
  return false;
}

bool Store::Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values,
                QString& why) {
  if (db_.Lost()) {
    why = QStringLiteral("the database cannot be reached (%1)").arg(db_.LostReason());
    fault_ = Database::Fault::Unreachable;
    return false;
  }
  if (RunStatement(query, sql, values, why)) {
    fault_ = Database::Fault::None;
    return true;
  }
  fault_ = db_.Classify(query.lastError());
  return false;
}

std::optional<qint64> Store::RoomId(const QString& name) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT id FROM rooms WHERE name = ?"), {name}, error_))
    return std::nullopt;
  if (!query.next()) {
    Fail(QStringLiteral("no room is named \"%1\"").arg(name));
    return std::nullopt;
  }
  return query.value(0).toLongLong();
}

std::optional<qint64> Store::PutRoom(const QString& name, const QString& host, int port) {
  QSqlQuery query(db_.Sql());
  if (!Run(query,
           QStringLiteral("INSERT INTO rooms (name, host, port) VALUES (?, ?, ?) ON CONFLICT "
                          "(name) DO UPDATE SET host = excluded.host, port = excluded.port "
                          "RETURNING id"),
           {name, host, port}, error_) ||
      !query.next())
    return std::nullopt;
  return query.value(0).toLongLong();
}

std::optional<std::vector<StoredRoom>> Store::Rooms() {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT id, name, host, port FROM rooms ORDER BY name"), {},
           error_))
    return std::nullopt;
  std::vector<StoredRoom> rooms;
  while (query.next())
    rooms.push_back({query.value(0).toLongLong(), query.value(1).toString(),
                     query.value(2).toString(), query.value(3).toInt()});
  return rooms;
}

bool Store::RemoveRoom(const QString& name) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("DELETE FROM rooms WHERE name = ?"), {name}, error_)) return false;
  if (query.numRowsAffected() == 0)
    return Fail(QStringLiteral("no room is named \"%1\"").arg(name));
  return true;
}

bool Store::SetCaps(const QString& room, const std::map<QString, int>& caps) {
  const auto id = RoomId(room);
  if (!id) return false;
  QSqlDatabase& db = db_.Sql();
  if (!db.transaction()) return FailSql(db.lastError());
  QSqlQuery query(db);
  bool ok = Run(query, QStringLiteral("DELETE FROM room_caps WHERE room_id = ?"), {*id}, error_);
  for (auto it = caps.begin(); ok && it != caps.end(); ++it)
    ok = Run(query,
             QStringLiteral("INSERT INTO room_caps (room_id, name, maximum) VALUES (?, ?, ?)"),
             {*id, it->first, it->second}, error_);
  if (ok && db.commit()) return true;
  if (ok) FailSql(db.lastError());
  db.rollback();
  return false;
}

std::optional<std::map<QString, int>> Store::Caps(const QString& room) {
  const auto id = RoomId(room);
  if (!id) return std::nullopt;
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT name, maximum FROM room_caps WHERE room_id = ?"), {*id},
           error_))
    return std::nullopt;
  std::map<QString, int> caps;
  while (query.next()) caps[query.value(0).toString()] = query.value(1).toInt();
  return caps;
}

bool Store::Audit(const AuditEntry& e) {
  QSqlQuery query(db_.Sql());
  return Run(query,
             QStringLiteral("INSERT INTO audit (time, user_name, origin, room, name, old_value, "
                            "new_value) VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {e.time, e.user, e.origin, e.room, e.name, e.oldValue, e.newValue}, error_);
}

std::optional<std::vector<AuditEntry>> Store::AuditLog(const QString& room, int limit) {
  QSqlQuery query(db_.Sql());
  if (!Run(query,
           QStringLiteral("SELECT time, user_name, origin, room, name, old_value, new_value FROM "
                          "audit WHERE room = ? ORDER BY id DESC LIMIT ?"),
           {room, limit}, error_))
    return std::nullopt;
  std::vector<AuditEntry> entries;
  while (query.next())
    entries.push_back({query.value(0).toLongLong(), query.value(1).toString(),
                       query.value(2).toString(), query.value(3).toString(),
                       query.value(4).toString(), query.value(5).toString(),
                       query.value(6).toString()});
  return entries;
}

std::optional<QString> Store::Setting(const QString& key) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT value FROM settings WHERE key = ?"), {key}, error_))
    return std::nullopt;
  if (!query.next()) {
    error_.clear();
    return std::nullopt;
  }
  return query.value(0).toString();
}

bool Store::SetSetting(const QString& key, const QString& value) {
  QSqlQuery query(db_.Sql());
  return Run(query,
             QStringLiteral("INSERT INTO settings (key, value) VALUES (?, ?) ON CONFLICT (key) DO "
                            "UPDATE SET value = excluded.value"),
             {key, value}, error_);
}

}  // namespace tavelo::hub
