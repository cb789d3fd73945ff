#include "PostgresServer.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QThread>

namespace tavelo::hubtest {

namespace {

const QString kSuperuser = QStringLiteral("tavelo");

QString FindBinaries() {
  const QDir versions(QStringLiteral("/usr/lib/postgresql"));
  QStringList names = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
  for (const QString& name : names) {
    const QString bin = versions.filePath(name + QStringLiteral("/bin"));
    if (QFile::exists(bin + QStringLiteral("/initdb"))) return bin;
  }
  return {};
}

int FreePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

}  // namespace

PostgresServer::PostgresServer() {
  bin_ = FindBinaries();
  if (bin_.isEmpty()) {
    problem_ = QStringLiteral("PostgreSQL's initdb is not installed (Debian package postgresql)");
    return;
  }
  if (!root_.isValid()) {
    problem_ = QStringLiteral("no temporary folder");
    return;
  }
  // The server's user must reach and own its folder.
  QFile::setPermissions(root_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                          QFile::ExeGroup);
  data_ = root_.path() + QStringLiteral("/data");
  QDir().mkpath(data_);
  if (geteuid() == 0 && chown(data_.toLocal8Bit().constData(), 65534, 65534) != 0) {
    problem_ = QStringLiteral("cannot hand the data folder to the unprivileged user");
    return;
  }
  QString output;
  if (!RunTool(QStringLiteral("initdb"),
               {QStringLiteral("-D"), data_, QStringLiteral("-U"), kSuperuser,
                QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                QStringLiteral("--no-sync"), QStringLiteral("--no-instructions")},
               output, 60000)) {
    problem_ = QStringLiteral("initdb failed: ") + output;
    return;
  }
  port_ = FreePort();
  if (!Start()) return;
}

PostgresServer::~PostgresServer() {
  if (running_) Stop();
}

bool PostgresServer::RunTool(const QString& tool, const QStringList& args, QString& output,
                             int limitMs) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(root_.path());
  const QString path = bin_ + QLatin1Char('/') + tool;
  if (geteuid() == 0)
    process.start(
        QStringLiteral("runuser"),
        QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"), path} +
            args);
  else
    process.start(path, args);
  if (!process.waitForFinished(limitMs)) {
    process.kill();
    process.waitForFinished(2000);
    output = tool + QStringLiteral(" did not finish in time");
    return false;
  }
  output = QString::fromLocal8Bit(process.readAll());
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PostgresServer::Start() {
  const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                              .arg(port_)
                              .arg(data_);
  QString output;
  if (!RunTool(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"), data_, QStringLiteral("-l"), data_ + QStringLiteral("/log"),
                QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                QStringLiteral("-o"), options, QStringLiteral("start")},
               output, 70000)) {
    QFile log(data_ + QStringLiteral("/log"));
    if (log.open(QIODevice::ReadOnly)) output += QString::fromLocal8Bit(log.readAll());
    problem_ = QStringLiteral("the server did not start: ") + output;
    return false;
  }
  running_ = true;
  return true;
}

bool PostgresServer::Stop() {
  QString output;
  const bool ok = RunTool(QStringLiteral("pg_ctl"),
                          {QStringLiteral("-D"), data_, QStringLiteral("-m"),
                           QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")},
                          output, 60000);
  running_ = !ok;
  return ok;
}

hub::DatabaseLocation PostgresServer::FreshDatabase() {
  hub::DatabaseLocation location;
  location.kind = hub::DatabaseLocation::Kind::Postgres;
  location.host = QStringLiteral("127.0.0.1");
  location.port = port_;
  location.user = kSuperuser;
  location.database = QStringLiteral("test_%1").arg(++databases_);
  const QString connection = QStringLiteral("postgres-admin-%1").arg(databases_);
  {
    QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    admin.setHostName(location.host);
    admin.setPort(port_);
    admin.setUserName(kSuperuser);
    admin.setDatabaseName(QStringLiteral("postgres"));
    if (admin.open()) {
      QSqlQuery query(admin);
      if (!query.exec(QStringLiteral("CREATE DATABASE ") + location.database))
        problem_ = QStringLiteral("CREATE DATABASE failed: ") + query.lastError().text();
    } else {
      problem_ = QStringLiteral("cannot reach the test server: ") + admin.lastError().text();
    }
    admin.close();
  }
  QSqlDatabase::removeDatabase(connection);
  return location;
}

PostgresServer& SharedPostgres() {
  static PostgresServer server;
  return server;
}

}  // namespace tavelo::hubtest
