#pragma once
// A throw-away PostgreSQL server for the service's tests: initdb and pg_ctl from Debian's
// postgresql package, run in a temporary folder on a free loopback port, as an unprivileged
// user when the tests run as root (the server refuses root). Removed when destroyed.
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "hub/DatabaseLocation.h"

namespace tavelo::hubtest {

class PostgresServer {
 public:
  PostgresServer();
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  // Empty when the server runs; otherwise why it does not (no binaries, initdb failed...).
  const QString& Problem() const { return problem_; }
  bool Running() const { return problem_.isEmpty() && running_; }

  // A new, empty database on this server.
  hub::DatabaseLocation FreshDatabase();

  bool Stop();
  bool Start();

 private:
  bool RunTool(const QString& tool, const QStringList& args, QString& output, int limitMs);

  QTemporaryDir root_;
  QString bin_;
  QString data_;
  QString problem_;
  int port_ = 0;
  int databases_ = 0;
  bool running_ = false;
};

// The one server of this test process, started on first use.
PostgresServer& SharedPostgres();

}  // namespace tavelo::hubtest
