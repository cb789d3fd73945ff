#include "hub/Schema.h"

namespace tavelo::hub {

const std::vector<Migration>& Migrations() {
  static const std::vector<Migration> migrations = {
      {1,
       {
           "CREATE TABLE rooms (id {id}, name TEXT NOT NULL UNIQUE, host TEXT NOT NULL, "
           "port INTEGER NOT NULL)",
           "CREATE TABLE room_caps (room_id BIGINT NOT NULL REFERENCES rooms(id) ON DELETE "
           "CASCADE, name TEXT NOT NULL, maximum INTEGER NOT NULL, PRIMARY KEY (room_id, name))",
           "CREATE TABLE users (id {id}, name TEXT NOT NULL UNIQUE, role TEXT NOT NULL, "
           "password_hash TEXT NOT NULL, created BIGINT NOT NULL)",
           "CREATE TABLE tokens (token_hash TEXT PRIMARY KEY, user_id BIGINT NOT NULL "
           "REFERENCES users(id) ON DELETE CASCADE, expires BIGINT NOT NULL, revoked INTEGER "
           "NOT NULL DEFAULT 0)",
           // Preset contents are kept once, by the SHA-256 of their bytes.
           "CREATE TABLE contents (hash TEXT PRIMARY KEY, bytes {blob} NOT NULL)",
           "CREATE TABLE versions (id {id}, room_id BIGINT NOT NULL REFERENCES rooms(id) ON "
           "DELETE CASCADE, slot INTEGER NOT NULL, content_hash TEXT NOT NULL REFERENCES "
           "contents(hash), time BIGINT NOT NULL, source TEXT NOT NULL, user_name TEXT)",
           "CREATE INDEX versions_by_room ON versions (room_id, slot, id)",
           "CREATE TABLE audit (id {id}, time BIGINT NOT NULL, user_name TEXT, origin TEXT, "
           "room TEXT, name TEXT NOT NULL, old_value TEXT, new_value TEXT)",
           "CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
       }},
      {2,
       {
           // A day-part is kept in its JSON form; the service reads it back through the same
           // checks as a new one.
           "CREATE TABLE schedules (id {id}, name TEXT NOT NULL UNIQUE, definition TEXT NOT "
           "NULL, created BIGINT NOT NULL)",
           // Which occurrence each room last received, so a restart neither repeats nor loses
           // one.
           "CREATE TABLE schedule_applied (room TEXT PRIMARY KEY, part TEXT NOT NULL, due BIGINT "
           "NOT NULL)",
           "CREATE TABLE alarms (id {id}, room TEXT NOT NULL, kind TEXT NOT NULL, detail TEXT NOT "
           "NULL, raised BIGINT NOT NULL, cleared BIGINT)",
           "CREATE INDEX alarms_open ON alarms (cleared, room, kind)",
           // The content a room should hold, by hash; the drift alarm compares against it.
           "CREATE TABLE room_references (room TEXT PRIMARY KEY, content_hash TEXT NOT NULL)",
       }},
  };
  return migrations;
}

int LatestSchemaVersion() {
  return Migrations().back().version;
}

QString ForDialect(const char* statement, SqlDialect dialect) {
  QString text = QString::fromLatin1(statement);
  const bool sqlite = dialect == SqlDialect::Sqlite;
  text.replace(QLatin1String("{id}"), sqlite ? QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT")
                                             : QLatin1String("BIGSERIAL PRIMARY KEY"));
  text.replace(QLatin1String("{blob}"), sqlite ? QLatin1String("BLOB") : QLatin1String("BYTEA"));
  return text;
}

}  // namespace tavelo::hub
