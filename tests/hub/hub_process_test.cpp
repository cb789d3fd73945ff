// tavelo-hub as a program: the first start prints a one-time password that logs in over
// HTTP on loopback, the event WebSocket wants a valid token, the user and room commands
// work on the same database, a newer database is refused by every command, and a service
// killed in the middle of a roll-out starts again knowing which rooms hold what.
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
#include <functional>
#include <map>

#include "HttpClient.h"
#include "HubTestSupport.h"
#include "SimVenue.h"
#include "StandInVenue.h"
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
    WaitForOut([this] { return out_.contains(QStringLiteral("listening on")); }, 20000);
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
  // Reads the service's output until `done` holds or `limitMs` has passed.
  bool WaitForOut(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs) {
      process_.waitForReadyRead(100);
      out_ += QString::fromUtf8(process_.readAllStandardOutput());
    }
    return done();
  }
  // SIGKILL: the service gets no chance to tidy up.
  void Kill() {
    process_.kill();
    process_.waitForFinished(5000);
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

// The owner's token, once failed logins have stopped slowing the name down; empty if none.
QByteArray OwnerToken(QNetworkAccessManager& net, const QString& base, const QString& password) {
  HttpReply login;
  for (int attempt = 0; attempt < 20; ++attempt) {
    login = Http(net, "POST", base + QStringLiteral("session"), {},
                 QStringLiteral(R"({"user": "owner", "password": "%1"})").arg(password).toUtf8());
    if (login.status != 429) break;
    QTest::qWait(300);
  }
  EXPECT_EQ(login.status, 200) << login.body.toStdString();
  return QJsonDocument::fromJson(login.body)
      .object()
      .value(QStringLiteral("token"))
      .toString()
      .toLatin1();
}

// What the log says each room holds: room name -> the start of its content's hash.
std::map<QString, QString> HeldContents(const QString& out) {
  std::map<QString, QString> held;
  static const QRegularExpression line(QStringLiteral("room (\\S+) holds ([0-9a-f]+)"));
  for (auto it = line.globalMatch(out); it.hasNext();) {
    const auto match = it.next();
    held[match.captured(1)] = match.captured(2);
  }
  return held;
}

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
  const QByteArray token = OwnerToken(net, base, service.Password());
  ASSERT_FALSE(token.isEmpty());

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

TEST(HubProcessTest, KilledInTheMiddleOfARollOutItStartsAgainKnowingWhatEachRoomHolds) {
  hubtest::App();
  constexpr int kRooms = 16;
  hubtest::SimVenue sim(kRooms);
  ASSERT_TRUE(sim.Started());
  QTemporaryDir dir;
  DatabaseLocation location;
  location.file = dir.filePath(QStringLiteral("hub.sqlite"));
  QStringList names;
  {
    Database db;
    QString error;
    ASSERT_TRUE(db.Open(location, error)) << error.toStdString();
    Store store(db);
    for (int k = 0; k < kRooms; ++k) {
      names << QStringLiteral("room-%1").arg(k, 2, 10, QLatin1Char('0'));
      ASSERT_TRUE(store.PutRoom(names.back(), QStringLiteral("127.0.0.1"), sim.Ports()[k]));
    }
  }
  const auto allHeld = [&names](const QString& out) {
    return HeldContents(out).size() == static_cast<std::size_t>(names.size());
  };

  QByteArray wanted;
  QString original;
  QStringList verified;
  {
    Service service(location.file);
    ASSERT_GT(service.Port(), 0) << service.Out().toStdString();
    ASSERT_TRUE(service.WaitForOut([&] { return allHeld(service.Out()); }, 30000))
        << service.Out().toStdString();
    original = HeldContents(service.Out()).at(names[0]);
    {
      Database db;
      QString error;
      ASSERT_TRUE(db.Open(location, error)) << error.toStdString();
      Store store(db);
      const auto history = store.History(names[0], 1);
      ASSERT_TRUE(history && !history->empty()) << store.lastError().toStdString();
      const auto content = store.Content(history->front().contentHash);
      ASSERT_TRUE(content);
      wanted = hubtest::WithValue(*content, "reverb.level=12");
    }
    const QString base = QStringLiteral("http://127.0.0.1:%1/api/v1/").arg(service.Port());
    QNetworkAccessManager net;
    const QByteArray token = OwnerToken(net, base, service.Password());
    ASSERT_FALSE(token.isEmpty());
    const HttpReply started =
        Http(net, "POST", base + QStringLiteral("rollouts"), token,
             QJsonDocument(
                 QJsonObject{{QStringLiteral("content"), QString::fromLatin1(wanted.toBase64())},
                             {QStringLiteral("rooms"), QJsonArray::fromStringList(names)},
                             {QStringLiteral("first"), 2}})
                 .toJson());
    ASSERT_EQ(started.status, 202) << started.body.toStdString();
    const qint64 id = QJsonDocument::fromJson(started.body)[QStringLiteral("id")].toInteger();
    // Killed once a few rooms have it: the rest wait, one may be half-way.
    QJsonObject progress;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000 && progress[QStringLiteral("verified")].toInt() < 3) {
      progress = QJsonDocument::fromJson(
                     Http(net, "GET", base + QStringLiteral("rollouts/%1").arg(id), token).body)
                     .object();
      QTest::qWait(20);
    }
    service.Kill();
    ASSERT_NE(progress[QStringLiteral("state")].toString(), QStringLiteral("done"))
        << "the roll-out ended before the service could be killed in its middle";
    for (const QJsonValue& room : progress[QStringLiteral("rooms")].toArray())
      if (room[QStringLiteral("state")].toString() == QStringLiteral("verified"))
        verified << room[QStringLiteral("room")].toString();
    ASSERT_GE(verified.size(), 3);
  }

  Service again(location.file);
  ASSERT_GT(again.Port(), 0) << again.Out().toStdString();
  ASSERT_TRUE(again.WaitForOut([&] { return allHeld(again.Out()); }, 30000))
      << again.Out().toStdString();
  const auto held = HeldContents(again.Out());
  const QString rolledOut = Store::ContentHash(wanted).left(Store::kShownHashChars);
  int got = 0;
  for (const QString& name : names) {
    // Every room holds either what it held or the whole new preset, nothing else.
    EXPECT_TRUE(held.at(name) == rolledOut || held.at(name) == original) << name.toStdString();
    if (verified.contains(name)) {
      EXPECT_EQ(held.at(name), rolledOut) << name.toStdString();
    }
    got += held.at(name) == rolledOut;
  }
  EXPECT_LT(got, kRooms);

  // The database holds whole versions only: each names a content that is there and is a
  // parameter file; the rooms that got the roll-out have it as their latest version.
  again.Kill();
  Database db;
  QString error;
  ASSERT_TRUE(db.Open(location, error)) << error.toStdString();
  Store store(db);
  for (const QString& name : names) {
    const auto history = store.History(name, 100);
    ASSERT_TRUE(history && !history->empty()) << name.toStdString();
    for (const StoredVersion& version : *history) {
      const auto content = store.Content(version.contentHash);
      ASSERT_TRUE(content) << store.lastError().toStdString();
      EXPECT_TRUE(ParseParamFile(reinterpret_cast<const std::uint8_t*>(content->constData()),
                                 static_cast<std::size_t>(content->size()))
                      .ok())
          << name.toStdString();
    }
    if (held.at(name) == rolledOut) {
      EXPECT_EQ(history->front().contentHash.left(Store::kShownHashChars), rolledOut);
    }
    if (verified.contains(name)) {
      EXPECT_EQ(history->front().source, QStringLiteral("rollout"));
      EXPECT_EQ(history->front().user, QStringLiteral("owner"));
    }
  }
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
  // The lock key: four digits from standard input, never stored otherwise; a room must exist.
  EXPECT_EQ(RunHub(QStringList{QStringLiteral("lock-key")} + db, "12a4\n").exitCode, 1);
  HubRun unknownRoom =
      RunHub(QStringList{QStringLiteral("lock-key"), QStringLiteral("room-9")} + db, "1234\n");
  EXPECT_EQ(unknownRoom.exitCode, 1);
  EXPECT_TRUE(unknownRoom.err.contains(QStringLiteral("no room"))) << unknownRoom.err.toStdString();
  EXPECT_EQ(RunHub(QStringList{QStringLiteral("lock-key")} + db, "1234\n").exitCode, 0);
  {
    DatabaseLocation location;
    location.file = database;
    Database kept;
    QString why;
    ASSERT_TRUE(kept.Open(location, why)) << why.toStdString();
    Store store(kept);
    EXPECT_EQ(store.Setting(QStringLiteral("lock_key")),
              std::optional<QString>(QStringLiteral("1234")));
  }

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
