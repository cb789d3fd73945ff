// tavelo-hub as a program: the first start prints a one-time password that logs in over
// HTTP on loopback, the event WebSocket wants a valid token, the user and room commands
// work on the same database, and a newer database is refused by every command.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>

#include "HttpClient.h"
#include "HubTestSupport.h"
#include "hub/Database.h"
#include "hub/Store.h"

namespace tavelo::hub {
namespace {

using hubtest::Http;
using hubtest::HttpReply;

struct HubRun {
  int exitCode = -1;
  QString out;
  QString err;
};

HubRun RunHub(const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  process.start(QStringLiteral(TAVELO_HUB_PATH), args);
  process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(30000)) process.kill();
  process.waitForFinished(2000);
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

// A running `tavelo-hub serve` on a free loopback port, stopped when the test ends.
class Service {
 public:
  explicit Service(const QString& database) {
    process_.start(QStringLiteral(TAVELO_HUB_PATH),
                   {QStringLiteral("serve"), QStringLiteral("--database"), database,
                    QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000 && !out_.contains(QStringLiteral("listening on"))) {
      process_.waitForReadyRead(200);
      out_ += QString::fromUtf8(process_.readAllStandardOutput());
    }
    const auto port = QRegularExpression(QStringLiteral("127\\.0\\.0\\.1:(\\d+)")).match(out_);
    if (port.hasMatch()) port_ = port.captured(1).toInt();
    const auto pw = QRegularExpression(QStringLiteral("one-time password (\\S+)")).match(out_);
    if (pw.hasMatch()) password_ = pw.captured(1);
  }
  ~Service() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(2000);
  }
  int Port() const { return port_; }
  const QString& Password() const { return password_; }
  const QString& Out() const { return out_; }

 private:
  QProcess process_;
  QString out_;
  QString password_;
  int port_ = 0;
};

TEST(HubProcessTest, FirstStartLogsInOverHttpAndGuardsTheEvents) {
  hubtest::App();
  QTemporaryDir dir;
  const QString database = dir.filePath(QStringLiteral("hub.sqlite"));
  Service service(database);
  ASSERT_GT(service.Port(), 0) << service.Out().toStdString();
  ASSERT_EQ(service.Password().size(), 16) << service.Out().toStdString();
  const QString base = QStringLiteral("http://127.0.0.1:%1/api/v1/").arg(service.Port());

  QNetworkAccessManager net;
  EXPECT_EQ(Http(net, "POST", base + QStringLiteral("session"), {},
                 R"({"user": "owner", "password": "guess"})")
                .status,
            401);
  // Failed logins slow the name down: wait as the reply says.
  HttpReply login;
  for (int attempt = 0; attempt < 20; ++attempt) {
    login = Http(
        net, "POST", base + QStringLiteral("session"), {},
        QStringLiteral(R"({"user": "owner", "password": "%1"})").arg(service.Password()).toUtf8());
    if (login.status != 429) break;
    QTest::qWait(300);
  }
  ASSERT_EQ(login.status, 200) << login.body.toStdString();
  const QByteArray token = QJsonDocument::fromJson(login.body)
                               .object()
                               .value(QStringLiteral("token"))
                               .toString()
                               .toLatin1();

  // A bad token's socket is closed; a good one stays.
  QWebSocket bad;
  bad.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/v1/events?token=%2")
                    .arg(service.Port())
                    .arg(QString(64, QLatin1Char('0')))));
  QWebSocket good;
  good.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/v1/events?token=%2")
                     .arg(service.Port())
                     .arg(QString::fromLatin1(token))));
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 5000 &&
         !(bad.closeCode() == QWebSocketProtocol::CloseCodePolicyViolated &&
           good.state() == QAbstractSocket::ConnectedState))
    QTest::qWait(20);
  EXPECT_EQ(bad.closeCode(), QWebSocketProtocol::CloseCodePolicyViolated);
  EXPECT_EQ(good.state(), QAbstractSocket::ConnectedState);

  // Room state reads on loopback: their times, for the record.
  std::vector<qint64> micros;
  for (int i = 0; i < 50; ++i) {
    QElapsedTimer one;
    one.start();
    ASSERT_EQ(Http(net, "GET", base + QStringLiteral("rooms"), token).status, 200);
    micros.push_back(one.nsecsElapsed() / 1000);
  }
  std::sort(micros.begin(), micros.end());
  std::cout << "GET /api/v1/rooms over loopback: median " << micros[micros.size() / 2]
            << " us, slowest " << micros.back() << " us\n";
  EXPECT_LT(micros[micros.size() / 2], 200000);
  EXPECT_EQ(Http(net, "GET", base + QStringLiteral("nowhere"), token).status, 404);

  // /metrics is served beside the API and has timed the requests above.
  const HttpReply metrics =
      Http(net, "GET", QStringLiteral("http://127.0.0.1:%1/metrics").arg(service.Port()));
  EXPECT_EQ(metrics.status, 200);
  const auto count =
      QRegularExpression(QStringLiteral("\\ntavelo_http_request_duration_seconds_count (\\d+)\\n"))
          .match(QString::fromUtf8(metrics.body));
  ASSERT_TRUE(count.hasMatch()) << metrics.body.toStdString();
  EXPECT_GE(count.captured(1).toInt(), 50);
}

