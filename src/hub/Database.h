#pragma once
// One open connection to the service's database with its schema brought up to date.
// A database written by a newer schema is refused and left exactly as it was.
// A PostgreSQL server may stop and return under a running service: a statement that fails
// because the connection is gone marks it lost, and the next use (at most once a second)
// opens it again, so the service needs no restart.
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include "hub/DatabaseLocation.h"
#include "hub/Schema.h"

namespace tavelo::hub {

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Connects and applies the migrations the database lacks, all or none. On failure
  // `error` says what failed and why, and the connection is closed.
  bool Open(const DatabaseLocation& location, QString& error);
  void Close();

  // How long SQLite waits for another connection's write lock before a statement fails with
  // "database is locked". Set before Open. A service keeps it short: its event loop stands
  // still while it waits.
  void SetBusyTimeoutMs(int ms) { busyTimeoutMs_ = ms; }

  bool IsOpen() const { return db_.isOpen(); }
  // The connection, opened again first when it was lost and a second has passed since the
  // last attempt.
  QSqlDatabase& Sql();
  SqlDialect Dialect() const { return dialect_; }
  const DatabaseLocation& Location() const { return location_; }

  enum class Fault { None, Locked, Unreachable, Refused };
  // What a failed statement's error means: another connection's write lock, a server that
  // cannot be reached (the connection is then marked lost), or a statement the database
  // refused.
  Fault Classify(const QSqlError& error);
  bool Lost() const { return lost_; }
  const QString& LostReason() const { return lostReason_; }

  // For a timer: checks an idle connection and opens a lost one again. Returns a line for the
  // log when the state changed ("unreachable: ...", "reachable again"), else nothing.
  QString KeepAlive();
  // The schema the database holds (0 for an empty one), or -1 when it cannot be read.
  int SchemaVersion();

 private:
  bool Migrate(QString& error);
  bool Probe(QString* why = nullptr);
  bool Reconnect();
  void Configure();

  QSqlDatabase db_;
  QString connectionName_;
  SqlDialect dialect_ = SqlDialect::Sqlite;
  DatabaseLocation location_;
  int busyTimeoutMs_ = 5000;
  bool lost_ = false;
  QString lostReason_;
  QElapsedTimer lastAttempt_;
};

}  // namespace tavelo::hub
