// Connecting, reading the whole set, keep-alive polls and the Wi-Fi connect wait.
#include <algorithm>

#include "engine_harness.h"

namespace tavelo::test {
namespace {

TEST(EngineConnect, UsbConnectReadsTheWholeSetInSeventeenChunksAndShowsIt) {
  EngineHarness h;
  h.processor = VirtualProcessor::Seeded(7);
  ASSERT_TRUE(h.ConnectAndRead());

  std::vector<int> expected = {28, 63};
  expected.insert(expected.end(), 17, 64);
  EXPECT_EQ(h.Codes(), expected);
  const auto chunks = h.WithCode(64);
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(Le16(chunks[i].data, 0), static_cast<int>(i) * 58);
    EXPECT_EQ(Le16(chunks[i].data, 2), i < 16 ? 58 : 9);
  }
  const auto& st = h.recorder.statuses;
  const auto connecting = std::find(st.begin(), st.end(), "Connecting...");
  ASSERT_NE(connecting, st.end());
  EXPECT_NE(std::find(connecting, st.end(), "connected"), st.end());
  EXPECT_TRUE(h.recorder.lit);
  EXPECT_FALSE(h.recorder.linkChoiceEnabled);
  EXPECT_EQ(h.recorder.distributions, 1);
  EXPECT_EQ(h.recorder.waitOpens, 1);
  EXPECT_EQ(h.recorder.waitCloses, 1);
  EXPECT_EQ(h.engine.Image().bytes, h.processor.Current().bytes);
  EXPECT_EQ(h.engine.Image().name, h.processor.Current().name);
  EXPECT_EQ(h.engine.Image().switchWord, h.processor.Current().switchWord);
}

TEST(EngineConnect, RepliesAreHandledAsTheyArriveWithoutWaitingForTicks) {
  EngineHarness h;
  h.Connect();
  for (int i = 0; i < 100 && !h.engine.ParamSetRead(); ++i) h.Poll();  // no tick at all
  EXPECT_TRUE(h.engine.Connected());
  EXPECT_TRUE(h.engine.ParamSetRead());
  EXPECT_EQ(h.WithCode(64).size(), 17u);
}

// Steps (from a request sent between ticks) at which status polls go out.
std::vector<int> PollSteps(EngineHarness& h, int steps) {
  h.engine.PostBlock(9);
  std::vector<int> at;
  for (int i = 1; i <= steps; ++i) {
    const std::size_t before = h.wire.size();
    h.Step();
    for (std::size_t k = before; k < h.wire.size(); ++k) {
      if (h.wire[k].code == 28) at.push_back(i);
    }
  }
  return at;
}

TEST(EngineConnect, KeepAlivePollAfterExactlyFiftyIdleTicksOverUsbAndFiftyFiveOverWifi) {
  EngineHarness usb(Link::kHid);
  ASSERT_TRUE(usb.ConnectAndRead());
  EXPECT_EQ(PollSteps(usb, 120), (std::vector<int>{50, 100}));

  EngineHarness wifi(Link::kStream);
  ASSERT_TRUE(wifi.ConnectAndRead());
  EXPECT_EQ(PollSteps(wifi, 120), (std::vector<int>{55, 110}));

  // Fetching only on ticks (no wake-ups) keeps the same rhythm.
  EngineHarness ticksOnly(Link::kHid);
  ticksOnly.useWakeup = false;
  ASSERT_TRUE(ticksOnly.ConnectAndRead());
  EXPECT_EQ(PollSteps(ticksOnly, 120), (std::vector<int>{50, 100}));
}

TEST(EngineConnect, WifiPollGoesOutAsSoonAsTheConnectionStands) {
  EngineHarness h(Link::kStream);
  h.connectDelayMs = 120;
  h.Connect();
  EXPECT_TRUE(h.wire.empty());
  h.Steps(2);
  EXPECT_TRUE(h.wire.empty());
  h.Step();  // 150 ms: connected, well before the 1 s connect timer
  ASSERT_FALSE(h.wire.empty());
  EXPECT_EQ(h.wire[0].code, 28);
  EXPECT_TRUE(h.StepUntil([&] { return h.engine.ParamSetRead(); }));
}

TEST(EngineConnect, OpeningThatCannotStartFailsAndReleasesTheTransport) {
  // Wi-Fi whose connection never stands: "Open failed" on the fourth connect timer, 80
  // ticks after Connect.
  EngineHarness wifi(Link::kStream);
  wifi.connectDelayMs = 60000;
  wifi.Connect();
  wifi.Steps(79);
  EXPECT_EQ(wifi.engine.State(), ConnState::kOpening);
  wifi.Step();
  EXPECT_EQ(wifi.recorder.LastStatus(), "Open failed");
  EXPECT_EQ(wifi.stream, nullptr);
  wifi.ExpectEndedIdle();

  // Wi-Fi refused: a refusal is an answer, so "Open failed" at once, and the refusal is
  // the reason given, not the connect window.
  EngineHarness refused(Link::kStream);
  refused.refuseConnections = true;
  refused.Connect();
  EXPECT_EQ(refused.recorder.LastStatus(), "Open failed");
  EXPECT_EQ(refused.engine.FailureDetail(), "connection refused (nothing listens)");
  EXPECT_EQ(refused.stream, nullptr);
  refused.ExpectEndedIdle();

  // No USB device: "Open failed" at once; the wait dialog opens and closes.
  EngineHarness usb(Link::kHid);
  usb.failOpen = true;
  usb.Connect();
  EXPECT_EQ(usb.recorder.LastStatus(), "Open failed");
  EXPECT_EQ(usb.recorder.waitOpens, 1);
  EXPECT_EQ(usb.recorder.waitCloses, 1);
  usb.ExpectEndedIdle();
}

// A USB processor that is there but cannot be opened: the status stays "Open failed", one
// message gives the cause and the remedy in the user's language, and the console's detail
// says it too.
TEST(EngineConnect, AProcessorThatCannotBeOpenedSaysWhy) {
  class Refusing : public Transport {
   public:
    LinkKind Kind() const override { return LinkKind::kUsb; }
    bool Open() override { return false; }
    bool IsConnected() const override { return false; }
    int Send(const std::uint8_t*, int) override { return 0; }
    FetchStatus Fetch(std::uint8_t*, std::size_t, std::size_t& got) override {
      got = 0;
      return FetchStatus::kFailed;
    }
    void Close() override {}
    std::string FailureText() const override { return OpenProblemSummary(problem); }
    LinkOpenProblem OpenProblem() const override { return problem; }
    LinkOpenProblem problem{OpenRefusal::kPermissionDenied, "/dev/hidraw3", "Permission denied"};
  };
  Recorder recorder;
  Engine engine(recorder);
  engine.SetTransportFactory([] { return std::make_unique<Refusing>(); });
  engine.Post(msg::Connect{});
  EXPECT_EQ(recorder.LastStatus(), "Open failed");
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].id, TextId::kMsgUsbOpenDenied);
  EXPECT_EQ(recorder.LastMessage(),
            "The processor is connected at /dev/hidraw3 but cannot be opened: Permission "
            "denied. Install the udev rule 70-tavelo.rules (see README) and replug the "
            "processor.");
  EXPECT_EQ(engine.FailureDetail(),
            "the processor at /dev/hidraw3 cannot be opened: Permission denied");
  // Ticks do not repeat it; the next Connect says it again, in the language now chosen.
  for (int i = 0; i < 200; ++i) engine.Tick();
  EXPECT_EQ(recorder.messages.size(), 1u);
  engine.SetLanguage(Lang::kChinese);
  engine.Post(msg::Connect{});
  ASSERT_EQ(recorder.messages.size(), 2u);
  EXPECT_NE(recorder.LastMessage().find("/dev/hidraw3"), std::string::npos);
  EXPECT_NE(recorder.LastMessage().find("70-tavelo.rules"), std::string::npos);
  EXPECT_NE(recorder.LastMessage().find("设备"), std::string::npos);

  // Nothing attached: the status alone, as before, and a detail for the console.
  EngineHarness usb(Link::kHid);
  usb.failOpen = true;
  usb.Connect();
  EXPECT_TRUE(usb.recorder.messages.empty());
  EXPECT_EQ(usb.engine.FailureDetail(),
            "no processor found on demo (the built-in virtual processor, USB)");
}

