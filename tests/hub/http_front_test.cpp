// The HTTP front as clients meet it on loopback: TLS with a certificate made here, clear text
// refused off loopback, what a connection may send and how long it may take, many
// connections at once, and a database that stops and returns, or is locked, under a running
// service.
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <functional>
#include <memory>

#include "HttpClient.h"
#include "HubTestSupport.h"
#include "StandInVenue.h"
#include "hub/HttpFront.h"

namespace tavelo::hub {
namespace {

using hubtest::Http;
using hubtest::HttpReply;

bool SpinUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limitMs) return false;
    QTest::qWait(10);
  }
  return true;
}

// A raw connection: sends `bytes`, then collects what comes back until the server closes or
// the time is up.
struct RawExchange {
  QByteArray received;
  bool closedByServer = false;
  qint64 elapsedMs = 0;
};

RawExchange Raw(quint16 port, const QByteArray& bytes, int limitMs) {
  QTcpSocket socket;
  RawExchange out;
  QElapsedTimer timer;
  timer.start();
  socket.connectToHost(QHostAddress::LocalHost, port);
  if (!SpinUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 3000))
    return out;
  socket.write(bytes);
  out.closedByServer = SpinUntil(
      [&] {
        out.received += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
      },
      limitMs);
  out.received += socket.readAll();
  out.elapsedMs = timer.elapsed();
  return out;
}

QByteArray ErrorOf(const HttpReply& reply) {
  return QJsonDocument::fromJson(reply.body)
      .object()
      .value(QStringLiteral("error"))
      .toString()
      .toUtf8();
}

// A service front over a real store and the stand-in room, listening on a free loopback port.
class Front {
 public:
  Front(const DatabaseLocation& location, ConnectionLimits limits, int busyTimeoutMs = 5000,
        const std::optional<QSslConfiguration>& tls = std::nullopt) {
    db_.SetBusyTimeoutMs(busyTimeoutMs);
    QString error;
    if (!db_.Open(location, error)) {
      problem_ = error;
      return;
    }
    store_ = std::make_unique<Store>(db_);
    accounts_ = std::make_unique<Accounts>(*store_);
    api_ = std::make_unique<Api>(*store_, *accounts_, rooms_, [this] { return now_; });
    front_ = std::make_unique<HttpFront>(
        *api_, *accounts_, [this] { return now_; }, limits);
    store_->PutRoom(QStringLiteral("room-01"), QStringLiteral("127.0.0.1"), 7000);
    accounts_->AddUser(QStringLiteral("ian"), Role::Installer, QStringLiteral("pw-i"), 0, error);
    const auto port = front_->Listen({QHostAddress(QHostAddress::LocalHost), 0}, tls, problem_);
    if (port) port_ = *port;
  }
  QString Base(const char* scheme = "http") const {
    return QStringLiteral("%1://127.0.0.1:%2/api/v1/").arg(QLatin1String(scheme)).arg(port_);
  }
  QByteArray Login(const char* scheme = "http") {
    const HttpReply reply = Http(net, "POST", Base(scheme) + QStringLiteral("session"), {},
                                 R"({"user": "ian", "password": "pw-i"})");
    return QJsonDocument::fromJson(reply.body)
        .object()
        .value(QStringLiteral("token"))
        .toString()
        .toLatin1();
  }
  HttpReply Call(const QByteArray& method, const QString& path, const QByteArray& token,
                 const QByteArray& body = {}) {
    return Http(net, method, Base() + path, token, body);
  }

  QString problem_;
  quint16 port_ = 0;
  qint64 now_ = 1000;
  hubtest::StandInVenue rooms_;
  hubtest::StandInVenue::Held& room_ = hubtest::AddPartyRoom(rooms_);
  Database db_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Accounts> accounts_;
  std::unique_ptr<Api> api_;
  std::unique_ptr<HttpFront> front_;
  QNetworkAccessManager net;
};

DatabaseLocation SqliteIn(const QTemporaryDir& dir) {
  DatabaseLocation location;
  location.file = dir.filePath(QStringLiteral("hub.sqlite"));
  return location;
}

ConnectionLimits Tight() {
  ConnectionLimits limits = HttpFront::DefaultLimits();
  limits.requestTimeoutMs = 800;
  limits.maxConnections = 20;
  return limits;
}

