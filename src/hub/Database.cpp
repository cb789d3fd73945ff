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
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
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
  Configure();
  QString why;
  if (!Migrate(why)) {
    error = QStringLiteral("database %1: %2").arg(shown, why);
    Close();
    return false;
  }
  return true;
}

void Database::Configure() {
  if (dialect_ != SqlDialect::Sqlite) return;
  QString ignored;
  Exec(db_, QStringLiteral("PRAGMA foreign_keys = ON"), ignored);
  Exec(db_, QStringLiteral("PRAGMA journal_mode = WAL"), ignored);
}

QSqlDatabase& Database::Sql() {
  if (lost_ && (!lastAttempt_.isValid() || lastAttempt_.elapsed() >= 1000)) Reconnect();
  return db_;
}

bool Database::Probe(QString* why) {
  QSqlQuery query(db_);
  if (db_.isOpen() && query.exec(QStringLiteral("SELECT 1"))) return true;
  if (why) *why = Why(query.lastError());
  return false;
}

bool Database::Reconnect() {
  lastAttempt_.start();
  db_.close();
  if (!db_.open()) {
    lostReason_ = Why(db_.lastError());
    return false;
  }
  Configure();
  lost_ = false;
  lostReason_.clear();
  return true;
}

Database::Fault Database::Classify(const QSqlError& error) {
  const QString code = error.nativeErrorCode();
  if (dialect_ == SqlDialect::Sqlite) {
    // SQLITE_BUSY and SQLITE_LOCKED, with their extended codes.
    const int number = code.toInt();
    if (number % 256 == 5 || number % 256 == 6 ||
        error.text().contains(QStringLiteral("locked"), Qt::CaseInsensitive))
      return Fault::Locked;
    return Fault::Refused;
  }
  // PostgreSQL names every error it reports with a SQLSTATE; none means the client lost the
  // server. Class 08 is a connection failure, 57P an administrator's shutdown.
  const bool gone = error.type() == QSqlError::ConnectionError ||
                    code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")) ||
                    (code.isEmpty() && !Probe());
  if (!gone) return Fault::Refused;
  if (!lost_) {
    lost_ = true;
    lostReason_ = Why(error);
    // A server that is back already (the connection was merely stale) is taken at once.
    Reconnect();
  }
  return Fault::Unreachable;
}

QString Database::KeepAlive() {
  if (dialect_ != SqlDialect::Postgres) return {};
  if (lost_) {
    if (!Reconnect()) return {};
    return QStringLiteral("database %1 is reachable again").arg(location_.Shown());
  }
  QString why;
  if (Probe(&why)) return {};
  lost_ = true;
  lostReason_ = why;
  Reconnect();
  if (!lost_) return {};
  return QStringLiteral("database %1 cannot be reached: %2").arg(location_.Shown(), lostReason_);
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