// Every failure keeps its first cause in plain words: which check, at which step.
TEST(EngineConnect, AFailureNamesItsCause) {
  struct Case {
    Link link;
    SimFaultSpec fault;
    const char* detail;
  };
  const Case cases[] = {
      {Link::kStream,
       {SimFault::kDropReply, 28},
       "the processor did not answer the status poll within 6.5 s"},
      {Link::kStream,
       {SimFault::kDropReply, 63},
       "reading the parameter set: the processor did not answer request 63 within 6.5 s"},
      {Link::kHid,
       {SimFault::kWrongSignature, -1},
       "reading the parameter set: the start reply carries a wrong signature"},
      {Link::kStream,
       {SimFault::kCutAfter, 6},
       "the link went down while waiting for the answer to request 64 (the processor closed "
       "the connection)"},
  };
  for (const Case& c : cases) {
    EngineHarness h(c.link);
    h.processor.AddFault(c.fault);
    h.Connect();
    ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 400));
    EXPECT_EQ(h.engine.FailureDetail(), c.detail);
  }
  // A new attempt starts without the old cause.
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  EXPECT_EQ(h.engine.FailureDetail(), "");
}

TEST(EngineConnect, ConnectWhileConnectedDisconnects) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  h.Connect();
  EXPECT_EQ(h.recorder.LastStatus(), "Idle");
  EXPECT_EQ(h.hid, nullptr);
  h.ExpectEndedIdle();
  const std::size_t sent = h.wire.size();
  h.Steps(100);  // nothing more goes out
  EXPECT_EQ(h.wire.size(), sent);
}

}  // namespace
}  // namespace tavelo::test
