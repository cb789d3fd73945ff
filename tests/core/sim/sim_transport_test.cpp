// The in-process transports: USB timing (one 64-byte report per request, 3 s read
// time-out, unplug) and the byte stream (connect delay, latency, dropped connection),
// all on a hand-driven clock.
#include <gtest/gtest.h>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"
#include "core/sim/SimTransport.h"
#include "core/sim/sim_test_util.h"

namespace tavelo {
namespace {

struct ManualClock {
  std::int64_t now = 1000;
  SimClock Fn() {
    return [this] { return now; };
  }
};

std::vector<std::uint8_t> Frame(std::uint8_t code, std::vector<std::uint8_t> data = {}) {
  RequestFrame frame;
  const int size = BuildRequest(code, data.data(), static_cast<int>(data.size()), frame);
  return {frame.bytes.begin(), frame.bytes.begin() + size};
}

int SendFrame(Transport& t, const std::vector<std::uint8_t>& frame) {
  return t.Send(frame.data(), static_cast<int>(frame.size()));
}

std::vector<std::uint8_t> FetchAll(Transport& t, FetchStatus* status = nullptr) {
  std::vector<std::uint8_t> out(4096);
  std::size_t got = 0;
  FetchStatus s = t.Fetch(out.data(), out.size(), got);
  if (status) *status = s;
  out.resize(got);
  return out;
}

// The codes the parser reports in the bytes.
std::vector<int> RepliedCodes(const std::vector<std::uint8_t>& bytes) {
  std::vector<int> codes;
  ReplyParser parser;
  parser.Feed(bytes.data(), bytes.size(), [&](const Reply& r) {
    codes.push_back(r.code);
    return true;
  });
  return codes;
}

TEST(SimHidTransport, EachRequestIsAnsweredByOneReportAfterTheLatency) {
  ManualClock clock;
  VirtualProcessor p;
  p.SetLatencyMs(30);
  SimHidTransport t(p, clock.Fn());
  EXPECT_EQ(t.Kind(), LinkKind::kUsb);
  ASSERT_TRUE(t.Open());
  EXPECT_FALSE(t.Open());  // already open
  EXPECT_EQ(SendFrame(t, Frame(28)), kHidReportSize);
  ASSERT_EQ(t.ReportsWritten().size(), 1u);
  EXPECT_EQ(t.ReportsWritten()[0][0], 0);
  EXPECT_EQ(t.ReportsWritten()[0][1], 0xAA);

  FetchStatus status;
  clock.now += 29;
  EXPECT_TRUE(FetchAll(t, &status).empty());
  EXPECT_EQ(status, FetchStatus::kNothing);
  clock.now += 1;
  const auto report = FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kBytes);
  ASSERT_EQ(report.size(), static_cast<std::size_t>(kHidDataSize));
  EXPECT_EQ(RepliedCodes(report), std::vector<int>{28});
  // One report per request: nothing more until the next request.
  EXPECT_TRUE(FetchAll(t, &status).empty());
  EXPECT_EQ(status, FetchStatus::kNothing);
  clock.now += 10000;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kNothing);
}

TEST(SimHidTransport, LongRequestsAreCutIntoSeveralReports) {
  ManualClock clock;
  VirtualProcessor p;
  SimHidTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  ParamImage panel = p.Current();
  panel.boost.switches = 9;
  const Payload boost = BoostBlockPayload(panel);  // N = 76: two reports
  EXPECT_EQ(
      SendFrame(t, Frame(boost.code, {boost.data.begin(), boost.data.begin() + boost.length})),
      2 * kHidReportSize);
  EXPECT_EQ(t.ReportsWritten().size(), 2u);
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{51});
  EXPECT_EQ(p.Current().boost.switches, 9);
}

TEST(SimHidTransport, NoReportWithinThreeSecondsFailsTheLink) {
  ManualClock clock;
  VirtualProcessor p;
  p.AddFault({SimFault::kDropReply, 28});
  SimHidTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  FetchStatus status;
  clock.now += 2999;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kNothing);
  clock.now += 1;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
  EXPECT_FALSE(t.IsConnected());

  // A reply slower than the reader's wait is as good as none.
  VirtualProcessor slow;
  slow.SetLatencyMs(3000);
  SimHidTransport u(slow, clock.Fn());
  ASSERT_TRUE(u.Open());
  SendFrame(u, Frame(28));
  clock.now += 3000;
  FetchAll(u, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
}

TEST(SimHidTransport, AStaleReportIsNeverTakenForTheNextReply) {
  ManualClock clock;
  VirtualProcessor p;
  SimHidTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  SendFrame(t, Frame(63, {0}));
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{63});
}

TEST(SimHidTransport, UnplugFailsEverythingUntilReplugged) {
  ManualClock clock;
  VirtualProcessor p;
  SimHidTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  t.Unplug();
  FetchStatus status;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
  EXPECT_EQ(SendFrame(t, Frame(28)), 0);
  EXPECT_FALSE(t.Open());
  t.Replug();
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{28});
}

TEST(SimHidTransport, UnplugAfterNDeliversTheNthReplyThenFails) {
  ManualClock clock;
  VirtualProcessor p;
  p.AddFault({SimFault::kCutAfter, 2});
  SimHidTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{28});
  SendFrame(t, Frame(63, {0}));
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{63});
  EXPECT_FALSE(t.Plugged());
  EXPECT_EQ(SendFrame(t, Frame(28)), 0);
  FetchStatus status;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
}

