// tavelo-sim with its Wi-Fi module port under attack: many connections, some of them
// sending bytes that start no message as fast as the simulator takes them, others opening
// and closing without end. The processor port shares the simulator's one event loop, so a
// client polling the processor's status is what shows whether the flood starves it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <list>

#include "core/link/CommandCode.h"
#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"
#include "core/link/WifiModule.h"
#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

constexpr qint64 kFloodBytes = qint64{64} << 20;
constexpr int kFlooders = 8;
constexpr int kChurners = 8;
constexpr int kPollGapMs = 100;

// Polls the processor's status over a connection of its own, one poll at a time, and keeps
// how long each took to be answered.
class StatusPoller {
 public:
  explicit StatusPoller(int port) {
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] { Poll(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { OnBytes(); });
    socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  }
  const std::vector<qint64>& AnswerTimesMs() const { return answers_; }
  // A poll out for longer than this has not been answered yet.
  qint64 Outstanding() const { return waiting_ ? sent_.elapsed() : 0; }

 private:
  void Poll() {
    RequestFrame frame;
    BuildRequest(CodeNumber(CommandCode::kStatusPoll), nullptr, 0, frame);
    parser_.Reset();
    waiting_ = true;
    sent_.start();
    socket_.write(reinterpret_cast<const char*>(frame.bytes.data()), frame.size);
  }
  void OnBytes() {
    const QByteArray bytes = socket_.readAll();
    parser_.Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                 static_cast<std::size_t>(bytes.size()), [this](const Reply& reply) {
                   if (!waiting_ || reply.code != CodeNumber(CommandCode::kStatusPoll)) return true;
                   waiting_ = false;
                   answers_.push_back(sent_.elapsed());
                   QTimer::singleShot(kPollGapMs, &socket_, [this] { Poll(); });
                   return true;
                 });
  }

  QTcpSocket socket_;
  ReplyParser parser_;
  QElapsedTimer sent_;
  bool waiting_ = false;
  std::vector<qint64> answers_;
};

// Writes noise into the module port as fast as it is taken, reconnecting when dropped,
// until the shared budget is spent.
class Flooder {
 public:
  Flooder(int port, qint64& budget) : port_(port), budget_(budget), chunk_(64 * 1024, '\x99') {
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] { More(); });
    QObject::connect(&socket_, &QTcpSocket::bytesWritten, &socket_, [this](qint64 n) {
      written_ += n;
      More();
    });
    QObject::connect(&socket_, &QTcpSocket::disconnected, &socket_, [this] { Connect(); });
    Connect();
  }
  qint64 Written() const { return written_; }

 private:
  void Connect() {
    if (budget_ <= 0) return;
    socket_.abort();
    socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  }
  void More() {
    while (budget_ > 0 && socket_.state() == QAbstractSocket::ConnectedState &&
           socket_.bytesToWrite() < 4 * chunk_.size()) {
      socket_.write(chunk_);
      budget_ -= chunk_.size();
    }
  }

  int port_;
  qint64& budget_;
  QByteArray chunk_;
  QTcpSocket socket_;
  qint64 written_ = 0;
};

// Opens a connection to the module port, sends a byte that starts no message and closes it,
// over and over.
class Churner {
 public:
  explicit Churner(int port) : port_(port) {
    QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] {
      socket_.write("\x99", 1);
      socket_.disconnectFromHost();
    });
    QObject::connect(&socket_, &QTcpSocket::disconnected, &socket_, [this] {
      ++rounds_;
      if (!stopped_) QTimer::singleShot(0, &socket_, [this] { Open(); });
    });
    Open();
  }
  void Stop() { stopped_ = true; }
  int Rounds() const { return rounds_; }

 private:
  void Open() {
    socket_.abort();
    socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  }

  int port_;
  QTcpSocket socket_;
  int rounds_ = 0;
  bool stopped_ = false;
};

TEST(SimUnderFlood, TheProcessorAnswersEveryStatusPollWithinASecondWhileItsModulePortIsFlooded) {
  App();
  SimProcess sim;
  ASSERT_TRUE(sim.Started()) << sim.Output();
  StatusPoller poller(sim.Port());
  qint64 budget = kFloodBytes;
  std::list<Flooder> flooders;
  std::list<Churner> churners;
  for (int k = 0; k < kFlooders; ++k) flooders.emplace_back(sim.ModulePort(), budget);
  for (int k = 0; k < kChurners; ++k) churners.emplace_back(sim.ModulePort());

  const auto written = [&] {
    qint64 sum = 0;
    for (const Flooder& f : flooders) sum += f.Written();
    return sum;
  };
  QEventLoop loop;
  QTimer check;
  QElapsedTimer clock;
  clock.start();
  qint64 longestOutstanding = 0;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    longestOutstanding = std::max(longestOutstanding, poller.Outstanding());
    if ((written() >= kFloodBytes && poller.AnswerTimesMs().size() >= 10) ||
        clock.elapsed() > 60000) {
      loop.quit();
    }
  });
  check.start(20);
  loop.exec();
  for (Churner& c : churners) c.Stop();

  EXPECT_GE(written(), kFloodBytes) << "the flood was not taken in a minute";
  int rounds = 0;
  for (const Churner& c : churners) rounds += c.Rounds();
  EXPECT_GT(rounds, kChurners) << "connections were not opened and closed";
  const auto& answers = poller.AnswerTimesMs();
  ASSERT_GE(answers.size(), 10u) << "the status poll was starved";
  EXPECT_LT(*std::max_element(answers.begin(), answers.end()), 1000);
  EXPECT_LT(longestOutstanding, 1000);

  // Afterwards the module still answers a heartbeat.
  QTcpSocket module;
  module.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(sim.ModulePort()));
  ASSERT_TRUE(module.waitForConnected(5000));
  const auto heartbeat = BuildModuleHeartbeat();
  module.write(reinterpret_cast<const char*>(heartbeat.data()), heartbeat.size());
  QByteArray reply;
  QElapsedTimer wait;
  wait.start();
  while (reply.size() < kModuleShortMessageSize && wait.elapsed() < 5000) {
    module.waitForReadyRead(100);
    reply += module.readAll();
  }
  EXPECT_EQ(reply.left(kModuleShortMessageSize), QByteArray("\x55\x04\x01", 3));
  EXPECT_TRUE(sim.Stop());
}

}  // namespace
}  // namespace tavelo::e2e
