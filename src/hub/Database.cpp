#include "hub/Database.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace tavelo::hub {

namespace {

QString NextConnectionName() {
  static QAtomicInt counter;
  return QStringLiteral("tavelo-hub-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString Why(const QSqlError& error) {
  const QString text = error.text().trimmed();
  return text.isEmpty() ? QStringLiteral("no reason given") : text;
}

bool Exec(QSqlDatabase& db, const QString& statement, QString& error) {
  QSqlQuery query(db);
  if (query.exec(statement)) return true;
  error = Why(query.lastError());
  return false;
}

}  // namespace

Database::~Database() {
  Close();
}

void Database::Close() {
  if (connectionName_.isEmpty()) return;
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
  connectionName_.clear();
}

bool Database::Open(const DatabaseLocation& location, QString& error) {
  Close();
  location_ = location;
  connectionName_ = NextConnectionName();
  const QString shown = location.Shown();
  if (location.kind == DatabaseLocation::Kind::Sqlite) {
    dialect_ = SqlDialect::Sqlite;
    const QFileInfo file(location.file);
    if (!QDir().mkpath(file.absolutePath())) {
      error =
          QStringLiteral("cannot create the folder %1 for the database").arg(file.absolutePath());
      Close();
      return false;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(location.file);
    // Another service or a `tavelo-hub user` command may hold the file for a moment.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
  } else {
    dialect_ = SqlDialect::Postgres;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
    db_.setHostName(location.host);
    db_.setPort(location.port);
    db_.setUserName(location.user);
    db_.setPassword(location.password);
    db_.setDatabaseName(location.database);
    db_.setConnectOptions(QStringLiteral("connect_timeout=5"));
  }
  if (!db_.isValid()) {
    error = QStringLiteral("the Qt SQL driver for %1 is not installed")
                .arg(dialect_ == SqlDialect::Sqlite ? QStringLiteral("SQLite")
                                                    : QStringLiteral("PostgreSQL"));
    Close();
    return false;
  }
  if (!db_.open()) {
    error = QStringLiteral("cannot open the database %1: %2").arg(shown, Why(db_.lastError()));
    Close();
    return false;
  }
  if (dialect_ == SqlDialect::Sqlite) {
    QString ignored;
    Exec(db_, QStringLiteral("PRAGMA foreign_keys = ON"), ignored);
    Exec(db_, QStringLiteral("PRAGMA journal_mode = WAL"), ignored);
  }
  QString why;
  if (!Migrate(why)) {
    error = QStringLiteral("database %1: %2").arg(shown, why);
    Close();
    return false;
  }
  return true;
}

int Database::SchemaVersion() {
  if (!db_.tables().contains(QStringLiteral("schema_version"))) return 0;
  QSqlQuery query(db_);
  if (!query.exec(QStringLiteral("SELECT version FROM schema_version")) || !query.next()) return -1;
  return query.value(0).toInt();
}

bool Database::Migrate(QString& error) {
  // SQLite: take the write lock before reading the version; PostgreSQL: serialize services
  // that start together on one database.
  const bool sqlite = dialect_ == SqlDialect::Sqlite;
  if (!Exec(db_, sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"), error))
    return false;
  auto fail = [&](const QString& why) {
    QString ignored;
    Exec(db_, QStringLiteral("ROLLBACK"), ignored);
    error = why;
    return false;
  };
  if (!sqlite) {
    QString why;
    if (!Exec(db_, QStringLiteral("SELECT pg_advisory_xact_lock(7290519)"), why))
      return fail(QStringLiteral("cannot lock the schema: ") + why);
  }
  const int current = SchemaVersion();
  const int latest = LatestSchemaVersion();
  if (current < 0) return fail(QStringLiteral("its schema version cannot be read"));
  if (current > latest)
    return fail(QStringLiteral("it was written by a newer tavelo-hub (schema %1; this program "
                               "knows up to %2). Use that version or a newer one; the database "
                               "was left unchanged.")
                    .arg(current)
                    .arg(latest));
  if (current == latest) return Exec(db_, QStringLiteral("COMMIT"), error);
  QString why;
  if (current == 0 &&
      !Exec(db_, QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"), why))
    return fail(why);
  if (current == 0 && !Exec(db_, QStringLiteral("INSERT INTO schema_version VALUES (0)"), why))
    return fail(why);
  for (const Migration& migration : Migrations()) {
    if (migration.version <= current) continue;
    for (const char* statement : migration.statements) {
      if (!Exec(db_, ForDialect(statement, dialect_), why))
        return fail(
            QStringLiteral("migration to schema %1 failed: %2").arg(migration.version).arg(why));
    }
    if (!Exec(db_, QStringLiteral("UPDATE schema_version SET version = %1").arg(migration.version),
              why))
      return fail(why);
  }
  if (!Exec(db_, QStringLiteral("COMMIT"), why)) return fail(why);
  return true;
}

}  // namespace tavelo::hub
