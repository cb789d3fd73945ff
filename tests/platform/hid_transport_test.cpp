// The USB link's reader logic over a fake HID device that answers like the processor, and
// the real hidapi backend where no processor is attached.
#include <gtest/gtest.h>

#include <vector>

#include "core/link/ReplyParser.h"
#include "platform/HidTransport.h"
#include "platform/fake_hid.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

using test::WaitFor;

using fakehid::FakeBackend;
using fakehid::FakeState;

std::vector<std::uint8_t> Frame(std::uint8_t code, const std::vector<std::uint8_t>& data = {}) {
  RequestFrame frame;
  const int size = BuildRequest(code, data.data(), static_cast<int>(data.size()), frame);
  return {frame.bytes.begin(), frame.bytes.begin() + size};
}

std::vector<int> RepliedCodes(HidTransport& t) {
  std::vector<int> codes;
  ReplyParser parser;
  std::uint8_t buffer[128];
  std::size_t got = 0;
  while (t.Fetch(buffer, sizeof buffer, got) == FetchStatus::kBytes) {
    parser.Feed(buffer, got, [&](const Reply& r) {
      codes.push_back(r.code);
      return true;
    });
  }
  return codes;
}

struct Fixture {
  std::shared_ptr<FakeState> state = std::make_shared<FakeState>();
  FakeBackend* backend = nullptr;
  std::unique_ptr<HidTransport> transport;
  int wakes = 0;

  Fixture() {
    test::CoreApp();
    auto b = std::make_unique<FakeBackend>(state);
    backend = b.get();
    transport = std::make_unique<HidTransport>(std::move(b));
    transport->SetWakeup([this] { ++wakes; });
  }
  int Send(const std::vector<std::uint8_t>& frame) {
    return transport->Send(frame.data(), static_cast<int>(frame.size()));
  }
};

TEST(HidTransport, OpensTheProcessorByItsIdsAndAnswersEachRequestWithOneReport) {
  Fixture f;
  ASSERT_TRUE(f.transport->Open());
  EXPECT_EQ(f.backend->lastVendor, 0x10C4);
  EXPECT_EQ(f.backend->lastProduct, 0x0321);
  EXPECT_FALSE(f.transport->Open());  // already open
  EXPECT_EQ(f.Send(Frame(28)), kHidReportSize);
  ASSERT_TRUE(WaitFor([&] { return f.wakes > 0; }));
  EXPECT_EQ(RepliedCodes(*f.transport), std::vector<int>{28});
  {
    std::lock_guard lock(f.state->mutex);
    ASSERT_EQ(f.state->written.size(), 1u);
    EXPECT_EQ(f.state->written[0].size(), static_cast<std::size_t>(kHidReportSize));
    EXPECT_EQ(f.state->written[0][0], 0);  // report ID
  }
  // A request of N = 76 goes out as two reports, in order.
  std::vector<std::uint8_t> boost(75, 0);
  EXPECT_EQ(f.Send(Frame(51, boost)), 2 * kHidReportSize);
  ASSERT_TRUE(WaitFor([&] { return f.wakes > 1; }));
  EXPECT_EQ(RepliedCodes(*f.transport), std::vector<int>{51});
  f.transport->Close();
  f.transport->Close();
  EXPECT_EQ(f.state->closed, 1);
  EXPECT_FALSE(f.transport->IsConnected());
}

TEST(HidTransport, AReportAlreadyWaitingIsNeverTakenForTheReply) {
  Fixture f;
  ASSERT_TRUE(f.transport->Open());
  {
    std::lock_guard lock(f.state->mutex);
    auto stale = VirtualProcessor().Answer(9, nullptr, 0).bytes;  // a late reply to code 9
    stale.resize(kHidDataSize, 0);
    f.state->input.push_back(stale);
  }
  f.Send(Frame(63, {0}));
  ASSERT_TRUE(WaitFor([&] { return f.wakes > 0; }));
  EXPECT_EQ(RepliedCodes(*f.transport), std::vector<int>{63});
}

TEST(HidTransport, NoReportWithinTheReadTimeOutTakesTheLinkDown) {
  Fixture f;
  f.transport->SetReadTimeoutMs(150);
  f.state->answer = false;
  ASSERT_TRUE(f.transport->Open());
  f.Send(Frame(28));
  std::uint8_t buffer[64];
  std::size_t got = 0;
  EXPECT_EQ(f.transport->Fetch(buffer, sizeof buffer, got), FetchStatus::kNothing);
  ASSERT_TRUE(WaitFor([&] { return f.wakes > 0; }));
  EXPECT_EQ(f.transport->Fetch(buffer, sizeof buffer, got), FetchStatus::kFailed);
  EXPECT_EQ(f.state->closed, 1);  // the handles are released when the link goes down
  EXPECT_EQ(f.Send(Frame(28)), 0);
  // A new Open works again.
  f.state->answer = true;
  ASSERT_TRUE(f.transport->Open());
  f.Send(Frame(28));
  ASSERT_TRUE(WaitFor([&] { return f.wakes > 1; }));
  EXPECT_EQ(RepliedCodes(*f.transport), std::vector<int>{28});
}

