// The engine over the real threaded USB link, with a fake device behind it: a whole
// connection, and each way the link can fail in the middle of one. The device counts any
// two calls that overlap; none may.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cmd_device_console.h"
#include "core/engine/Engine.h"
#include "platform/HidTransport.h"
#include "platform/fake_hid.h"
#include "support/event_loop.h"

namespace tavelo {
namespace {

using fakehid::FakeBackend;
using fakehid::FakeState;
using fakehid::FakeSystem;
using fakehid::Processor;
using test::WaitFor;

constexpr int kReadTimeoutMs = 200;  // the transport's; the engine's reply time-out is ticks
constexpr int kBoostStore = 51;      // a request of two reports
constexpr int kMusicVolume = 2;

class Observer : public EngineObserver {
 public:
  void OnStatus(TextId, const std::string& text) override { statuses.push_back(text); }
  void OnMessage(const UserMessage& m) override { messages.push_back(m.text); }
  std::string LastStatus() const { return statuses.empty() ? "" : statuses.back(); }
  std::vector<std::string> statuses;
  std::vector<std::string> messages;
};

struct UsbEngine {
  std::shared_ptr<FakeState> state = std::make_shared<FakeState>();
  Observer observer;
  Engine engine{observer};
  HidTransport* transport = nullptr;

  UsbEngine() {
    test::CoreApp();
    state->processor = VirtualProcessor::Seeded(7);
    engine.SetTransportFactory([this] {
      auto link = std::make_unique<HidTransport>(std::make_unique<FakeBackend>(state));
      link->SetReadTimeoutMs(kReadTimeoutMs);
      link->SetWakeup([this] { engine.BytesArrived(); });
      transport = link.get();
      return link;
    });
  }
  ~UsbEngine() { engine.Shutdown(); }

