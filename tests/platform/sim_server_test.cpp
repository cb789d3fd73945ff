// tavelo-sim's server over loopback, reached through the real TCP link: the processor
// protocol with latency and a dropped connection, and the module port.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpSocket>
#include <algorithm>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"
#include "platform/SimServer.h"
#include "platform/TcpTransport.h"
#include "platform/WifiModuleSocket.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

using test::WaitFor;

struct Rig {
  VirtualProcessor processor;
  SimServer server{processor};
  std::unique_ptr<TcpTransport> link;
  std::vector<std::string> log;

  Rig() {
    test::CoreApp();
    server.SetLogger([this](const std::string& line) { log.push_back(line); });
    EXPECT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
    link = std::make_unique<TcpTransport>(NetEndpoint{"127.0.0.1", server.Port()});
    EXPECT_TRUE(link->Open());
    EXPECT_TRUE(WaitFor([this] { return link->IsConnected(); }));
  }

  // Sends one request and waits for its reply's data; nullopt when none comes in time or
  // the link fails.
  std::optional<std::vector<std::uint8_t>> Ask(std::uint8_t code, std::vector<std::uint8_t> data,
                                               int waitMs = 2000) {
    RequestFrame frame;
    const int size = BuildRequest(code, data.data(), static_cast<int>(data.size()), frame);
    if (link->Send(frame.bytes.data(), size) != size) return std::nullopt;
    ReplyParser parser;
    std::optional<std::vector<std::uint8_t>> reply;
    bool failed = false;
    WaitFor(
        [&] {
          std::uint8_t buffer[256];
          std::size_t got = 0;
          const FetchStatus s = link->Fetch(buffer, sizeof buffer, got);
          failed = s == FetchStatus::kFailed;
          parser.Feed(buffer, got, [&](const Reply& r) {
            reply.emplace(r.data, r.data + r.dataLength);
            return false;
          });
          return reply.has_value() || failed;
        },
        waitMs);
    return reply;
  }
};

TEST(SimServer, AnswersAWholeConnectionOverTcp) {
  Rig rig;
  auto status = rig.Ask(28, {});
  ASSERT_TRUE(status);
  EXPECT_EQ((*status)[1], 3);
  auto header = rig.Ask(63, {});
  ASSERT_TRUE(header);
  const int total = (*header)[17] | ((*header)[18] << 8);
  std::vector<std::uint8_t> body;
  while (static_cast<int>(body.size()) < total) {
    const int offset = static_cast<int>(body.size());
    const int count = std::min(58, total - offset);
    auto chunk =
        rig.Ask(64, {static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8),
                     static_cast<std::uint8_t>(count), 0, 0});
    ASSERT_TRUE(chunk);
    body.insert(body.end(), chunk->begin(), chunk->end());
  }
  EXPECT_EQ(BodyChecksum(body.data(), body.size()), (*header)[19]);
  // A change made over the link lands in the shared processor.
  ASSERT_TRUE(rig.Ask(9, {42, 0}));
  EXPECT_EQ(rig.processor.Current().byte(2), 42);
  EXPECT_EQ(rig.server.Connections(), 1);
}

TEST(SimServer, LatencyDelaysRepliesAndDropAfterClosesTheConnection) {
  Rig rig;
  rig.processor.SetLatencyMs(150);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(rig.Ask(28, {}));
  EXPECT_GE(clock.elapsed(), 140);
  rig.processor.SetLatencyMs(0);

  rig.processor.AddFault({SimFault::kCutAfter, 2});
  ASSERT_TRUE(rig.Ask(28, {}));
  ASSERT_TRUE(rig.Ask(63, {}));  // the second reply still arrives...
  ASSERT_TRUE(WaitFor([&] { return !rig.link->IsConnected(); }));  // ...then the link drops
  EXPECT_FALSE(rig.Ask(28, {}, 200));
  // The processor answers again on a new connection.
  ASSERT_TRUE(rig.link->Open());
  ASSERT_TRUE(WaitFor([&] { return rig.link->IsConnected(); }));
  EXPECT_TRUE(rig.Ask(28, {}));
}

TEST(SimServer, ServesTheModulePort) {
  Rig rig;
  WifiModuleSocket module(NetEndpoint{"127.0.0.1", rig.server.ModulePort()});
  module.SetTimerEnabled(false);
  module.Connect();
  ASSERT_TRUE(WaitFor([&] { return module.IsConnected(); }));
  module.SetAp("Karaoke-3", "password9");
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().ApName() == "Karaoke-3"; }));
  EXPECT_TRUE(std::any_of(rig.log.begin(), rig.log.end(), [](const std::string& l) {
    return l.find("Karaoke-3") != std::string::npos;
  }));
}

// A client that writes requests and never reads: the server keeps a bounded backlog of
// replies and then drops it, instead of buffering without limit.
TEST(SimServer, DropsAClientThatNeverReadsItsReplies) {
  test::CoreApp();
  VirtualProcessor processor;
  SimServer server{processor};
  std::vector<std::string> log;
  server.SetLogger([&](const std::string& line) { log.push_back(line); });
  ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
  QTcpSocket client;
  client.setReadBufferSize(1);  // takes almost nothing off the wire
  client.connectToHost(QHostAddress::LocalHost, server.Port());
  ASSERT_TRUE(client.waitForConnected(2000));
  RequestFrame frame;
  const int size = BuildRequest(28, nullptr, 0, frame);
  QByteArray requests;
  for (int i = 0; i < 200000; ++i) {
    requests.append(reinterpret_cast<const char*>(frame.bytes.data()), size);
  }
  bool dropped = false;
  QObject::connect(&client, &QTcpSocket::disconnected, [&] { dropped = true; });
  for (int round = 0; round < 40 && !dropped; ++round) {
    if (client.state() == QAbstractSocket::ConnectedState) client.write(requests);
    WaitFor([&] { return dropped; }, 250);
  }
  EXPECT_TRUE(dropped);
  EXPECT_NE(std::find(log.begin(), log.end(), "dropping a client that does not read its replies"),
            log.end());
}

}  // namespace
}  // namespace tavelo
