// The USB link's reader logic over a fake HID device that answers like the processor, and
// the real hidapi backend where no processor is attached.
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "link/Frame.h"
#include "link/ReplyParser.h"
#include "platform/HidTransport.h"
#include "platform/QtTestApp.h"
#include "sim/RequestAssembler.h"
#include "sim/VirtualProcessor.h"

namespace tavelo {
namespace {

using qttest::WaitFor;

// What the fake device does and what happened to it; shared with the test.
struct FakeState {
  std::mutex mutex;
  VirtualProcessor processor;
  RequestAssembler assembler;
  std::deque<std::vector<std::uint8_t>> input;  // input reports waiting (data bytes)
  std::vector<std::vector<std::uint8_t>> written;
  bool answer = true;
  bool failWrites = false;
  bool failReads = false;
  bool shortWrites = false;
  int closed = 0;
  // The HID library forbids two calls on one device at once: count any overlap.
  std::atomic<int> inCall{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> readsArmed{0};  // reads that wait for a report (time-out above 0)
};

// Marks a device call for its duration; a second one at the same time is an overlap.
class CallGuard {
 public:
  explicit CallGuard(FakeState& s) : s_(s) {
    if (s_.inCall.fetch_add(1) != 0) ++s_.overlaps;
  }
  ~CallGuard() { --s_.inCall; }
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

 private:
  FakeState& s_;
};

class FakeDevice : public HidDevice {
 public:
  explicit FakeDevice(std::shared_ptr<FakeState> s) : s_(std::move(s)) {}
  ~FakeDevice() override {
    std::lock_guard lock(s_->mutex);
    ++s_->closed;
  }
  int Write(const std::uint8_t* report, std::size_t size) override {
    CallGuard call(*s_);
    std::lock_guard lock(s_->mutex);
    if (s_->failWrites) return -1;
    if (s_->shortWrites) return static_cast<int>(size) - 1;
    s_->written.emplace_back(report, report + size);
    s_->assembler.Feed(report + 1, size - 1, [&](std::uint8_t code, const std::uint8_t* d, int n) {
      SimReply reply = s_->processor.Answer(code, d, n);
      if (!s_->answer) return;
      reply.bytes.resize(kHidDataSize, 0);
      s_->input.push_back(reply.bytes);
    });
    return static_cast<int>(size);
  }
  int Read(std::uint8_t* out, std::size_t size, int timeoutMs) override {
    CallGuard call(*s_);
    if (timeoutMs > 0) ++s_->readsArmed;
    for (int waited = 0;; waited += 5) {
      {
        std::lock_guard lock(s_->mutex);
        if (s_->failReads) return -1;
        if (!s_->input.empty()) {
          const auto report = s_->input.front();
          s_->input.pop_front();
          const std::size_t n = std::min(size, report.size());
          std::copy_n(report.begin(), n, out);
          return static_cast<int>(n);
        }
      }
      if (waited >= timeoutMs) return 0;
      QThread::msleep(5);
    }
  }
  std::string Path() const override { return "/dev/hidraw7"; }

 private:
  std::shared_ptr<FakeState> s_;
};

class FakeBackend : public HidBackend {
 public:
  explicit FakeBackend(std::shared_ptr<FakeState> s, bool present = true)
      : s_(std::move(s)), present_(present) {}
  std::unique_ptr<HidDevice> Open(std::uint16_t vendorId, std::uint16_t productId) override {
    lastVendor = vendorId;
    lastProduct = productId;
    if (!present_ || !openError.empty()) return nullptr;
    return std::make_unique<FakeDevice>(s_);
  }
  std::string OpenError() const override { return openError; }
  std::uint16_t lastVendor = 0, lastProduct = 0;
  std::string openError;  // a processor is there but cannot be opened

 private:
  std::shared_ptr<FakeState> s_;
  bool present_;
};

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
    qttest::App();
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
  qttest::App();
  auto state = std::make_shared<FakeState>();
  HidTransport absent(std::make_unique<FakeBackend>(state, false));
  EXPECT_FALSE(absent.Open());
  EXPECT_EQ(absent.FailureText(), "");  // nothing attached: nothing more to say
  // Attached but not openable (no udev rule): the cause and the remedy.
  auto refusing = std::make_unique<FakeBackend>(state);
  refusing->openError = "/dev/hidraw7: Permission denied";
  HidTransport denied(std::move(refusing));
  EXPECT_FALSE(denied.Open());
  EXPECT_NE(denied.FailureText().find("cannot be opened (/dev/hidraw7: Permission denied)"),
            std::string::npos)
      << denied.FailureText();
  EXPECT_NE(denied.FailureText().find("udev rule"), std::string::npos);
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
