// The device model answers every request as the processor does: status poll, the read
// header and chunked body, uploads, recall, reset, locks, echo type, boost and names.
#include <gtest/gtest.h>

#include "core/sim/VirtualProcessor.h"
#include "core/sim/sim_test_util.h"

namespace tavelo {
namespace {

using simtest::Answer;
using simtest::Ask;
using simtest::Le16;

TEST(VirtualProcessor, StatusPollReportsVersionThreeIndicatorsAndPanelPositions) {
  VirtualProcessor p;
  p.SetIndicators(0x05, 0x80);
  p.SetPanelPositions({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCC});
  Answer a = Ask(p, 28);
  ASSERT_TRUE(a.valid);
  EXPECT_EQ(a.frame[3], 0xE3);  // ~0x1C
  EXPECT_EQ(a.code, 28);
  EXPECT_EQ(a.data, (std::vector<std::uint8_t>{0, 3, 0x05, 0x80, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
                                               0xCC}));
}

TEST(VirtualProcessor, ReadStartHeaderCarriesSignatureFlagsAndTotal) {
  VirtualProcessor p;
  p.SetCurrentPreset(4);
  p.SetLockEngaged(true);
  p.SetUseInitVolume(true);
  p.SetAdminMode(2);
  p.SetInputStatus(0x06);
  Answer a = Ask(p, 63);
  ASSERT_TRUE(a.valid);
  ASSERT_EQ(a.data.size(), 22u);
  EXPECT_EQ(a.data[0], 4);
  EXPECT_EQ(std::vector<std::uint8_t>(a.data.begin() + 1, a.data.begin() + 5),
            (std::vector<std::uint8_t>{23, 1, 2, 5}));
  EXPECT_EQ(a.data[7], 0x01 | 0x04 | 0x80);
  EXPECT_EQ(a.data[8], 2);
  EXPECT_EQ(a.data[15], 0x06);
  EXPECT_EQ(Le16(a.data, 17), kDownloadBodySize);
  EXPECT_EQ(a.data[20], 0);
  EXPECT_EQ(a.data[21], 0);

  p.SetVrPresent(false);
  p.SetLockEngaged(false);
  p.SetUseInitVolume(false);
  EXPECT_EQ(Ask(p, 63).data[7], 0);
}

TEST(VirtualProcessor, ChunkedDownloadDecodesToTheCurrentPreset) {
  VirtualProcessor p = VirtualProcessor::Seeded(7);
  const std::vector<std::uint8_t> body = simtest::Download(p);
  ASSERT_EQ(body.size(), static_cast<std::size_t>(kDownloadBodySize));
  ParamImage decoded;
  ApplyDefaults(decoded);
  ASSERT_TRUE(DecodeDownloadBody(body.data(), body.size(), decoded));
  EXPECT_EQ(simtest::PresetBody(decoded), simtest::PresetBody(p.Current()));
  EXPECT_EQ(decoded.boost, p.Current().boost);
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    EXPECT_EQ(decoded.presetNames[static_cast<std::size_t>(slot)], p.Stored(slot).name);
  }
  EXPECT_STREQ(decoded.btName.data(), "TAVELO-SIM");
  EXPECT_STREQ(decoded.bleName.data(), "TAVELO-SIM-BLE");
}

TEST(VirtualProcessor, ChunkRepliesCarryExactlyTheRequestedBytes) {
  VirtualProcessor p;
  const auto body = p.DownloadBody();
  Answer last = Ask(p, ChunkRequestPayload(928, 9));
  ASSERT_EQ(last.data.size(), 9u);
  EXPECT_TRUE(std::equal(last.data.begin(), last.data.end(), body.begin() + 928));
  // Beyond the body the processor has nothing to give but zeros; it never reads past it.
  Answer beyond = Ask(p, ChunkRequestPayload(930, 20));
  ASSERT_EQ(beyond.data.size(), 20u);
  EXPECT_EQ(beyond.data[7], 0);
  EXPECT_EQ(beyond.data[19], 0);
  // A truncated chunk request gets an empty answer rather than garbage.
  EXPECT_TRUE(Ask(p, 64, {1}).data.empty());
}

// Every reply the panel can provoke fits one 64-byte HID input report (N <= 60), except
// the boost read (code 50), which no window of the panel sends.
TEST(VirtualProcessor, EveryReplyFitsOneUsbReport) {
  VirtualProcessor p;
  std::vector<std::uint8_t> data(80, 1);
  for (int code = 0; code < 256; ++code) {
    if (code == 50 || code == 64) continue;
    VirtualProcessor fresh;
    SimReply reply = fresh.Answer(static_cast<std::uint8_t>(code), data.data(), 80);
    ASSERT_FALSE(reply.bytes.empty()) << code;
    EXPECT_LE(static_cast<int>(reply.bytes.size()) - 4, kSimMaxUsbReplyPayload) << "code " << code;
  }
  EXPECT_LE(Ask(p, ChunkRequestPayload(0, 58)).frame.size(), 64u);
}

// Block requests built by the panel's encoder land in the processor's current preset, so
// a later download shows them.
struct BlockCase {
  const char* name;
  int code;
  int arg;
  void (*edit)(ParamImage&);
};

const BlockCase kBlockCases[] = {
    {"music block", 2, 0,
     [](ParamImage& i) {
       i.byte(0) = 20, i.byte(3) = 30, i.byte(4) = 70, i.byte(6) = 3, i.byte(22) = 9;
       i.byte(26) = 1, i.byte(9) = 12, i.byte(5) = 40;
     }},
    {"eq band main, mode Sing", 3, 2 * 256 + 3,
     [](ParamImage& i) {
       i.byte(img::kAppMode) = kModeSing;
       i.set(kEqMainFirst)[2] = EqBand{0, 2, 1000, 7, -120};
     }},
    {"eq band main, mode Auto", 3, 6 * 256 + 3,
     [](ParamImage& i) {
       i.byte(img::kAppMode) = kModeAuto;
       i.set(kEqMainSecond)[6] = EqBand{0, 1, 15000, 30, 55};
     }},
    {"eq band echo", 3, 4 * 256 + 10,
     [](ParamImage& i) {
       i.set(kEqEcho)[4] = EqBand{0, 4, 333, 100, -5};
     }},
    {"mic block", 5, 0,
     [](ParamImage& i) {
       i.byte(1) = 11, i.byte(10) = 12, i.byte(11) = 60, i.byte(14) = 5, i.byte(27) = 2;
       i.byte(129) = 7, i.byte(12) = 0x80 | 50, i.byte(13) = 33, i.byte(18) = 9;
     }},
    {"effect volume", 9, 0, [](ParamImage& i) { i.byte(2) = 77; }},
    {"effect init level", 10, 0, [](ParamImage& i) { i.byte(21) = 44; }},
    {"reverb block", 11, 0,
     [](ParamImage& i) {
       i.byte(108) = 3, i.byte(111) = 8, i.byte(113) = 90;
       i.word(20) = 180, i.word(21) = 9000, i.word(24) = 2500, i.word(25) = 40;
     }},
    {"mic tone", 12, 2 * 256 + 0, [](ParamImage& i) { i.word(38) = 2500; }},
    {"music tone", 12, 3 * 256 + 2, [](ParamImage& i) { i.word(43) = 300; }},
    {"echo block", 13, 0,
     [](ParamImage& i) {
       i.byte(115) = 1, i.byte(122) = 9, i.word(22) = 90, i.word(23) = 8000;
       i.word(26) = 250, i.word(29) = 12;
     }},
    {"output channel 0", 14, 0,
     [](ParamImage& i) {
       for (int b = 28; b < 44; ++b) i.byte(b) = static_cast<std::uint8_t>(b);
       i.word(30) = 5, i.word(31) = 6;
     }},
    {"output channel 2", 14, 2,
     [](ParamImage& i) { i.byte(50) = 1, i.word(32) = 9, i.word(33) = 10; }},
    {"output channel 5", 14, 5, [](ParamImage& i) { i.byte(103) = 4, i.word(35) = 17; }},
    {"switch word", 15, 0, [](ParamImage& i) { i.switchWord = 0x12345678; }},
    {"pass filter mic", 17, 1, [](ParamImage& i) { i.byte(20) = 5, i.word(1) = 12000; }},
    {"pass filter main, mode Sing", 17, 4,
     [](ParamImage& i) { i.byte(img::kAppMode) = kModeSing, i.byte(44) = 6, i.word(4) = 80; }},
    {"pass filter main, mode Auto", 17, 4,
     [](ParamImage& i) { i.byte(img::kAppMode) = kModeAuto, i.byte(45) = 6, i.word(5) = 90; }},
    {"application mode", 34, 0,
     [](ParamImage& i) { i.byte(125) = kModeDance, i.byte(126) = 22, i.byte(127) = 9; }},
    {"record mixer", 57, 0,
     [](ParamImage& i) { i.byte(131) = 0x80 | 40, i.byte(132) = 1, i.byte(134) = 99; }},
    {"adjust manner", 7, 1, [](ParamImage& i) { i.byte(140) = 1; }},
    {"mic hidden setting", 72, 0, [](ParamImage& i) { i.byte(130) = 6; }},
};

TEST(VirtualProcessor, BlockRequestsChangeTheCurrentPreset) {
  for (const BlockCase& c : kBlockCases) {
    SCOPED_TRACE(c.name);
    VirtualProcessor p;
    ParamImage panel = p.Current();
    c.edit(panel);
    if (panel.byte(img::kAppMode) != p.Current().byte(img::kAppMode)) {
      // The processor learns the mode by its own block first, as on the wire.
      Payload mode;
      ASSERT_EQ(EncodeBlock(panel, 34, BlockArg::Value(0), mode), EncodeResult::kPayload);
      ASSERT_EQ(Ask(p, mode).data, std::vector<std::uint8_t>{1});
    }
    Payload payload;
    ASSERT_EQ(EncodeBlock(panel, c.code, BlockArg::Value(c.arg), payload), EncodeResult::kPayload);
    Answer a = Ask(p, payload);
    ASSERT_TRUE(a.valid);
    EXPECT_EQ(a.data, std::vector<std::uint8_t>{1});
    EXPECT_EQ(simtest::PresetBody(p.Current()), simtest::PresetBody(panel));
  }
}

TEST(VirtualProcessor, ReverbBlockLeavesImage112AndShortBlocksAreRefused) {
  VirtualProcessor p;
  p.Current().byte(112) = 17;
  ParamImage panel = p.Current();
  panel.byte(112) = 99;
  Payload payload;
  ASSERT_EQ(EncodeBlock(panel, 11, BlockArg::Value(0), payload), EncodeResult::kPayload);
  Ask(p, payload);
  EXPECT_EQ(p.Current().byte(112), 17);

  const ParamImage before = p.Current();
  EXPECT_EQ(Ask(p, 2, {1, 2, 3}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, 3, {11, 0, 1, 2, 3, 4, 5}).data, std::vector<std::uint8_t>{0});  // set id 11
  EXPECT_EQ(Ask(p, 17, {16, 1, 0, 0}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, 14, std::initializer_list<int>{6}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(p.Current(), before);
}

TEST(VirtualProcessor, UploadIntoSlotThenReadShowsIt) {
  VirtualProcessor p;
  ParamImage preset = p.Current();
  preset.byte(0) = 12;
  preset.set(kEqMusic)[1].gain = -60;
  simtest::SetName(preset, "Karaoke Night");
  EXPECT_EQ(simtest::Upload(p, preset, 3, 2), 1);
  EXPECT_EQ(p.CurrentPreset(), 3);
  EXPECT_EQ(p.PowerMode(), 2);
  EXPECT_EQ(simtest::PresetBody(p.Stored(3)), simtest::PresetBody(preset));

  const auto body = simtest::Download(p);
  ParamImage decoded;
  ASSERT_TRUE(DecodeDownloadBody(body.data(), body.size(), decoded));
  EXPECT_EQ(decoded.byte(0), 12);
  EXPECT_EQ(decoded.set(kEqMusic)[1].gain, -60);
  EXPECT_EQ(decoded.presetNames[3], preset.name);
  EXPECT_EQ(Ask(p, 63).data[0], 3);
}

TEST(VirtualProcessor, FileUploadBitAndFactorySlots) {
  VirtualProcessor p;
  ParamImage preset = p.Current();
  preset.byte(2) = 55;
  EXPECT_EQ(simtest::Upload(p, preset, 0x80 | 5), 1);  // a loaded file into the current slot
  EXPECT_EQ(p.CurrentPreset(), 5);
  EXPECT_EQ(p.Current().byte(2), 55);
  EXPECT_EQ(p.Stored(5).byte(2), 55);

  ParamImage factory = p.Factory(3);
  factory.byte(2) = 66;
  const ParamImage current = p.Current();
  EXPECT_EQ(simtest::Upload(p, factory, 13), 1);  // factory slot 3
  EXPECT_EQ(p.Factory(3).byte(2), 66);
  EXPECT_EQ(p.Current(), current);
  EXPECT_EQ(p.CurrentPreset(), 5);
  EXPECT_NE(p.Stored(3).byte(2), 66);

  // Reset all: every stored preset becomes its factory preset again.
  EXPECT_TRUE(Ask(p, 20, {0}).valid);
  EXPECT_EQ(p.Stored(3).byte(2), 66);
  EXPECT_EQ(p.Stored(5), p.Factory(5));

  EXPECT_EQ(simtest::Upload(p, factory, 25), 0);  // no such slot
}

TEST(VirtualProcessor, UploadsWithBadChecksumOrOutOfRangeChunksAreRefused) {
  VirtualProcessor p;
  const ParamImage before = p.Stored(1);
  // Wrong announced total.
  EXPECT_EQ(Ask(p, UploadStartPayload(600, 0)).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, UploadFinishPayload(1, 0)).data, std::vector<std::uint8_t>{0});

  auto body = simtest::PresetBody(p.Current());
  body[0] = 1;
  EXPECT_EQ(Ask(p, UploadStartPayload(kUploadBodySize, 0x42)).data, std::vector<std::uint8_t>{1});
  // A chunk that would run past the announced total is refused, not written.
  EXPECT_EQ(Ask(p, UploadChunkPayload(640, body.data(), 20)).data, std::vector<std::uint8_t>{0});
  for (int offset = 0; offset < kUploadBodySize; offset += 60) {
    Ask(p,
        UploadChunkPayload(offset, body.data() + offset, std::min(60, kUploadBodySize - offset)));
  }
  EXPECT_EQ(Ask(p, UploadFinishPayload(1, 0)).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(p.Stored(1), before);
  // A chunk without a start is refused too.
  EXPECT_EQ(Ask(p, UploadChunkPayload(0, body.data(), 10)).data, std::vector<std::uint8_t>{0});
}

TEST(VirtualProcessor, RecallAndRestoreToFactory) {
  VirtualProcessor p;
  p.Stored(2).byte(0) = 9;
  p.Stored(2).boost.switches = 0;
  p.Current().boost.switches = 5;
  EXPECT_EQ(Ask(p, 1, {2}).data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(p.CurrentPreset(), 2);
  EXPECT_EQ(p.Current().byte(0), 9);
  EXPECT_EQ(p.Current().boost.switches, 5);  // device-wide, not part of a preset
  EXPECT_EQ(Ask(p, 1, {10}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(p.CurrentPreset(), 2);

  p.SetUseInitVolume(true);
  EXPECT_TRUE(Ask(p, 75, {0}).valid);
  EXPECT_EQ(p.CurrentPreset(), 0);
  EXPECT_EQ(p.Stored(2), p.Factory(2));
  EXPECT_EQ(simtest::PresetBody(p.Current()), simtest::PresetBody(p.Factory(0)));
  EXPECT_FALSE(p.UseInitVolume());
}

TEST(VirtualProcessor, LockKeyAndAdminPasswordsAreChecked) {
  VirtualProcessor p;
  EXPECT_EQ(Ask(p, 43, {1, 2, 3, 5, 1}).data, std::vector<std::uint8_t>{0});
  EXPECT_FALSE(p.LockEngaged());
  EXPECT_EQ(Ask(p, 43, {1, 2, 3, 4, 1}).data, std::vector<std::uint8_t>{1});
  EXPECT_TRUE(p.LockEngaged());
  EXPECT_EQ(Ask(p, 63).data[7] & 1, 1);

  EXPECT_EQ(Ask(p, 44, {9, 9, 9, 9, 4, 3, 2, 1}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, 44, {1, 2, 3, 4, 4, 3, 2, 11}).data,
            std::vector<std::uint8_t>{0});  // not a digit
  EXPECT_EQ(Ask(p, 44, {1, 2, 3, 4, 4, 3, 2, 1}).data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(Ask(p, 43, {4, 3, 2, 1, 0}).data, std::vector<std::uint8_t>{1});
  EXPECT_FALSE(p.LockEngaged());

  EXPECT_EQ(Ask(p, 45, {1, 2, 3, 4, 5, 0, 0}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, 45, {1, 2, 3, 4, 5, 6, 0}).data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(p.AdminMode(), 0);
  EXPECT_EQ(Ask(p, 63).data[8], 0);
  EXPECT_EQ(Ask(p, 46, {1, 2, 3, 4, 5, 6, 6, 5, 4, 3, 2, 1}).data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(Ask(p, 45, {1, 2, 3, 4, 5, 6, 1}).data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Ask(p, 45, {6, 5, 4, 3, 2, 1, 1}).data, std::vector<std::uint8_t>{1});
  EXPECT_EQ(p.AdminMode(), 1);
  // Truncated requests are refused.
  EXPECT_EQ(Ask(p, 43, {4, 3}).data, std::vector<std::uint8_t>{0});

  EXPECT_TRUE(p.SetLockKey("0007"));
  EXPECT_FALSE(p.SetLockKey("12a4"));
  EXPECT_FALSE(p.SetLockKey("12345"));
  EXPECT_EQ(p.LockKey(), (std::array<std::uint8_t, 4>{0, 0, 0, 7}));
}

TEST(VirtualProcessor, EchoTypeRepliesWithThatTypesValuesAndRemembersEchoBlocks) {
  VirtualProcessor p;
  Answer a = Ask(p, 58, {2});
  ASSERT_TRUE(a.valid);
  ASSERT_EQ(a.data.size(), 17u);
  EXPECT_EQ(a.data[0], 2);
  EXPECT_EQ(Le16(a.data, 9), 200);
  EXPECT_EQ(Le16(a.data, 13), 300);
  EXPECT_EQ(p.Current().byte(img::kEchoType), 2);
  EXPECT_EQ(p.Current().word(28), 300);

  // An echo block sent while type 2 is chosen becomes what type 2 recalls.
  ParamImage panel = p.Current();
  panel.word(26) = 420;
  panel.byte(116) = 33;
  Payload echo;
  ASSERT_EQ(EncodeBlock(panel, 13, BlockArg::Value(0), echo), EncodeResult::kPayload);
  Ask(p, echo);
  Ask(p, 58, {0});
  EXPECT_EQ(p.Current().byte(img::kEchoType), 0);
  Answer again = Ask(p, 58, {2});
  EXPECT_EQ(Le16(again.data, 9), 420);
  EXPECT_EQ(again.data[2], 33);
}

TEST(VirtualProcessor, BoostStoreThenReadAndBluetoothNameAndLogo) {
  VirtualProcessor p;
  ParamImage panel = p.Current();
  panel.boost.switches = 0x0B;
  panel.boost.bands[0][4] = EqBand{0, 0, 8000, 15, -35};
  panel.boost.bands[3][2] = EqBand{0, 2, 1000, 7, 40};
  const Payload store = BoostBlockPayload(panel);
  EXPECT_TRUE(Ask(p, store).valid);
  EXPECT_EQ(p.Current().boost, panel.boost);
  Answer read = Ask(p, 50, {0});
  ASSERT_TRUE(read.valid);
  ASSERT_EQ(read.data.size(), 71u);
  EXPECT_TRUE(std::equal(read.data.begin(), read.data.end(), store.data.begin()));

  EXPECT_TRUE(Ask(p, 78, {1, 'S', 't', 'u', 'd', 'i', 'o', 0, 0}).valid);
  EXPECT_STREQ(p.Current().btName.data(), "Studio");
  Ask(p, 78, {0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_STREQ(p.Current().btName.data(), "TAVELO-SIM");

  std::vector<int> logo(33, ' ');
  logo[0] = 1;
  logo[1] = 'H';
  std::vector<std::uint8_t> bytes(logo.begin(), logo.end());
  EXPECT_EQ(p.Answer(23, bytes.data(), 33).bytes.size(), 6u);
  EXPECT_EQ(p.Logo()[1], 'H');
}

TEST(VirtualProcessor, SeedsAreReproducibleAndStayInRange) {
  VirtualProcessor a = VirtualProcessor::Seeded(42);
  VirtualProcessor b = VirtualProcessor::Seeded(42);
  VirtualProcessor c = VirtualProcessor::Seeded(43);
  EXPECT_EQ(a.DownloadBody(), b.DownloadBody());
  EXPECT_NE(a.DownloadBody(), c.DownloadBody());
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    const ParamImage& s = a.Stored(slot);
    EXPECT_LE(s.byte(img::kMusicVolume), s.byte(img::kMusicMaxVolume));
    EXPECT_LE(s.byte(img::kMicVolume), s.byte(img::kMicMaxVolume));
    EXPECT_LE(s.byte(img::kMusicInput), 5);
    EXPECT_LE(s.byte(img::kAppMode), 2);
  }
  EXPECT_EQ(simtest::PresetBody(a.Current()), simtest::PresetBody(a.Stored(a.CurrentPreset())));
}

TEST(VirtualProcessor, StartsFromAGivenPreset) {
  ParamImage image;
  ApplyDefaults(image);
  image.byte(0) = 3;
  simtest::SetName(image, "From file");
  VirtualProcessor p(image);
  EXPECT_EQ(p.Current().byte(0), 3);
  EXPECT_EQ(p.Stored(0).name, image.name);
  EXPECT_STREQ(p.Current().btName.data(), "TAVELO-SIM");
}

}  // namespace
}  // namespace tavelo
