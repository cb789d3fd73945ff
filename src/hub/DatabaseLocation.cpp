#include "hub/DatabaseLocation.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

namespace tavelo::hub {

QString DatabaseLocation::Shown() const {
  if (kind == Kind::Sqlite) return file;
  QString text = QStringLiteral("postgresql://");
  if (!user.isEmpty()) text += user + QLatin1Char('@');
  return text + host + QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + database;
}

std::optional<DatabaseLocation> ParseDatabaseLocation(const QString& text, QString& error) {
  DatabaseLocation location;
  if (!text.startsWith(QLatin1String("postgresql://")) &&
      !text.startsWith(QLatin1String("postgres://"))) {
    if (text.isEmpty()) {
      error = QStringLiteral("--database needs a file or a postgresql:// address");
      return std::nullopt;
    }
    location.file = text;
    return location;
  }
  const QUrl url(text, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) {
    error = QStringLiteral(
        "--database: not a postgresql://[USER[:PASSWORD]@]HOST[:PORT]/DATABASE "
        "address");
    return std::nullopt;
  }
  location.kind = DatabaseLocation::Kind::Postgres;
  location.host = url.host();
  location.port = url.port(5432);
  location.user = url.userName();
  location.password = url.password();
  location.database = url.path().mid(1);
  if (location.database.isEmpty() || location.database.contains(QLatin1Char('/'))) {
    error = QStringLiteral(
        "--database: the address must name one database after the host, "
        "as in postgresql://tavelo@localhost/tavelo");
    return std::nullopt;
  }
  return location;
}

DatabaseLocation DefaultDatabaseLocation() {
  DatabaseLocation location;
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (folder.isEmpty()) folder = QDir::homePath();
  location.file = folder + QStringLiteral("/tavelo-hub/hub.sqlite");
  return location;
}

}  // namespace tavelo::hub