TEST(HubProcessTest, UserAndRoomCommandsAndANewerDatabase) {
  hubtest::App();
  QTemporaryDir dir;
  const QString database = dir.filePath(QStringLiteral("hub.sqlite"));
  const QStringList db{QStringLiteral("--database"), database};
  HubRun add = RunHub(QStringList{QStringLiteral("user"), QStringLiteral("add"),
                                  QStringLiteral("sam"), QStringLiteral("--role"),
                                  QStringLiteral("staff"), QStringLiteral("--password-stdin")} +
                          db,
                      "s3cret\n");
  EXPECT_EQ(add.exitCode, 0) << add.err.toStdString();
  HubRun again =
      RunHub(QStringList{QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("sam"),
                         QStringLiteral("--role"), QStringLiteral("staff")} +
             db);
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(again.err.contains(QStringLiteral("already exists"))) << again.err.toStdString();
  HubRun badRole =
      RunHub(QStringList{QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("x"),
                         QStringLiteral("--role"), QStringLiteral("boss")} +
             db);
  EXPECT_EQ(badRole.exitCode, 1);
  HubRun rooms = RunHub(QStringList{QStringLiteral("rooms")} + db);
  EXPECT_EQ(rooms.exitCode, 0);

  {
    QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bump"));
    sql.setDatabaseName(database);
    ASSERT_TRUE(sql.open());
    QSqlQuery(sql).exec(QStringLiteral("UPDATE schema_version SET version = 999"));
    sql.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("bump"));
  HubRun refused = RunHub(QStringList{QStringLiteral("rooms")} + db);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.contains(QStringLiteral("newer tavelo-hub")))
      << refused.err.toStdString();
  HubRun unknown = RunHub({QStringLiteral("dance")});
  EXPECT_EQ(unknown.exitCode, 2);
}

