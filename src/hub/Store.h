#pragma once
// What the service keeps: rooms and their caps, preset contents by hash and the versions
// that point at them, users and their tokens, the audit log and settings. Every call is one
// statement or one transaction; a failed one returns false (or nothing) and leaves
// lastError() saying why, so the caller can report a storage fault and keep serving.
#include <QByteArray>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "hub/Database.h"

namespace tavelo::hub {

struct StoredRoom {
  qint64 id = 0;
  QString name;
  QString host;
  int port = 0;
};

// Slot 0 is the room's working set; 1..10 its stored presets as the panel numbers them.
struct StoredVersion {
  qint64 id = 0;
  QString room;
  int slot = 0;
  QString contentHash;
  qint64 time = 0;  // milliseconds since 1970 (UTC)
  QString source;
  QString user;  // empty when no user caused it (front panel, outside change)
};

struct StoredUser {
  qint64 id = 0;
  QString name;
  QString role;
  QString passwordHash;
};

struct AuditEntry {
  qint64 time = 0;
  QString user;
  QString origin;  // the client's address
  QString room;
  QString name;  // the named value, or the action
  QString oldValue;
  QString newValue;
};

// The outcome of recording a version: a new one, or none because the content is the same as
// the slot's latest.
struct Recorded {
  bool ok = false;
  bool added = false;
  qint64 id = 0;
};

class Store {
 public:
  explicit Store(Database& db) : db_(db) {}

  const QString& lastError() const { return error_; }
  // What kind of storage fault the last failure was; None for a refusal of the store's own
  // ("no room is named ...").
  Database::Fault lastFault() const { return fault_; }
  // For a timer: see Database::KeepAlive.
  QString KeepAlive() { return db_.KeepAlive(); }

  // Rooms
  std::optional<qint64> PutRoom(const QString& name, const QString& host, int port);
  std::optional<std::vector<StoredRoom>> Rooms();
  bool RemoveRoom(const QString& name);
  bool SetCaps(const QString& room, const std::map<QString, int>& caps);
  std::optional<std::map<QString, int>> Caps(const QString& room);

  // Contents and versions
  static QString ContentHash(const QByteArray& bytes);
  // How much of a content hash the log shows: enough to tell contents apart.
  static constexpr int kShownHashChars = 16;
  Recorded RecordVersion(const QString& room, int slot, const QByteArray& bytes, qint64 time,
                         const QString& source, const QString& user);
  std::optional<std::vector<StoredVersion>> History(const QString& room, int limit);
  std::optional<StoredVersion> Version(qint64 id);
  std::optional<QByteArray> Content(const QString& hash);

  // Audit log and settings
  bool Audit(const AuditEntry& entry);
  std::optional<std::vector<AuditEntry>> AuditLog(const QString& room, int limit);
  std::optional<QString> Setting(const QString& key);
  bool SetSetting(const QString& key, const QString& value);

  // Users and tokens (the token's hash is stored, never the token)
  bool AddUser(const QString& name, const QString& role, const QString& passwordHash, qint64 time);
  bool RemoveUser(const QString& name);
  bool SetPasswordHash(const QString& name, const QString& passwordHash);
  std::optional<StoredUser> User(const QString& name);  // nothing when absent or on a fault
  std::optional<std::vector<StoredUser>> Users();
  bool AddToken(const QString& tokenHash, qint64 userId, qint64 expires);
  // The token's user, and when the token expires.
  std::optional<StoredUser> TokenUser(const QString& tokenHash, qint64 now,
                                      qint64* expires = nullptr);
  bool RevokeToken(const QString& tokenHash);
  bool RevokeTokensOf(qint64 userId);

 private:
  std::optional<qint64> RoomId(const QString& name);
  bool Fail(const QString& why);
  // A failed transaction begin or commit: its reason and what kind of fault it is.
  bool FailSql(const QSqlError& error);
  // Every statement of the store goes through here: it fails at once while the database is
  // unreachable, and notes the kind of each failure.
  bool Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values,
           QString& why);

  Database& db_;
  QString error_;
  Database::Fault fault_ = Database::Fault::None;
};

}  // namespace tavelo::hub
