#pragma once
// One open connection to the service's database with its schema brought up to date.
// A database written by a newer schema is refused and left exactly as it was.
#include <QSqlDatabase>
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

  bool IsOpen() const { return db_.isOpen(); }
  QSqlDatabase& Sql() { return db_; }
  SqlDialect Dialect() const { return dialect_; }
  const DatabaseLocation& Location() const { return location_; }

  // The schema the database holds (0 for an empty one), or -1 when it cannot be read.
  int SchemaVersion();

 private:
  bool Migrate(QString& error);

  QSqlDatabase db_;
  QString connectionName_;
  SqlDialect dialect_ = SqlDialect::Sqlite;
  DatabaseLocation location_;
};

}  // namespace tavelo::hub
