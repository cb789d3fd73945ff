#pragma once
// Where the service keeps its data, as `--database` names it: a file for the embedded SQLite
// database, or a postgresql:// address for a server several services can share.
#include <QString>
#include <optional>

namespace tavelo::hub {

struct DatabaseLocation {
  enum class Kind { Sqlite, Postgres };
  Kind kind = Kind::Sqlite;
  QString file;  // SQLite
  QString host;  // PostgreSQL
  int port = 5432;
  QString user;
  QString password;
  QString database;

  // What a message may show: never the password.
  QString Shown() const;
};

// Reads a `--database` argument: "postgresql://user:pw@host:port/db" (or "postgres://")
// names a server; anything else is a file path. On a malformed address `error` says what is
// wrong and nothing is returned.
std::optional<DatabaseLocation> ParseDatabaseLocation(const QString& text, QString& error);

// The default: hub.sqlite in the user's data folder for this program.
DatabaseLocation DefaultDatabaseLocation();

}  // namespace tavelo::hub
