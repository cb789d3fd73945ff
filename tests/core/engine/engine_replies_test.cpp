// What the engine does with the processor's replies: unlock, lock and admin results,
// reset and restore follow-ups, echo type, boost read and the status poll's positions.
#include "EngineHarness.h"
#include "engine/StatusDecode.h"

namespace tavelo::test {
namespace {

msg::Block Digits(int code, std::vector<std::uint8_t> bytes) {
  return msg::Block{code, BlockArg::Buffer(bytes.data(), static_cast<int>(bytes.size()))};
}

TEST(EngineUnlock, LockedProcessorIsShownOnlyAfterTheRightPassword) {
  EngineHarness h;
  h.processor = VirtualProcessor::Seeded(11);
  h.processor.AddFault({SimFault::kLocked, -1});
  ASSERT_TRUE(h.ConnectAndRead());
  EXPECT_TRUE(h.engine.UnlockOpen());
  EXPECT_FALSE(h.engine.WaitOpen());
  EXPECT_EQ(h.recorder.distributions, 0);

  h.engine.Post(Digits(43, {9, 9, 9, 9, 1}));
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.recorder.LastMessage(), "        Password error        ");
  EXPECT_TRUE(h.engine.UnlockOpen());
  EXPECT_EQ(h.recorder.distributions, 0);

  const std::size_t mark = h.wire.size();
  h.engine.Post(Digits(43, {1, 2, 3, 4, 1}));
  ASSERT_TRUE(h.Settle());
  EXPECT_FALSE(h.engine.UnlockOpen());
  EXPECT_EQ(h.recorder.unlockCloses, 1);
  EXPECT_EQ(h.recorder.distributions, 1);
  EXPECT_TRUE(h.engine.ParamSetShown());
  EXPECT_EQ(h.Codes(mark), (std::vector<int>{43}));  // shown without a second read
  EXPECT_EQ(h.engine.Image().bytes, h.processor.Current().bytes);
}

TEST(EngineUnlock, ClosingThePromptAbandonsTheLinkAndRestoresTheDefaults) {
  EngineHarness h;
  h.processor = VirtualProcessor::Seeded(12);
  h.processor.AddFault({SimFault::kLocked, -1});
  ASSERT_TRUE(h.ConnectAndRead());
  ASSERT_NE(h.engine.Image(), ParamImage{});
  h.engine.Post(msg::UnlockClosed{});
  EXPECT_EQ(h.recorder.LastStatus(), "Open failed1");
  ParamImage defaults;
  ApplyDefaults(defaults);
  EXPECT_EQ(h.engine.Image(), defaults);
  h.ExpectEndedIdle();
}

TEST(EngineReplies, RefusedLockAndAdminChangesRollBack) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  ASSERT_FALSE(h.engine.LockState());
  h.engine.Post(Digits(43, {0, 0, 0, 0, 1}));
  EXPECT_TRUE(h.engine.LockState());  // shown at once
  ASSERT_TRUE(h.Settle());
  EXPECT_FALSE(h.engine.LockState());
  EXPECT_FALSE(h.recorder.locked);
  EXPECT_EQ(h.recorder.LastMessage(), "        Password error        ");

  h.engine.Post(Digits(43, {1, 2, 3, 4, 1}));
  ASSERT_TRUE(h.Settle());
  EXPECT_TRUE(h.engine.LockState());
  EXPECT_EQ(h.recorder.LastMessage(), "        Modify Lockkey OK        ");

  h.engine.Post(Digits(45, {1, 2, 3, 4, 5, 6, 0}));
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.engine.AdminMode(), 0);
  EXPECT_EQ(h.recorder.LastMessage(), "        Modify Admin mode OK        ");
  h.engine.Post(Digits(45, {6, 5, 4, 3, 2, 1, 1}));
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.engine.AdminMode(), 0);
  EXPECT_EQ(h.recorder.admin, 0);
}

