// The TCP link against a local server on 127.0.0.1 (never anywhere else): bytes both ways,
// replies split across reads, the ring's limit, failed connects and a closing peer.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"
#include "platform/TcpTransport.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

using test::WaitFor;

class LocalServer {
 public:
  LocalServer() {
    test::CoreApp();
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      peer_ = server_.nextPendingConnection();
      QObject::connect(peer_, &QTcpSocket::readyRead, [this] {
        const QByteArray bytes = peer_->readAll();
        received_.insert(received_.end(), bytes.begin(), bytes.end());
      });
    });
  }
  NetEndpoint Endpoint() const { return {"127.0.0.1", server_.serverPort()}; }
  QTcpSocket* Peer() const { return peer_; }
  const std::vector<char>& Received() const { return received_; }
  void Write(const std::vector<std::uint8_t>& bytes) {
    peer_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    peer_->flush();
  }

 private:
  QTcpServer server_;
  QTcpSocket* peer_ = nullptr;
  std::vector<char> received_;
};

std::vector<std::uint8_t> Drain(TcpTransport& t, FetchStatus* last = nullptr) {
  std::vector<std::uint8_t> all;
  std::uint8_t buffer[1000];
  std::size_t got = 0;
  FetchStatus s;
  while ((s = t.Fetch(buffer, sizeof buffer, got)) == FetchStatus::kBytes) {
    all.insert(all.end(), buffer, buffer + got);
  }
  if (last) *last = s;
  return all;
}

TEST(TcpTransport, ConnectsToTheExplicitEndpointAndMovesBytesBothWays) {
  LocalServer server;
  TcpTransport t(server.Endpoint());
  int wakes = 0;
  t.SetWakeup([&] { ++wakes; });
  EXPECT_EQ(t.Kind(), LinkKind::kWifi);
  std::uint8_t poll[] = {0xAA, 0x01, 0x00, 0x1C, 0xE3};
  ASSERT_TRUE(t.Open());
  EXPECT_EQ(t.Target(), server.Endpoint());
  EXPECT_EQ(t.Send(poll, 5), 0);  // not connected yet: dropped
  ASSERT_TRUE(WaitFor([&] { return t.IsConnected() && server.Peer() != nullptr; }));
  EXPECT_EQ(t.Send(poll, 5), 5);
  ASSERT_TRUE(WaitFor([&] { return server.Received().size() == 5; }));
  EXPECT_EQ(std::vector<std::uint8_t>(server.Received().begin(), server.Received().end()),
            std::vector<std::uint8_t>(poll, poll + 5));

  // A reply split across two writes (inside the length field) is joined by the parser.
  const std::vector<std::uint8_t> reply = {0x55, 0x02, 0x00, 0xE3, 0x03, 0x18};
  server.Write({reply.begin(), reply.begin() + 2});
  ASSERT_TRUE(WaitFor([&] { return t.Ring().Pending() == 2; }));
  server.Write({reply.begin() + 2, reply.end()});
  ASSERT_TRUE(WaitFor([&] { return t.Ring().Pending() == 6; }));
  EXPECT_GE(wakes, 2);
  const auto bytes = Drain(t);
  int replies = 0;
  ReplyParser parser;
  parser.Feed(bytes.data(), bytes.size(), [&](const Reply& r) {
    EXPECT_EQ(r.code, 0x1C);
    ++replies;
    return true;
  });
  EXPECT_EQ(replies, 1);
  t.Close();
  t.Close();
}

TEST(TcpTransport, TheRingNeverOverruns) {
  LocalServer server;
  TcpTransport t(server.Endpoint());
  ASSERT_TRUE(t.Open());
  ASSERT_TRUE(WaitFor([&] { return t.IsConnected() && server.Peer() != nullptr; }));
  std::vector<std::uint8_t> flood(10000);
  for (std::size_t i = 0; i < flood.size(); ++i) flood[i] = static_cast<std::uint8_t>(i * 7);
  server.Write(flood);
  ASSERT_TRUE(WaitFor([&] { return t.Ring().Pending() + t.Ring().Dropped() == flood.size(); }));
  const auto kept = Drain(t);
  ASSERT_EQ(kept.size(), ReceiveRing::kCapacity);
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), flood.begin()));
}

TEST(TcpTransport, AFailedConnectReleasesTheSocketAtOnce) {
  test::CoreApp();
  quint16 port = 0;
  {
    QTcpServer probe;  // a port that nobody listens on any more
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    port = probe.serverPort();
  }
  TcpTransport t(NetEndpoint{"127.0.0.1", port});
  ASSERT_TRUE(t.Open());
  EXPECT_TRUE(t.HasSocket());
  ASSERT_TRUE(WaitFor([&] { return !t.HasSocket(); }));
  EXPECT_FALSE(t.IsConnected());
  std::uint8_t buffer[8];
  std::size_t got = 0;
  EXPECT_EQ(t.Fetch(buffer, sizeof buffer, got), FetchStatus::kFailed);
}

TEST(TcpTransport, APeerCloseHandsOverWhatCameThenFails) {
  LocalServer server;
  TcpTransport t(server.Endpoint());
  ASSERT_TRUE(t.Open());
  ASSERT_TRUE(WaitFor([&] { return t.IsConnected() && server.Peer() != nullptr; }));
  server.Write({1, 2, 3});
  server.Peer()->disconnectFromHost();
  ASSERT_TRUE(WaitFor([&] { return !t.IsConnected(); }));
  FetchStatus last;
  EXPECT_EQ(Drain(t, &last), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(last, FetchStatus::kFailed);
  // A new Open starts afresh.
  ASSERT_TRUE(t.Open());
  ASSERT_TRUE(WaitFor([&] { return t.IsConnected(); }));
  std::size_t got = 0;
  std::uint8_t b[4];
  EXPECT_EQ(t.Fetch(b, sizeof b, got), FetchStatus::kNothing);
}

}  // namespace
}  // namespace tavelo
