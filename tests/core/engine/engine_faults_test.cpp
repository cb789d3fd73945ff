// Every injected fault ends the way the protocol says, never in a hang.
#include "core/params/ParamImage.h"
#include "engine_harness.h"

namespace tavelo::test {
namespace {

ParamImage Defaults() {
  ParamImage image;
  ApplyDefaults(image);
  return image;
}

struct FaultCase {
  const char* name;
  Link link;
  SimFaultSpec fault;
  const char* finalStatus;
  std::vector<int> wireCodes;  // empty: not checked
};

class EngineFaultWhileConnecting : public ::testing::TestWithParam<FaultCase> {};

TEST_P(EngineFaultWhileConnecting, EndsIdleWithItsStatus) {
  const FaultCase& c = GetParam();
  EngineHarness h(c.link);
  h.processor = VirtualProcessor::Seeded(3);
  h.processor.AddFault(c.fault);
  h.Connect();
  ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 300));
  EXPECT_EQ(h.recorder.LastStatus(), c.finalStatus);
  if (!c.wireCodes.empty()) {
    EXPECT_EQ(h.Codes(), c.wireCodes);
  }
  EXPECT_EQ(h.engine.Image(), Defaults());  // a failed read keeps what the image held
  EXPECT_EQ(h.recorder.distributions, 0);
  h.ExpectEndedIdle();
}

std::vector<int> FullRead() {
  std::vector<int> codes = {28, 63};
  codes.insert(codes.end(), 17, 64);
  return codes;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EngineFaultWhileConnecting,
    ::testing::Values(
        FaultCase{"WrongSignature",
                  Link::kHid,
                  {SimFault::kWrongSignature, -1},
                  "Open failed1",
                  {28, 63}},
        FaultCase{"OversizedTotal",
                  Link::kHid,
                  {SimFault::kOversizedTotal, 4097},
                  "Open failed1",
                  {28, 63}},
        // A total below the body's size with a checksum that fits the bytes it covers.
        FaultCase{"ZeroTotal", Link::kHid, {SimFault::kShortTotal, 0}, "Open failed1", {28, 63}},
        FaultCase{"OneByteTotal", Link::kHid, {SimFault::kShortTotal, 1}, "Open failed1", {28, 63}},
        FaultCase{"PresetBodyTotal",
                  Link::kStream,
                  {SimFault::kShortTotal, 653},
                  "Open failed1",
                  {28, 63}},
        FaultCase{"BadBodyChecksum",
                  Link::kStream,
                  {SimFault::kBadBodyChecksum, -1},
                  "Open failed1",
                  FullRead()},
        FaultCase{
            "WifiPollUnanswered", Link::kStream, {SimFault::kDropReply, 28}, "Open failed0", {28}},
        FaultCase{"WifiReadStartUnanswered",
                  Link::kStream,
                  {SimFault::kDropReply, 63},
                  "Open failed1",
                  {28, 63}},
        FaultCase{"WifiCorruptChunk",
                  Link::kStream,
                  {SimFault::kCorruptReplyChecksum, 64},
                  "Idle",
                  {28, 63, 64}},
        // Over USB the reader's 3 s wait ends the link before the reply time-out.
        FaultCase{"UsbPollUnanswered", Link::kHid, {SimFault::kDropReply, 28}, "Idle", {28}},
        FaultCase{"UsbUnplugMidRead", Link::kHid, {SimFault::kCutAfter, 6}, "Idle", {}},
        FaultCase{"WifiDropMidRead", Link::kStream, {SimFault::kCutAfter, 6}, "Idle", {}}),
    [](const ::testing::TestParamInfo<FaultCase>& p) { return std::string(p.param.name); });

TEST(EngineFaults, VersionTwoIsRefusedWithTheVersionMessage) {
  EngineHarness h;
  h.processor.AddFault({SimFault::kWrongVersion, 2});
  h.Connect();
  h.Step();
  EXPECT_EQ(h.recorder.LastStatus(), "Open failed1");
  ASSERT_EQ(h.recorder.messages.size(), 1u);
  EXPECT_EQ(h.recorder.messages[0].text,
            "Device version is not matched.\nPlease contact your vendor.");
  EXPECT_EQ(h.recorder.messages[0].captionKind, CaptionKind::kSpace);
  EXPECT_EQ(h.engine.ProtocolVersion(), 2);
  EXPECT_EQ(h.Codes(), (std::vector<int>{28}));
  h.ExpectEndedIdle();
}

TEST(EngineFaults, TimeOutsCountTicksExactly) {
  // Wi-Fi: the poll's reply time-out is 130 ticks.
  EngineHarness h(Link::kStream);
  h.processor.AddFault({SimFault::kDropReply, 28});
  h.Connect();
  h.Steps(129);
  EXPECT_EQ(h.engine.State(), ConnState::kOpening);
  h.Step();
  EXPECT_EQ(h.recorder.LastStatus(), "Open failed0");
}

TEST(EngineFaults, UnansweredRequestWhileConnectedShowsFailedThenIdle) {
  EngineHarness h(Link::kStream);
  ASSERT_TRUE(h.ConnectAndRead());
  h.processor.AddFault({SimFault::kDropReply, 9});
  h.engine.PostBlock(9);
  h.Steps(129);
  EXPECT_TRUE(h.engine.Connected());
  h.Step();
  const auto& st = h.recorder.statuses;
  ASSERT_GE(st.size(), 2u);
  EXPECT_EQ(st[st.size() - 2], "failed");
  EXPECT_EQ(st.back(), "Idle");
  h.ExpectEndedIdle();
}

TEST(EngineFaults, UnpluggedDeviceTakesTheLinkDownAtTheNextRequest) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  h.hid->Unplug();
  ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 60));
  EXPECT_EQ(h.recorder.LastStatus(), "Idle");
  h.ExpectEndedIdle();
}

}  // namespace
}  // namespace tavelo::test
