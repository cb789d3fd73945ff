// tavelo-cli wifi-ap, wifi-sta and wifi-restore against tavelo-sim's Wi-Fi module port.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

std::vector<std::uint8_t> Message(int command, const std::string& name,
                                  const std::string& password) {
  std::vector<std::uint8_t> m(99, 0);
  m[0] = static_cast<std::uint8_t>(command);
  m[1] = 0x60;
  std::copy(name.begin(), name.end(), m.begin() + 2);
  std::copy(password.begin(), password.end(), m.begin() + 42);
  m[98] = 0x0A;
  return m;
}

class WifiModule : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sim_.Started()) << sim_.Output(); }
  CliRun Cli(const QStringList& args) {
    return RunCli(args + sim_.Module() + QStringList{"--trace"});
  }
  SimProcess sim_;
};

TEST_F(WifiModule, SettingsGoOutWholeAndTheModulesAnswerDecides) {
  const CliRun ap = Cli({"wifi-ap", "ab", "12345678"});
  ASSERT_EQ(ap.exitCode, 0) << ap.err;
  EXPECT_EQ(ap.out, "OK\n");
  const auto sent = SentFrames(ap.err);
  ASSERT_FALSE(sent.empty()) << ap.err;
  EXPECT_EQ(sent[0], Message(1, "ab", "12345678"));
  EXPECT_EQ(LinesStartingWith(ap.err, "< ").at(0), "55 01 01");

  // 56 bytes is all the password field holds; it goes out whole. A station may have none.
  const std::string longest(56, 'x');
  const CliRun sta = Cli({"wifi-sta", std::string(32, 'n').c_str(), longest.c_str()});
  ASSERT_EQ(sta.exitCode, 0) << sta.err;
  EXPECT_EQ(SentFrames(sta.err).at(0), Message(2, std::string(32, 'n'), longest));
  const CliRun open = Cli({"wifi-sta", "cafe", ""});
  EXPECT_EQ(open.exitCode, 0) << open.err;
  EXPECT_EQ(SentFrames(open.err).at(0), Message(2, "cafe", ""));

  const CliRun restore = Cli({"wifi-restore", "--yes"});
  ASSERT_EQ(restore.exitCode, 0) << restore.err;
  EXPECT_EQ(SentFrames(restore.err).at(0), (std::vector<std::uint8_t>{0x03, 0x01, 0x0A}));
}

// A module of the test's own on 127.0.0.1 that answers each message as `answer` says.
class FakeModule {
 public:
  explicit FakeModule(std::function<QByteArray(const QByteArray&)> answer)
      : answer_(std::move(answer)) {
    App();
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      QTcpSocket* socket = server_.nextPendingConnection();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
        const QByteArray reply = answer_(socket->readAll());
        if (!reply.isEmpty()) socket->write(reply);
      });
    });
  }
  QStringList Module() const {
    return {"--host", "127.0.0.1", "--module-port", QString::number(server_.serverPort())};
  }

 private:
  std::function<QByteArray(const QByteArray&)> answer_;
  QTcpServer server_;
};

TEST(WifiModuleAnswers, ARefusalIsAnErrorAndSilenceDropsTheConnection) {
  // Answers only a whole set message, so a heartbeat's answer can never arrive glued to the
  // refusal (two answers read together are not a reply, by the module's rules).
  QByteArray received;
  FakeModule refusing([&received](const QByteArray& bytes) {
    received += bytes;
    if (received.size() < 99 || received.at(0) != 0x02) {
      if (received.size() >= 3 && received.at(0) != 0x02) received.clear();  // a heartbeat
      return QByteArray();
    }
    received.clear();
    return QByteArray("\x55\x02\x00", 3);
  });
  const CliRun refused = RunCli(QStringList{"wifi-sta", "cafe", "secret99"} + refusing.Module());
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "Setting error\n");
  EXPECT_EQ(refused.out, "");

  // A reply is only a reply when exactly three bytes come together: four are ignored, the
  // command stays pending, no heartbeat goes out, and after more than three silent seconds
  // the connection is given up.
  FakeModule mumbling([](const QByteArray&) { return QByteArray("\x55\x01\x01\x00", 4); });
  const CliRun dropped = RunCli(
      QStringList{"wifi-ap", "lobby", "secret99", "--trace", "--timeout", "10"} + mumbling.Module(),
      20000);
  EXPECT_EQ(dropped.exitCode, 1);
  EXPECT_GE(dropped.elapsedMs, 3500);
  EXPECT_LT(dropped.elapsedMs, 8000);
  EXPECT_NE(dropped.err.find("stopped answering"), std::string::npos) << dropped.err;
  EXPECT_EQ(SentFrames(dropped.err).size(), 1u) << "no heartbeat while a command is pending";
}

// A peer on the module's port that sends bytes without end, as fast as the socket takes them.
class FloodingModule {
 public:
  FloodingModule() : chunk_(64 * 1024, '\xAA') {
    App();
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      QTcpSocket* socket = server_.nextPendingConnection();
      const auto more = [this, socket] {
        while (socket->state() == QAbstractSocket::ConnectedState &&
               socket->bytesToWrite() < 4 * chunk_.size()) {
          socket->write(chunk_);
        }
      };
      QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
      more();
    });
  }
  QStringList Module() const {
    return {"--host", "127.0.0.1", "--module-port", QString::number(server_.serverPort())};
  }

 private:
  QByteArray chunk_;
  QTcpServer server_;
};

TEST(WifiModuleAnswers, AFloodIsDroppedAndEveryWaitEndsWithinTheTimeout) {
  // Far below what an unbounded reader reaches within a second of a flood.
  constexpr std::size_t kAddressSpace = 768u << 20;
  FloodingModule flood;
  for (const char* command : {"wifi-ap", "wifi-sta"}) {
    const CliRun run =
        RunCliWithin(QStringList{command, "lobby", "secret99", "--timeout", "2"} + flood.Module(),
                     kAddressSpace, 15000);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_LT(run.elapsedMs, 3000);
    EXPECT_NE(run.err.find("does not speak the Wi-Fi module's protocol"), std::string::npos)
        << run.err.substr(0, 400);
  }

  // A module that takes the setting and says nothing: the wait ends with --timeout, before
  // the missed heartbeats would drop the link.
  FakeModule silent([](const QByteArray&) { return QByteArray(); });
  const CliRun quiet = RunCli(
      QStringList{"wifi-ap", "lobby", "secret99", "--timeout", "1"} + silent.Module(), 15000);
  EXPECT_EQ(quiet.exitCode, 1);
  EXPECT_LT(quiet.elapsedMs, 2500);
  EXPECT_NE(quiet.err.find("did not answer within 1 s"), std::string::npos) << quiet.err;
}

TEST(WifiModuleUnreachable, FailsQuicklyWithoutAModule) {
  const CliRun run = RunCli({"wifi-ap", "net", "password", "--host", "127.0.0.1", "--module-port",
                             QString::number(UnusedPort())},
                            20000);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_LT(run.elapsedMs, 6000);
  EXPECT_NE(run.err.find("cannot reach the Wi-Fi module at 127.0.0.1"), std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace tavelo::e2e
