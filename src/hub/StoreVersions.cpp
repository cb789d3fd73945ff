// The store's preset contents (kept once, by hash) and the versions that name them.
#include <QCryptographicHash>

#include "hub/Store.h"
#include "hub/StoreSupport.h"

namespace tavelo::hub {

namespace {

StoredVersion VersionFrom(const QSqlQuery& query) {
  return {query.value(0).toLongLong(), query.value(1).toString(),   query.value(2).toInt(),
          query.value(3).toString(),   query.value(4).toLongLong(), query.value(5).toString(),
          query.value(6).toString()};
}

const QString kVersionColumns = QStringLiteral(
    "SELECT v.id, r.name, v.slot, v.content_hash, v.time, v.source, v.user_name FROM versions v "
    "JOIN rooms r ON r.id = v.room_id ");

}  // namespace

QString Store::ContentHash(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

Recorded Store::RecordVersion(const QString& room, int slot, const QByteArray& bytes, qint64 time,
                              const QString& source, const QString& user) {
  Recorded recorded;
  const auto roomId = RoomId(room);
  if (!roomId) return recorded;
  const QString hash = ContentHash(bytes);
  QSqlDatabase& db = db_.Sql();
  if (!db.transaction()) {
    FailSql(db.lastError());
    return recorded;
  }
  QSqlQuery query(db);
  bool ok = Run(query,
                QStringLiteral("SELECT content_hash FROM versions WHERE room_id = ? AND slot = ? "
                               "ORDER BY id DESC LIMIT 1"),
                {*roomId, slot}, error_);
  const bool same = ok && query.next() && query.value(0).toString() == hash;
  if (ok && !same) {
    ok = Run(query,
             QStringLiteral("INSERT INTO contents (hash, bytes) VALUES (?, ?) ON CONFLICT (hash) "
                            "DO NOTHING"),
             {hash, bytes}, error_) &&
         Run(query,
             QStringLiteral("INSERT INTO versions (room_id, slot, content_hash, time, source, "
                            "user_name) VALUES (?, ?, ?, ?, ?, ?) RETURNING id"),
             {*roomId, slot, hash, time, source.isNull() ? QStringLiteral("") : source,
              user.isEmpty() ? QVariant() : QVariant(user)},
             error_) &&
         query.next();
    if (ok) recorded.id = query.value(0).toLongLong();
  }
  query.finish();
  if (ok && db.commit()) {
    recorded.ok = true;
    recorded.added = !same;
    return recorded;
  }
  if (ok) FailSql(db.lastError());
  db.rollback();
  recorded.id = 0;
  return recorded;
}

std::optional<std::vector<StoredVersion>> Store::History(const QString& room, int limit) {
  if (!RoomId(room)) return std::nullopt;
  QSqlQuery query(db_.Sql());
  if (!Run(query, kVersionColumns + QStringLiteral("WHERE r.name = ? ORDER BY v.id DESC LIMIT ?"),
           {room, limit}, error_))
    return std::nullopt;
  std::vector<StoredVersion> versions;
  while (query.next()) versions.push_back(VersionFrom(query));
  return versions;
}

std::optional<StoredVersion> Store::Version(qint64 id) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, kVersionColumns + QStringLiteral("WHERE v.id = ?"), {id}, error_))
    return std::nullopt;
  if (!query.next()) {
    error_ = QStringLiteral("there is no version %1").arg(id);
    return std::nullopt;
  }
  return VersionFrom(query);
}

std::optional<QByteArray> Store::Content(const QString& hash) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT bytes FROM contents WHERE hash = ?"), {hash}, error_))
    return std::nullopt;
  if (!query.next()) {
    error_ = QStringLiteral("no content has the hash %1").arg(hash);
    return std::nullopt;
  }
  QByteArray bytes = query.value(0).toByteArray();
  // Whatever the database hands back is checked against the hash that names it.
  if (ContentHash(bytes) != hash) {
    error_ = QStringLiteral("the stored content %1 does not match its hash").arg(hash);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace tavelo::hub
