// The module connection against the module model on a local server (127.0.0.1 only), and
// the tick driver.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include "core/sim/WifiModuleModel.h"
#include "platform/TickDriver.h"
#include "platform/WifiModuleSocket.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

using test::WaitFor;

class ModuleServer {
 public:
  ModuleServer() {
    test::CoreApp();
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      QTcpSocket* peer = server_.nextPendingConnection();
      QObject::connect(peer, &QTcpSocket::readyRead, [this, peer] {
        const QByteArray bytes = peer->readAll();
        const auto reply = model.Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size()));
        if (!reply.empty()) {
          peer->write(reinterpret_cast<const char*>(reply.data()),
                      static_cast<qint64>(reply.size()));
        }
      });
    });
  }
  NetEndpoint Endpoint() const { return {"127.0.0.1", server_.serverPort()}; }
  WifiModuleModel model;

 private:
  QTcpServer server_;
};

TEST(WifiModuleSocket, ConnectsSendsSettingsAndReportsEveryAnswer) {
  ModuleServer server;
  WifiModuleSocket socket(server.Endpoint());
  socket.SetTimerEnabled(false);
  std::vector<bool> states, results;
  QObject::connect(&socket, &WifiModuleSocket::connectedChanged,
                   [&](bool c) { states.push_back(c); });
  QObject::connect(&socket, &WifiModuleSocket::settingAnswered,
                   [&](bool ok) { results.push_back(ok); });

  // Checks come first; nothing goes out while not connected.
  EXPECT_EQ(socket.SetAp("", "12345678"), ModuleSettingCheck::kNameEmpty);
  EXPECT_EQ(socket.SetAp("Room", "12345678"), ModuleSettingCheck::kOk);
  EXPECT_EQ(socket.Session().Pending(), ModuleCommand::kNone);

  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected(); }));
  EXPECT_EQ(states, std::vector<bool>{true});

  socket.Second();  // heartbeat, answered by the module
  ASSERT_TRUE(
      WaitFor([&] { return server.model.Heartbeats() == 1 && socket.Session().Missed() == 0; }));

  EXPECT_EQ(socket.SetAp("Room", "12345678"), ModuleSettingCheck::kOk);
  ASSERT_TRUE(WaitFor([&] { return server.model.ApName() == "Room"; }));
  ASSERT_TRUE(WaitFor([&] { return socket.Session().Pending() == ModuleCommand::kNone; }));
  EXPECT_TRUE(results.empty());  // set AP's success clears the command without a report

  server.model.SetRefuseSettings(true);
  socket.SetSta("Venue", "");
  ASSERT_TRUE(WaitFor([&] { return results.size() == 1; }));
  EXPECT_FALSE(results[0]);
  server.model.SetRefuseSettings(false);
  socket.SetSta("Venue", "pw");
  ASSERT_TRUE(WaitFor([&] { return results.size() == 2; }));
  EXPECT_TRUE(results[1]);
  EXPECT_EQ(server.model.StaPassword(), "pw");

  socket.Restore();
  ASSERT_TRUE(WaitFor([&] { return server.model.StaName().empty(); }));
}

TEST(WifiModuleSocket, ASilentModuleIsDroppedAfterMoreThanThreeSeconds) {
  ModuleServer server;
  server.model.SetSilent(true);
  WifiModuleSocket socket(server.Endpoint());
  socket.SetTimerEnabled(false);
  bool connected = false;
  QObject::connect(&socket, &WifiModuleSocket::connectedChanged, [&](bool c) { connected = c; });
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return connected; }));
  for (int second = 0; second < 3; ++second) {
    socket.Second();
    EXPECT_TRUE(socket.IsConnected());
  }
  socket.Second();
  EXPECT_FALSE(socket.IsConnected());
  EXPECT_FALSE(connected);
  // Connect works again afterwards.
  server.model.SetSilent(false);
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected(); }));

  // A setting met by silence is reported when the link drops, not forgotten.
  int unanswered = 0;
  QObject::connect(&socket, &WifiModuleSocket::settingUnanswered, [&] { ++unanswered; });
  server.model.SetSilent(true);
  socket.SetSta("Venue", "");
  for (int second = 0; second < 4; ++second) socket.Second();
  EXPECT_FALSE(socket.IsConnected());
  EXPECT_EQ(unanswered, 1);
}

// The settings dialog against a peer that floods the module's port: it is dropped as soon as
// it has sent more than a few replies' worth of what no reply is, with a pending setting
// reported, and the socket never holds more than its bound meanwhile.
TEST(WifiModuleSocket, APeerThatFloodsIsDroppedWithItsBufferBounded) {
  test::CoreApp();
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const QByteArray chunk(64 * 1024, '\xAA');
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    QTcpSocket* peer = server.nextPendingConnection();
    const auto more = [peer, &chunk] {
      while (peer->state() == QAbstractSocket::ConnectedState && peer->bytesToWrite() < 256 * 1024)
        peer->write(chunk);
    };
    QObject::connect(peer, &QTcpSocket::bytesWritten, peer, more);
    QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer, more] {
      peer->readAll();
      more();
    });
  });
  WifiModuleSocket socket({"127.0.0.1", server.serverPort()});
  socket.SetTimerEnabled(false);
  std::vector<bool> states;
  int unanswered = 0;
  QObject::connect(&socket, &WifiModuleSocket::connectedChanged,
                   [&](bool c) { states.push_back(c); });
  QObject::connect(&socket, &WifiModuleSocket::settingUnanswered, [&] { ++unanswered; });
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected(); }));
  socket.SetAp("Room", "12345678");  // starts the flood
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(WaitFor([&] { return !socket.IsConnected(); }));
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_EQ(states, (std::vector<bool>{true, false}));
  EXPECT_EQ(unanswered, 1);
}

TEST(WifiModuleSocket, AFailedConnectIsReported) {
  test::CoreApp();
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const quint16 port = probe.serverPort();
  probe.close();  // nothing listens there now
  WifiModuleSocket socket(NetEndpoint{"127.0.0.1", port});
  socket.SetTimerEnabled(false);
  QString reason;
  QObject::connect(&socket, &WifiModuleSocket::connectFailed,
                   [&](const QString& r) { reason = r; });
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return !reason.isEmpty(); }));
  EXPECT_FALSE(socket.IsConnected());
}

TEST(TickDriver, CallsBackEveryFiftyMilliseconds) {
  test::CoreApp();
  int ticks = 0;
  TickDriver driver([&] { ++ticks; });
  EXPECT_FALSE(driver.Running());
  QElapsedTimer clock;
  clock.start();
  driver.Start();
  ASSERT_TRUE(WaitFor([&] { return ticks >= 3; }, 2000));
  EXPECT_GE(clock.elapsed(), 3 * TickDriver::kTickMs - 10);
  driver.Stop();
  const int stopped = ticks;
  WaitFor([] { return false; }, 120);
  EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace tavelo
