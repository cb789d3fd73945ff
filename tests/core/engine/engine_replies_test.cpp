// What the engine does with the processor's replies: unlock, lock and admin results,
// reset and restore follow-ups, echo type, boost read and the status poll's positions.
#include "core/engine/StatusDecode.h"
#include "engine_harness.h"

namespace tavelo::test {
namespace {

msg::Block Digits(int code, std::vector<std::uint8_t> bytes) {
  return msg::Block{static_cast<CommandCode>(code),
                    BlockArg::Buffer(bytes.data(), static_cast<int>(bytes.size()))};
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

TEST(EngineReplies, EchoReplyNamingNoEchoTypeIsNotTakenOver) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  // The processor keeps an echo block with type byte 7 as what type 2 recalls.
  h.engine.Image().byte(img::kEchoType) = 7;
  h.engine.Image().word(26) = 321;
  h.engine.PostBlock(13);
  ASSERT_TRUE(h.Settle());
  h.engine.Image().byte(img::kEchoType) = 1;
  h.engine.Image().word(26) = 222;

  h.engine.PostBlock(58, 2);
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.engine.Image().byte(img::kEchoType), 1);
  EXPECT_EQ(h.engine.Image().word(26), 222);
  EXPECT_EQ(h.recorder.echoReloads, 0);
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

// Every nibble of the seven position bytes lands in its own destination: a swapped byte or
// half would show as a wrong value here.
TEST(StatusDecode, EachHalfOfEachPositionByteReachesItsOwnValue) {
  ParamImage image;
  FrontPanel panel;
  const PanelPositions raw = {0x1B, 0x29, 0x3A, 0x47, 0x58, 0x6C, 0x7D};
  DecodePanelPositions(raw, image, panel);
  const auto& music = image.toneGroups[0];
  const auto& mic = image.toneGroups[1];
  EXPECT_EQ((std::array<int, 4>{music[1].gain, music[2].gain, music[3].gain, music[2].freq}),
            (std::array<int, 4>{-100, -80, -40, 400}));
  EXPECT_EQ((std::array<int, 4>{mic[1].gain, mic[2].gain, mic[3].gain, mic[2].freq}),
            (std::array<int, 4>{100, 60, 20, 3000}));
  EXPECT_EQ(panel.echoQuick, (std::array<int, 3>{41, 215, 63}));
  EXPECT_EQ(panel.reverbQuick, (std::array<int, 3>{66, 5000, 0}));
  EXPECT_EQ(panel.positions, raw);
}

// The processor's knob tables, position by position; 13..15 give 0.
TEST(StatusDecode, EveryTableEntryForPositionsZeroToFifteen) {
  const std::array<int, 16> f1 = {150,  200,  300,  400,  600,  800, 1000, 1250,
                                  1600, 2000, 3000, 4300, 6000, 0,   0,    0};
  const std::array<int, 16> p = {0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100, 0, 0, 0};
  const std::array<int, 16> t1 = {1,   35,  70,  105, 140, 175, 215, 262,
                                  310, 360, 405, 452, 500, 0,   0,   0};
  const std::array<int, 16> r1 = {0, 9, 19, 29, 38, 48, 58, 63, 68, 74, 79, 84, 90, 0, 0, 0};
  const std::array<int, 16> f2 = {500,  825,  1150, 1475, 1800, 2125, 2450, 2875,
                                  3300, 3725, 4150, 4575, 5000, 0,    0,    0};
  for (int pos = 0; pos < 16; ++pos) {
    const auto both = static_cast<std::uint8_t>(pos << 4 | pos);
    ParamImage image;
    FrontPanel panel;
    DecodePanelPositions({both, both, both, both, both, both, both}, image, panel);
    const auto at = static_cast<std::size_t>(pos);
    const int level = pos <= 12 ? (pos - 6) * 20 : 0;
    for (const auto& group : image.toneGroups) {
      EXPECT_EQ(group[1].gain, level) << "position " << pos;
      EXPECT_EQ(group[3].gain, level) << "position " << pos;
      EXPECT_EQ(group[2].freq, f1[at]) << "position " << pos;
    }
    EXPECT_EQ(panel.echoQuick, (std::array<int, 3>{p[at], t1[at], r1[at]})) << "position " << pos;
    EXPECT_EQ(panel.reverbQuick, (std::array<int, 3>{p[at], f2[at], p[at]})) << "position " << pos;
  }
}

}  // namespace
}  // namespace tavelo::test