TEST(EngineReplies, ResetAllAndRestoreRecallAndReadAgain) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  h.engine.PostBlock(65, 5);  // current preset becomes 5
  ASSERT_TRUE(h.Settle());

  std::size_t mark = h.wire.size();
  h.engine.PostBlock(20);
  ASSERT_TRUE(h.Settle());
  auto codes = h.Codes(mark);
  ASSERT_GE(codes.size(), 4u);
  EXPECT_EQ((std::vector<int>(codes.begin(), codes.begin() + 3)), (std::vector<int>{20, 1, 63}));
  EXPECT_EQ(h.WithCode(1, mark)[0].data[0], 5);
  EXPECT_EQ(h.recorder.LastMessage(), "        Reset all OK        ");
  EXPECT_FALSE(h.engine.MassUploadRunning());

  mark = h.wire.size();
  h.engine.PostBlock(75);
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.WithCode(1, mark)[0].data[0], 0);
  EXPECT_EQ(h.WithCode(64, mark).size(), 17u);
  EXPECT_EQ(h.engine.CurrentPreset(), 0);
  EXPECT_EQ(h.recorder.LastMessage(), "        Restore to factory OK        ");
}

TEST(EngineReplies, EchoTypeAndBoostRepliesFillTheImage) {
  EngineHarness h(Link::kStream);  // the boost reply does not fit one USB report
  h.processor.Current().boost.switches = 5;
  h.processor.Current().boost.bands[2][1].gain = -35;
  ASSERT_TRUE(h.ConnectAndRead());
  h.engine.Image().boost = {};

  h.engine.PostBlock(58, 1);
  ASSERT_TRUE(h.Settle());
  const SimEchoValues& echo = h.processor.EchoValues(1);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(h.engine.Image().byte(114 + i), echo.bytes[static_cast<std::size_t>(i)]);
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(h.engine.Image().word(26 + k), echo.delays[static_cast<std::size_t>(k)]);
  EXPECT_EQ(h.recorder.echoReloads, 1);

  const int shown = h.recorder.distributions;
  h.engine.PostBlock(50);
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.engine.Image().boost.switches, 5);
  EXPECT_EQ(h.engine.Image().boost.bands[2][1].gain, -35);
  EXPECT_EQ(h.recorder.distributions, shown + 1);
}

TEST(EngineReplies, StatusPollPositionsReachToneGroupsAndQuickValues) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  // Byte 0: music bass 12, mic bass 0; byte 2: middle frequencies; bytes 4..6: quick values.
  h.processor.SetPanelPositions({0xC0, 0x66, 0x9F, 0x66, 0xC0, 0x5C, 0x3C});
  h.Steps(60);  // one keep-alive poll
  const auto& groups = h.engine.Image().toneGroups;
  EXPECT_EQ(groups[0][1].gain, 120);
  EXPECT_EQ(groups[1][1].gain, -120);
  EXPECT_EQ(groups[0][2].freq, 2000);
  EXPECT_EQ(groups[1][2].freq, 0);  // position 15: nothing
  EXPECT_EQ(h.engine.Panel().echoQuick, (std::array<int, 3>{100, 175, 29}));
  EXPECT_EQ(h.engine.Panel().reverbQuick, (std::array<int, 3>{0, 5000, 100}));
  EXPECT_EQ(h.recorder.frontPanelChanges, 1);
  h.Steps(60);  // the same positions again: no reload
  EXPECT_EQ(h.recorder.frontPanelChanges, 1);

  h.engine.Post(msg::Connect{});  // link down: the tone gains go back to 0
  EXPECT_EQ(h.engine.Image().toneGroups[0][1].gain, 0);
}

TEST(StatusDecode, LevelsSpanPlusMinusTwelveDecibelsAndHighPositionsGiveNothing) {
  EXPECT_EQ(PanelLevel(0), -120);
  EXPECT_EQ(PanelLevel(6), 0);
  EXPECT_EQ(PanelLevel(12), 120);
  EXPECT_EQ(PanelLevel(13), 0);
  EXPECT_EQ(PanelLevel(15), 0);
}

}  // namespace
}  // namespace tavelo::test