TEST(HubProcessTest, ClearTextOffLoopbackAndHalfATlsPairAreRefusedBeforeAnythingIsCreated) {
  hubtest::App();
  QTemporaryDir dir;
  const QString database = dir.filePath(QStringLiteral("hub.sqlite"));
  const QStringList serve{QStringLiteral("serve"), QStringLiteral("--database"), database};
  HubRun open =
      RunHub(serve + QStringList{QStringLiteral("--listen"), QStringLiteral("0.0.0.0:0")});
  EXPECT_EQ(open.exitCode, 1);
  EXPECT_TRUE(open.err.contains(QStringLiteral("without TLS"))) << open.err.toStdString();
  // No owner was made whose one-time password nobody saw.
  EXPECT_FALSE(open.out.contains(QStringLiteral("one-time password")));
  HubRun half = RunHub(serve + QStringList{QStringLiteral("--tls-cert"), QStringLiteral("c.pem")});
  EXPECT_EQ(half.exitCode, 2);
  EXPECT_TRUE(half.err.contains(QStringLiteral("go together"))) << half.err.toStdString();
  HubRun missing = RunHub(
      serve + QStringList{QStringLiteral("--tls-cert"), dir.filePath(QStringLiteral("c.pem")),
                          QStringLiteral("--tls-key"), dir.filePath(QStringLiteral("k.pem"))});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.err.contains(QStringLiteral("c.pem"))) << missing.err.toStdString();
  Service service(database);
  EXPECT_TRUE(service.Out().contains(QStringLiteral("one-time password")))
      << service.Out().toStdString();
}

TEST(HubProcessTest, ScheduleCommandsAddListDryRunAndRemove) {
  hubtest::App();
  QTemporaryDir dir;
  DatabaseLocation location;
  location.file = dir.filePath(QStringLiteral("hub.sqlite"));
  {
    Database db;
    QString error;
    ASSERT_TRUE(db.Open(location, error)) << error.toStdString();
    Store store(db);
    ASSERT_TRUE(store.PutRoom(QStringLiteral("room-01"), QStringLiteral("127.0.0.1"), 7001));
  }
  const QStringList db{QStringLiteral("--database"), location.file};
  const QByteArray part =
      R"({"name": "evening", "time": "22:00", "days": ["mon", "tue", "wed", "thu", "fri", "sat",
          "sun"], "rooms": ["*"], "preset": 3})";
  HubRun add = RunHub(
      QStringList{QStringLiteral("schedule"), QStringLiteral("add"), QStringLiteral("-")} + db,
      part);
  EXPECT_EQ(add.exitCode, 0) << add.err.toStdString();
  HubRun twice = RunHub(
      QStringList{QStringLiteral("schedule"), QStringLiteral("add"), QString::fromUtf8(part)} + db);
  EXPECT_EQ(twice.exitCode, 1);
  EXPECT_TRUE(twice.err.contains(QStringLiteral("already named"))) << twice.err.toStdString();

  HubRun list = RunHub(QStringList{QStringLiteral("schedule"), QStringLiteral("list")} + db);
  EXPECT_TRUE(list.out.startsWith(QStringLiteral("evening  22:00"))) << list.out.toStdString();
  HubRun plan = RunHub(QStringList{QStringLiteral("schedule"), QStringLiteral("dry-run"),
                                   QStringLiteral("--time-zone"), QStringLiteral("Asia/Tokyo")} +
                       db);
  EXPECT_EQ(plan.exitCode, 0) << plan.err.toStdString();
  EXPECT_EQ(plan.out.count(QStringLiteral("T22:00:00+09:00  evening  preset 3")), 7)
      << plan.out.toStdString();
  HubRun zone = RunHub(QStringList{QStringLiteral("schedule"), QStringLiteral("dry-run"),
                                   QStringLiteral("--time-zone"), QStringLiteral("Mars/Base")} +
                       db);
  EXPECT_EQ(zone.exitCode, 1);
  EXPECT_TRUE(zone.err.contains(QStringLiteral("unknown zone"))) << zone.err.toStdString();

  HubRun remove = RunHub(
      QStringList{QStringLiteral("schedule"), QStringLiteral("remove"), QStringLiteral("evening")} +
      db);
  EXPECT_EQ(remove.exitCode, 0) << remove.err.toStdString();
  HubRun gone = RunHub(
      QStringList{QStringLiteral("schedule"), QStringLiteral("remove"), QStringLiteral("evening")} +
      db);
  EXPECT_EQ(gone.exitCode, 1);
}

}  // namespace
}  // namespace tavelo::hub