TEST(HidTransport, ReadErrorsFailedWritesAndRemovalTakeTheLinkDown) {
  {
    Fixture f;
    ASSERT_TRUE(f.transport->Open());
    f.state->failReads = true;
    f.state->answer = false;
    // The discard before the write already meets the read error.
    EXPECT_EQ(f.Send(Frame(28)), 0);
    EXPECT_EQ(f.state->closed, 1);
  }
  {
    Fixture f;
    ASSERT_TRUE(f.transport->Open());
    f.state->failWrites = true;
    EXPECT_EQ(f.Send(Frame(28)), 0);
    EXPECT_EQ(f.state->closed, 1);
    std::uint8_t buffer[64];
    std::size_t got = 0;
    EXPECT_EQ(f.transport->Fetch(buffer, sizeof buffer, got), FetchStatus::kFailed);
  }
  {
    Fixture f;
    ASSERT_TRUE(f.transport->Open());
    f.transport->DeviceRemoved("/dev/hidraw3");  // another device
    EXPECT_TRUE(f.transport->IsConnected());
    f.transport->DeviceRemoved("/DEV/HIDRAW7");  // ours, letter case aside
    EXPECT_FALSE(f.transport->IsConnected());
    EXPECT_EQ(f.transport->FailureText(), "the processor was unplugged");
    std::uint8_t buffer[64];
    std::size_t got = 0;
    EXPECT_EQ(f.transport->Fetch(buffer, sizeof buffer, got), FetchStatus::kFailed);
    EXPECT_EQ(f.state->closed, 1);
  }
}

// A second request while the first one's report is still awaited is refused, not written
// over the running read; the device never sees two calls at once.
TEST(HidTransport, NothingIsWrittenWhileAReadIsUnderWay) {
  Fixture f;
  f.transport->SetReadTimeoutMs(600);
  f.state->answer = false;
  ASSERT_TRUE(f.transport->Open());
  EXPECT_EQ(f.Send(Frame(51, std::vector<std::uint8_t>(75, 0))), 2 * kHidReportSize);
  QThread::msleep(50);  // the reader is inside its read now
  EXPECT_EQ(f.Send(Frame(2, {1})), 0);
  EXPECT_NE(f.transport->FailureText().find("still unanswered"), std::string::npos);
  EXPECT_EQ(f.state->overlaps, 0);
  std::lock_guard lock(f.state->mutex);
  EXPECT_EQ(f.state->written.size(), 2u);
}

// A write that takes fewer bytes than the report is a failure, and a request that was not
// written arms no read.
TEST(HidTransport, AShortWriteFailsAndArmsNoRead) {
  Fixture f;
  ASSERT_TRUE(f.transport->Open());
  f.state->shortWrites = true;
  EXPECT_EQ(f.Send(Frame(28)), 0);
  EXPECT_FALSE(f.transport->IsConnected());
  QThread::msleep(150);
  EXPECT_EQ(f.state->readsArmed, 0);
}

TEST(HidTransport, WithoutAProcessorOpenFailsCleanly) {
  test::CoreApp();
  auto state = std::make_shared<FakeState>();
  HidTransport absent(std::make_unique<FakeBackend>(state, false));
  EXPECT_FALSE(absent.Open());
  EXPECT_EQ(absent.FailureText(), "");  // nothing attached: nothing more to say
  EXPECT_EQ(absent.OpenProblem().refusal, OpenRefusal::kNone);
  // Attached but not openable (no access rule): the backend's reason is kept as it came.
  auto refusing = std::make_unique<FakeBackend>(state);
  refusing->problem = {OpenRefusal::kPermissionDenied, "/dev/hidraw7", "Permission denied"};
  HidTransport denied(std::move(refusing));
  EXPECT_FALSE(denied.Open());
  EXPECT_EQ(denied.OpenProblem().refusal, OpenRefusal::kPermissionDenied);
  EXPECT_EQ(denied.OpenProblem().path, "/dev/hidraw7");
  EXPECT_EQ(denied.FailureText(),
            "the processor at /dev/hidraw7 cannot be opened: Permission denied");
  EXPECT_EQ(denied.Describe(), "USB (10C4:0321)");
  // The real backend on a machine without the processor.
  HidTransport real;
  EXPECT_FALSE(real.Open());
  const auto poll = Frame(28);
  EXPECT_EQ(real.Send(poll.data(), static_cast<int>(poll.size())), 0);
  std::uint8_t buffer[64];
  std::size_t got = 0;
  EXPECT_EQ(real.Fetch(buffer, sizeof buffer, got), FetchStatus::kFailed);
  real.Close();
}

}  // namespace
}  // namespace tavelo