TEST(SimHidTransport, PollWakesOnceWhenTheReplyFallsDue) {
  ManualClock clock;
  VirtualProcessor p;
  p.SetLatencyMs(20);
  SimHidTransport t(p, clock.Fn());
  int wakes = 0;
  t.SetWakeup([&] { ++wakes; });
  ASSERT_TRUE(t.Open());
  EXPECT_EQ(t.NextDueMs(), -1);
  SendFrame(t, Frame(28));
  EXPECT_EQ(t.NextDueMs(), clock.now + 20);
  t.Poll();
  EXPECT_EQ(wakes, 0);
  clock.now += 20;
  t.Poll();
  t.Poll();
  EXPECT_EQ(wakes, 1);
  FetchAll(t);
  t.Poll();
  EXPECT_EQ(wakes, 1);
}

TEST(SimStreamTransport, ConnectsAfterTheDelayAndRefusesSendsBefore) {
  ManualClock clock;
  VirtualProcessor p;
  SimStreamTransport t(p, clock.Fn(), 1500);
  EXPECT_EQ(t.Kind(), LinkKind::kWifi);
  EXPECT_TRUE(t.Open());
  EXPECT_FALSE(t.IsConnected());
  EXPECT_EQ(SendFrame(t, Frame(28)), 0);
  EXPECT_EQ(t.NextDueMs(), clock.now + 1500);
  clock.now += 1500;
  EXPECT_TRUE(t.IsConnected());
  EXPECT_EQ(SendFrame(t, Frame(28)), 5);
  EXPECT_EQ(t.BytesSent(), Frame(28));

  SimStreamTransport refused(p, clock.Fn());
  refused.SetRefuseConnections(true);
  EXPECT_TRUE(refused.Open());
  clock.now += 60000;
  EXPECT_FALSE(refused.IsConnected());
}

TEST(SimStreamTransport, RepliesArriveInOrderAfterTheLatencyAndInPieces) {
  ManualClock clock;
  VirtualProcessor p;
  p.SetLatencyMs(100);
  SimStreamTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  // Two requests in one write, split across two sends at an awkward place.
  std::vector<std::uint8_t> both = Frame(28);
  const auto second = Frame(63, {0});
  both.insert(both.end(), second.begin(), second.end());
  t.Send(both.data(), 3);
  t.Send(both.data() + 3, static_cast<int>(both.size()) - 3);
  FetchStatus status;
  clock.now += 99;
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kNothing);
  clock.now += 1;
  std::vector<std::uint8_t> got;
  std::uint8_t piece[7];
  std::size_t n = 0;
  while (t.Fetch(piece, sizeof piece, n) == FetchStatus::kBytes)
    got.insert(got.end(), piece, piece + n);
  EXPECT_EQ(RepliedCodes(got), (std::vector<int>{28, 63}));
}

TEST(SimStreamTransport, ADroppedConnectionHandsOverWhatArrivedThenFails) {
  ManualClock clock;
  VirtualProcessor p;
  p.AddFault({SimFault::kCutAfter, 1});
  SimStreamTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  FetchStatus status;
  EXPECT_EQ(RepliedCodes(FetchAll(t, &status)), std::vector<int>{28});
  EXPECT_EQ(status, FetchStatus::kBytes);
  EXPECT_FALSE(t.IsConnected());
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
  EXPECT_EQ(SendFrame(t, Frame(28)), 0);
  // A new connection works again.
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  EXPECT_EQ(RepliedCodes(FetchAll(t)), std::vector<int>{28});
}

TEST(SimStreamTransport, ClosedTransportFailsAndDropLosesPendingReplies) {
  ManualClock clock;
  VirtualProcessor p;
  p.SetLatencyMs(50);
  SimStreamTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  SendFrame(t, Frame(28));
  t.DropConnection();
  clock.now += 50;
  FetchStatus status;
  EXPECT_TRUE(FetchAll(t, &status).empty());
  EXPECT_EQ(status, FetchStatus::kFailed);
  t.Close();
  t.Close();
  FetchAll(t, &status);
  EXPECT_EQ(status, FetchStatus::kFailed);
}

// A whole connection the way the engine runs it, over the stream: poll, header, chunks.
TEST(SimStreamTransport, FullDownloadOverTheStream) {
  ManualClock clock;
  VirtualProcessor p = VirtualProcessor::Seeded(3);
  SimStreamTransport t(p, clock.Fn());
  ASSERT_TRUE(t.Open());
  auto ask = [&](std::uint8_t code, std::vector<std::uint8_t> data) {
    SendFrame(t, Frame(code, std::move(data)));
    std::vector<std::uint8_t> reply;
    ReplyParser parser;
    const auto bytes = FetchAll(t);
    parser.Feed(bytes.data(), bytes.size(), [&](const Reply& r) {
      reply.assign(r.data, r.data + r.dataLength);
      return true;
    });
    return reply;
  };
  EXPECT_EQ(ask(28, {})[1], 3);
  const auto header = ask(63, {});
  const int total = simtest::Le16(header, 17);
  std::vector<std::uint8_t> body;
  while (static_cast<int>(body.size()) < total) {
    const int offset = static_cast<int>(body.size());
    const int count = std::min(58, total - offset);
    const auto chunk =
        ask(64, {static_cast<std::uint8_t>(offset & 0xFF), static_cast<std::uint8_t>(offset >> 8),
                 static_cast<std::uint8_t>(count), 0, 0});
    ASSERT_EQ(static_cast<int>(chunk.size()), count);
    body.insert(body.end(), chunk.begin(), chunk.end());
  }
  EXPECT_EQ(BodyChecksum(body.data(), body.size()), header[19]);
  EXPECT_EQ(body.size(), static_cast<std::size_t>(kDownloadBodySize));
}

}  // namespace
}  // namespace tavelo