  // Connects and waits (by the link's wake-ups alone, no ticks) for the whole set.
  bool Connect() {
    engine.Post(msg::Connect{});
    return WaitFor([&] {
      return engine.Connected() && engine.ParamSetRead() && !engine.ReplyAwaited() &&
             engine.Pending().Empty();
    });
  }
  bool WaitIdle() {
    return WaitFor([&] { return engine.State() == ConnState::kIdle; });
  }
  // Idle ticks until the keep-alive poll goes out.
  void TicksToKeepAlive() {
    for (int i = 0; i < kUsbTimings.keepAlive; ++i) engine.Tick();
  }
  std::size_t Written() {
    std::lock_guard lock(state->mutex);
    return state->written.size();
  }
  int Closed() {
    std::lock_guard lock(state->mutex);
    return state->closed;
  }
};

// Connect reads the whole set over the threaded link; a poll that gets no report ends at
// "Idle" after the link's read time-out, with the device released; a new Connect works.
TEST(EngineOverHid, ConnectsReadsTheSetAndAReadTimeOutEndsAtIdle) {
  UsbEngine u;
  ASSERT_TRUE(u.Connect()) << u.observer.LastStatus();
  EXPECT_NE(std::find(u.observer.statuses.begin(), u.observer.statuses.end(), "connected"),
            u.observer.statuses.end());
  EXPECT_EQ(u.engine.Image().bytes, u.state->processor.Current().bytes);
  EXPECT_EQ(u.engine.Image().name, u.state->processor.Current().name);

  {
    std::lock_guard lock(u.state->mutex);
    u.state->answer = false;
  }
  u.TicksToKeepAlive();
  EXPECT_TRUE(u.engine.ReplyAwaited());
  ASSERT_TRUE(u.WaitIdle());
  EXPECT_EQ(u.observer.LastStatus(), "Idle");
  EXPECT_NE(u.engine.FailureDetail().find("no answer from the processor within 0.2 s"),
            std::string::npos)
      << u.engine.FailureDetail();
  EXPECT_EQ(u.Closed(), 1);

  {
    std::lock_guard lock(u.state->mutex);
    u.state->answer = true;
  }
  EXPECT_TRUE(u.Connect());
  EXPECT_EQ(u.state->overlaps, 0);
}

// Unplugged while nothing is awaited: nothing more is written, and the link is down at
// the latest when the keep-alive poll would go out.
TEST(EngineOverHid, RemovalWhileIdleEndsTheLinkWithoutWritingToIt) {
  UsbEngine u;
  ASSERT_TRUE(u.Connect());
  const std::size_t written = u.Written();
  u.transport->DeviceRemoved("/dev/hidraw7");
  QCoreApplication::processEvents();
  u.TicksToKeepAlive();
  ASSERT_TRUE(u.WaitIdle());
  EXPECT_EQ(u.observer.LastStatus(), "Idle");
  EXPECT_EQ(u.Written(), written);
  EXPECT_NE(u.engine.FailureDetail().find("unplugged"), std::string::npos)
      << u.engine.FailureDetail();
  EXPECT_EQ(u.Closed(), 1);
}

// A read error in the middle of reading the set ends the attempt: the image stays as it
// was, the set is not marked read, and the next Connect reads it whole.
TEST(EngineOverHid, AReadErrorInTheMiddleOfTheSetEndsTheAttemptCleanly) {
  UsbEngine u;
  const ParamImage before = u.engine.Image();
  {
    std::lock_guard lock(u.state->mutex);
    u.state->reportsBeforeFailure = 4;  // the poll, the start and two chunks
  }
  u.engine.Post(msg::Connect{});
  ASSERT_TRUE(u.WaitIdle());
  EXPECT_FALSE(u.engine.ParamSetRead());
  EXPECT_EQ(u.engine.Image(), before);
  EXPECT_NE(u.engine.FailureDetail().find("reading from the processor failed"), std::string::npos)
      << u.engine.FailureDetail();
  EXPECT_EQ(u.Written(), 5u);  // the third chunk's request went out; its report was lost
  EXPECT_EQ(u.Closed(), 1);

  {
    std::lock_guard lock(u.state->mutex);
    u.state->reportsBeforeFailure = -1;
  }
  ASSERT_TRUE(u.Connect());
  EXPECT_EQ(u.engine.Image().bytes, u.state->processor.Current().bytes);
  EXPECT_EQ(u.state->overlaps, 0);
}

// A request of two reports whose second write fails: the link is down at once, the edit
// waiting behind it is not sent, and no read is armed for the half-written request.
TEST(EngineOverHid, ASecondReportsWriteFailingTakesTheLinkDown) {
  UsbEngine u;
  ASSERT_TRUE(u.Connect());
  const int armed = u.state->readsArmed;
  const std::size_t written = u.Written();
  {
    std::lock_guard lock(u.state->mutex);
    u.state->writesBeforeFailure = 1;
  }
  u.engine.PostBlock(kBoostStore);
  u.engine.PostBlock(kMusicVolume, 3);
  EXPECT_EQ(u.engine.State(), ConnState::kIdle);
  EXPECT_EQ(u.observer.LastStatus(), "Idle");
  EXPECT_EQ(u.Written(), written + 1);
  EXPECT_NE(u.engine.FailureDetail().find("request 51 could not be sent"), std::string::npos)
      << u.engine.FailureDetail();
  EXPECT_NE(u.engine.FailureDetail().find("writing to the processor failed"), std::string::npos);
  QThread::msleep(50);
  EXPECT_EQ(u.state->readsArmed, armed);
  EXPECT_EQ(u.Closed(), 1);
}

// The boost store's shorter time-out ends the exchange while the link's read still runs:
// the edit waiting behind it is never written over that read, and the link goes down.
TEST(EngineOverHid, NothingIsWrittenOverAReadAfterTheBoostTimeOut) {
  UsbEngine u;
  ASSERT_TRUE(u.Connect());
  u.transport->SetReadTimeoutMs(2000);  // longer than the boost store's time-out
  {
    std::lock_guard lock(u.state->mutex);
    u.state->answer = false;
  }
  const std::size_t written = u.Written();
  u.engine.PostBlock(kBoostStore);
  u.engine.PostBlock(kMusicVolume, 3);
  for (int i = 0; i < kBoostStoreTimeout + 5; ++i) u.engine.Tick();
  QCoreApplication::processEvents();
  EXPECT_EQ(u.engine.State(), ConnState::kIdle);
  EXPECT_EQ(u.Written(), written + 2);  // the boost store's two reports, nothing after
  EXPECT_EQ(u.state->overlaps, 0);
}

// The console's report of a processor that is there but refuses to open, through the real
// open policy and link: the cause and the remedy once per Connect, then the status; the
// failure line's detail names the node and the system's reason.
TEST(EngineOverHid, TheConsoleSaysWhyAPresentProcessorCannotBeOpened) {
  test::CoreApp();
  auto state = std::make_shared<FakeState>();
  std::ostringstream err;
  cli::ConsoleObserver console(err, false);
  Engine engine(console);
  int errorNumber = EACCES;
  engine.SetTransportFactory([&] {
    auto system = std::make_unique<FakeSystem>(state);
    system->attached = {Processor("/dev/hidraw3"), Processor("/dev/hidraw5")};
    system->refusing["/dev/hidraw3"] = errorNumber;
    return std::make_unique<HidTransport>(std::make_unique<HidOpenPolicy>(std::move(system)));
  });
  engine.Post(msg::Connect{});
  for (int i = 0; i < 100; ++i) engine.Tick();
  EXPECT_EQ(err.str(),
            "status: Connecting...\n"
            "The processor is connected at /dev/hidraw3 but cannot be opened: Permission "
            "denied. Install the udev rule 70-tavelo.rules (see README) and replug the "
            "processor.\n"
            "status: Open failed\n");
  EXPECT_EQ(console.FailureStatusText(), "Open failed");
  EXPECT_EQ(engine.FailureDetail(),
            "the processor at /dev/hidraw3 cannot be opened: Permission denied");

  err.str("");
  errorNumber = EBUSY;
  engine.Post(msg::Connect{});
  EXPECT_NE(err.str().find("cannot be opened: Device or resource busy. Another program is "
                           "using it: close that program and connect again.\n"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(console.MessagesOf(TextId::kMsgUsbOpenDenied), 1);
  EXPECT_EQ(console.MessagesOf(TextId::kMsgUsbOpenBusy), 1);

  // Nothing attached: the status alone and a detail that names the link.
  err.str("");
  engine.SetTransportFactory([&] {
    return std::make_unique<HidTransport>(
        std::make_unique<HidOpenPolicy>(std::make_unique<FakeSystem>(state)));
  });
  engine.Post(msg::Connect{});
  EXPECT_EQ(err.str(), "status: Connecting...\nstatus: Open failed\n");
  EXPECT_EQ(engine.FailureDetail(), "no processor found on USB (10C4:0321)");
}

}  // namespace
}  // namespace tavelo