TEST(ListeningTest, ClearTextOnlyOnLoopbackAndAddressesAsWritten) {
  struct Case {
    const char* address;
    bool tls;
    bool insecure;
    bool refused;
  } cases[] = {
      {"127.0.0.1", false, false, false}, {"::1", false, false, false},
      {"0.0.0.0", false, false, true},    {"192.0.2.7", false, false, true},
      {"0.0.0.0", true, false, false},    {"0.0.0.0", false, true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(
        !ClearTextRefusal(QHostAddress(QLatin1String(c.address)), c.tls, c.insecure).isEmpty(),
        c.refused)
        << c.address << " tls " << c.tls << " insecure " << c.insecure;
  EXPECT_TRUE(ClearTextRefusal(QHostAddress(QStringLiteral("0.0.0.0")), false, false)
                  .contains(QStringLiteral("--tls-cert")));

  QString error;
  const auto v6 = ParseListenAddress(QStringLiteral("[::1]:8470"), error);
  ASSERT_TRUE(v6);
  EXPECT_EQ(v6->address, QHostAddress(QHostAddress::LocalHostIPv6));
  EXPECT_EQ(v6->port, 8470);
  for (const char* bad : {"127.0.0.1", "127.0.0.1:", "127.0.0.1:70000", "localhost:80", ":80"})
    EXPECT_FALSE(ParseListenAddress(QLatin1String(bad), error)) << bad;
}

TEST(HttpFrontTest, BadInputAndSlowClientsGetClearAnswers) {
  hubtest::App();
  QTemporaryDir dir;
  Front front(SqliteIn(dir), Tight());
  ASSERT_GT(front.port_, 0) << front.problem_.toStdString();
  const QByteArray token = front.Login();
  ASSERT_EQ(token.size(), 64);

  const HttpReply malformed =
      front.Call("PATCH", QStringLiteral("rooms/room-01/values"), token, R"({"music.volume": )");
  EXPECT_EQ(malformed.status, 400);
  EXPECT_TRUE(ErrorOf(malformed).contains("not valid JSON")) << malformed.body.toStdString();
  EXPECT_EQ(front.room_.writes, 0);

  // A body far over the limit is answered before it is read whole, and the client sees the
  // answer rather than a reset connection.
  const QByteArray huge(512 * 1024, 'x');
  const RawExchange tooBig = Raw(front.port_,
                                 "POST /api/v1/session HTTP/1.1\r\nHost: h\r\nContent-Length: " +
                                     QByteArray::number(huge.size()) + "\r\n\r\n" + huge,
                                 5000);
  EXPECT_TRUE(tooBig.received.startsWith("HTTP/1.1 413")) << tooBig.received.left(200).data();
  EXPECT_TRUE(tooBig.closedByServer);
  // Over the API's limit but within what a connection may send: the API's own 413.
  const HttpReply over = Http(front.net, "POST", front.Base() + QStringLiteral("session"), {},
                              QByteArray(Api::kMaxBodyBytes + 10, ' '));
  EXPECT_EQ(over.status, 413);

  // A request that trickles in is cut off at the deadline with 408, and the service goes on.
  QTcpSocket slow;
  slow.connectToHost(QHostAddress::LocalHost, front.port_);
  ASSERT_TRUE(SpinUntil([&] { return slow.state() == QAbstractSocket::ConnectedState; }, 3000));
  QElapsedTimer trickle;
  trickle.start();
  slow.write("GET /api/v1/rooms HTTP/1.1\r\nHost: h\r\n");
  QByteArray slowReply;
  const bool cut = SpinUntil(
      [&] {
        // A byte now and then, until the answer comes.
        if (slowReply.isEmpty() && slow.state() == QAbstractSocket::ConnectedState) slow.write("X");
        slowReply += slow.readAll();
        QTest::qWait(100);
        return slow.state() == QAbstractSocket::UnconnectedState;
      },
      5000);
  slowReply += slow.readAll();
  EXPECT_TRUE(cut);
  EXPECT_LT(trickle.elapsed(), 4000);
  EXPECT_TRUE(slowReply.startsWith("HTTP/1.1 408")) << slowReply.left(200).data();
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms"), token).status, 200);

  // An event WebSocket is no request: it outlives the request deadline.
  QWebSocket events;
  events.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/v1/events?token=%2")
                       .arg(front.port_)
                       .arg(QString::fromLatin1(token))));
  ASSERT_TRUE(SpinUntil([&] { return front.front_->EventClients() == 1; }, 3000));
  QTest::qWait(Tight().requestTimeoutMs * 2);
  EXPECT_EQ(events.state(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(front.front_->EventClients(), 1);

  // Tokens: one that expired and one ended by logging out.
  const QByteArray second = front.Login();
  EXPECT_EQ(front.Call("DELETE", QStringLiteral("session"), second).status, 200);
  const HttpReply revoked = front.Call("GET", QStringLiteral("rooms"), second);
  EXPECT_EQ(revoked.status, 401);
  EXPECT_TRUE(ErrorOf(revoked).contains("log in again"));
  front.now_ += Accounts::kTokenLifetimeMs;
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms"), token).status, 401);
}

TEST(HttpFrontTest, ManyConnectionsAtOnceAndBeyondTheLimit) {
  hubtest::App();
  QTemporaryDir dir;
  Front front(SqliteIn(dir), Tight());
  ASSERT_GT(front.port_, 0) << front.problem_.toStdString();
  const QByteArray token = front.Login();
  const QByteArray request = "GET /api/v1/rooms HTTP/1.1\r\nHost: h\r\nAuthorization: Bearer " +
                             token + "\r\nConnection: close\r\n\r\n";

  // Every one of 16 simultaneous clients is answered.
  std::vector<std::unique_ptr<QTcpSocket>> clients;
  for (int i = 0; i < 16; ++i) {
    clients.push_back(std::make_unique<QTcpSocket>());
    clients.back()->connectToHost(QHostAddress::LocalHost, front.port_);
  }
  ASSERT_TRUE(SpinUntil(
      [&] {
        for (const auto& c : clients)
          if (c->state() != QAbstractSocket::ConnectedState) return false;
        return true;
      },
      3000));
  for (const auto& c : clients) c->write(request);
  std::vector<QByteArray> replies(clients.size());
  EXPECT_TRUE(SpinUntil(
      [&] {
        bool all = true;
        for (std::size_t i = 0; i < clients.size(); ++i) {
          replies[i] += clients[i]->readAll();
          all = all && clients[i]->state() == QAbstractSocket::UnconnectedState;
        }
        return all;
      },
      5000));
  for (const QByteArray& reply : replies)
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 200")) << reply.left(100).data();

  // Idle connections up to the limit; one more is turned away with 503.
  clients.clear();
  for (int i = 0; i < Tight().maxConnections; ++i) {
    clients.push_back(std::make_unique<QTcpSocket>());
    clients.back()->connectToHost(QHostAddress::LocalHost, front.port_);
  }
  ASSERT_TRUE(
      SpinUntil([&] { return front.front_->Connections() == Tight().maxConnections; }, 3000));
  const RawExchange turnedAway = Raw(front.port_, request, 3000);
  EXPECT_TRUE(turnedAway.received.startsWith("HTTP/1.1 503")) << turnedAway.received.data();
  // The idle ones time out, and room is made again.
  EXPECT_TRUE(SpinUntil([&] { return front.front_->Connections() == 0; }, 3000));
  EXPECT_TRUE(Raw(front.port_, request, 3000).received.startsWith("HTTP/1.1 200"));
}

// A self-signed certificate for 127.0.0.1 made with the openssl command, in `dir`.
bool MakeCertificate(const QTemporaryDir& dir) {
  QProcess openssl;
  openssl.start(
      QStringLiteral("openssl"),
      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
       QStringLiteral("-keyout"), dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"),
       dir.filePath(QStringLiteral("cert.pem")), QStringLiteral("-days"), QStringLiteral("2"),
       QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
       QStringLiteral("subjectAltName=IP:127.0.0.1")});
  return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
}

TEST(HttpFrontTest, TlsWithACertificateMadeHere) {
  hubtest::App();
  if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
    GTEST_SKIP() << "the openssl command is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(MakeCertificate(dir));
  const QString cert = dir.filePath(QStringLiteral("cert.pem"));
  const QString key = dir.filePath(QStringLiteral("key.pem"));
  QString error;
  EXPECT_FALSE(LoadTls(dir.filePath(QStringLiteral("none.pem")), key, error));
  EXPECT_TRUE(error.contains(QStringLiteral("none.pem"))) << error.toStdString();
  EXPECT_FALSE(LoadTls(cert, cert, error));
  EXPECT_TRUE(error.contains(QStringLiteral("no PEM private key"))) << error.toStdString();
  EXPECT_FALSE(LoadTls(key, key, error));
  EXPECT_TRUE(error.contains(QStringLiteral("no PEM certificate"))) << error.toStdString();
  const auto tls = LoadTls(cert, key, error);
  ASSERT_TRUE(tls) << error.toStdString();

  Front front(SqliteIn(dir), Tight(), 5000, tls);
  ASSERT_GT(front.port_, 0) << front.problem_.toStdString();
  // The client trusts exactly this certificate.
  const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
  QSslConfiguration trusting = before;
  trusting.setCaCertificates(QSslCertificate::fromPath(cert));
  QSslConfiguration::setDefaultConfiguration(trusting);
  const QByteArray token = front.Login("https");
  EXPECT_EQ(token.size(), 64);
  EXPECT_EQ(Http(front.net, "GET", front.Base("https") + QStringLiteral("rooms"), token).status,
            200);
  QSslConfiguration::setDefaultConfiguration(before);
  // Clear text to the TLS port gets no HTTP answer.
  const RawExchange plain =
      Raw(front.port_, "GET /api/v1/openapi.json HTTP/1.1\r\nHost: h\r\n\r\n", 2000);
  EXPECT_FALSE(plain.received.contains("200"));
}

TEST(HttpFrontTest, PostgresStopsAndReturnsUnderTheService) {
  hubtest::App();
  hubtest::PostgresServer server;  // its own, so stopping it troubles no other test
  ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
  const DatabaseLocation location = server.FreshDatabase();
  Front front(location, HttpFront::DefaultLimits());
  ASSERT_GT(front.port_, 0) << front.problem_.toStdString();
  const QByteArray token = front.Login();
  ASSERT_EQ(token.size(), 64);
  ASSERT_EQ(
      front.Call("PUT", QStringLiteral("rooms/room-01/caps"), token, R"({"music.volume": 60})")
          .status,
      200);
  const QByteArray set = hubtest::FileOf(front.room_.image);
  ASSERT_TRUE(
      front.store_
          ->RecordVersion(QStringLiteral("room-01"), 0, set, 5, QStringLiteral("connect"), {})
          .ok);

  ASSERT_TRUE(server.Stop());
  // Reads of the rooms go on, with the token this service already knows.
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms"), token).status, 200);
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms/room-01/values"), token).status, 200);
  // What needs the store is refused as a storage fault, and nothing reaches the room.
  const HttpReply write =
      front.Call("PATCH", QStringLiteral("rooms/room-01/values"), token, R"({"music.volume": 20})");
  EXPECT_EQ(write.status, 503);
  EXPECT_TRUE(ErrorOf(write).contains("cannot be reached")) << write.body.toStdString();
  EXPECT_EQ(write.retryAfter, "5");
  EXPECT_EQ(front.room_.writes, 0);
  EXPECT_EQ(
      front.Call("PUT", QStringLiteral("rooms/room-01/caps"), token, R"({"music.volume": 50})")
          .status,
      503);
  const HttpReply login = Http(front.net, "POST", front.Base() + QStringLiteral("session"), {},
                               R"({"user": "ian", "password": "pw-i"})");
  EXPECT_EQ(login.status, 503);
  // A token it has not seen cannot be checked: 503, not 401.
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms"), QByteArray(64, 'a')).status, 503);

  ASSERT_TRUE(server.Start());
  EXPECT_TRUE(SpinUntil(
      [&] {
        return front
                   .Call("PUT", QStringLiteral("rooms/room-01/caps"), token,
                         R"({"music.volume": 50})")
                   .status == 200;
      },
      10000));
  EXPECT_EQ(front.Call("GET", QStringLiteral("rooms/room-01/caps"), token).body,
            R"({"music.volume":50})");
  const auto history = front.store_->History(QStringLiteral("room-01"), 10);
  ASSERT_TRUE(history);
  ASSERT_EQ(history->size(), 1u);
  EXPECT_EQ(front.store_->Content(history->front().contentHash), set);
  EXPECT_EQ(
      front.Call("PATCH", QStringLiteral("rooms/room-01/values"), token, R"({"music.volume": 20})")
          .status,
      200);
}

TEST(HttpFrontTest, ALockedSqliteDatabaseIsReportedAndTheWriteWorksOnceFree) {
  hubtest::App();
  QTemporaryDir dir;
  const QString file = SqliteIn(dir).file;
  Front front(SqliteIn(dir), HttpFront::DefaultLimits(), 200);
  ASSERT_GT(front.port_, 0) << front.problem_.toStdString();
  const QByteArray token = front.Login();
  {
    QSqlDatabase other =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    other.setDatabaseName(file);
    ASSERT_TRUE(other.open());
    QSqlQuery hold(other);
    ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN IMMEDIATE")));
    ASSERT_TRUE(hold.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('x', 'y')")));

    QElapsedTimer timer;
    timer.start();
    const HttpReply locked =
        front.Call("PUT", QStringLiteral("rooms/room-01/caps"), token, R"({"music.volume": 50})");
    EXPECT_EQ(locked.status, 503);
    EXPECT_TRUE(ErrorOf(locked).contains("write lock")) << locked.body.toStdString();
    EXPECT_EQ(locked.retryAfter, "1");
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(front.Call("GET", QStringLiteral("rooms/room-01/values"), token).status, 200);

    ASSERT_TRUE(hold.exec(QStringLiteral("COMMIT")));
    other.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("holder"));
  EXPECT_EQ(
      front.Call("PUT", QStringLiteral("rooms/room-01/caps"), token, R"({"music.volume": 50})")
          .status,
      200);
}

}  // namespace
}  // namespace tavelo::hub
