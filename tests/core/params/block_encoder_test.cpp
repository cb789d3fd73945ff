#include <gtest/gtest.h>

#include <vector>

#include "core/params/BlockEncoder.h"

namespace tavelo {
namespace {

// An image whose every byte and word is distinguishable: byte n holds n + 1 (so no listed
// byte looks like padding) and word k holds 0x1000 + 0x11 * k.
std::uint8_t Img(int n) {
  return static_cast<std::uint8_t>(n + 1);
}
std::uint16_t Word(int k) {
  return static_cast<std::uint16_t>(0x1000 + 0x11 * k);
}
std::uint8_t Lo(int k) {
  return static_cast<std::uint8_t>(Word(k) & 0xFF);
}
std::uint8_t Hi(int k) {
  return static_cast<std::uint8_t>(Word(k) >> 8);
}

ParamImage MarkedImage(std::uint8_t mode) {
  ParamImage image;
  for (int n = 0; n < kSettingsBytes; ++n) image.byte(n) = Img(n);
  for (int k = 0; k < kWordCount; ++k) image.word(k) = Word(k);
  image.byte(img::kAppMode) = mode;
  image.switchWord = 0x44332211;
  image.powerMode = 3;
  return image;
}

std::vector<std::uint8_t> Data(const Payload& p) {
  return {p.data.begin(), p.data.begin() + p.length};
}

// The listed bytes, then zero padding up to L.
std::vector<std::uint8_t> Padded(std::vector<std::uint8_t> listed, int length) {
  listed.resize(static_cast<std::size_t>(length), 0);
  return listed;
}

Payload Encode(const ParamImage& image, int code, int arg) {
  Payload p;
  EXPECT_EQ(EncodeBlock(image, code, BlockArg::Value(arg), p), EncodeResult::kPayload)
      << "code " << code;
  EXPECT_EQ(p.code, code);
  return p;
}

struct Row {
  int code;
  int arg;
  std::vector<std::uint8_t> listed;
  int length;
};

TEST(BlockEncoder, ImageBlocksCarryTheirBytesInOrderWithZeroPadding) {
  const ParamImage image = MarkedImage(kModeAuto);
  const std::vector<Row> rows = {
      {1, 7, {7}, 2},
      {2,
       0,
       {Img(0), Img(3), Img(4), Img(6), Img(22), Img(23), Img(24), Img(25), Img(26), Img(9),
        Img(5)},
       12},
      {4, 10, {10}, 2},
      {5,
       0,
       {Img(1), Img(10), Img(11), Img(14), Img(27), Img(129), Img(12), Img(13), Img(15), Img(16),
        Img(17), Img(18)},
       13},
      {6, 2, {2}, 2},
      {7, 1, {1}, 2},
      {9, 0, {Img(2)}, 2},
      {10, 0, {Img(21)}, 2},
      {11,
       0,
       {Img(108), Img(109), Img(110), Img(111), 50, Img(113), Lo(20), Hi(20), Lo(21), Hi(21),
        Lo(24), Hi(24), Lo(25), Hi(25)},
       15},
      {12, 0x0300, {0, 3, Lo(39), Hi(39)}, 5},
      {12, 0x0102, {2, 1, Lo(41), Hi(41)}, 5},
      {13,
       0,
       {Img(114), Img(115), Img(116), Img(117), Img(118), Img(119), Img(120),
        Img(121), Img(122), Lo(22),   Hi(22),   Lo(23),   Hi(23),   Lo(26),
        Hi(26),   Lo(27),   Hi(27),   Lo(28),   Hi(28),   Lo(29),   Hi(29)},
       22},
      {15, 0, {0x11, 0x22, 0x33, 0x44}, 5},
      {18, 1, {1}, 2},
      {20, 0, {}, 1},
      {21, 1, {1}, 2},
      {29, 0, {}, 1},
      {32, 0, {}, 2},
      {34, 0, {kModeAuto, Img(126), Img(127)}, 6},  // image 125 holds the mode
      {47, 0, {}, 1},
      {48, 0x0A0B, {0x0B, 0x0A}, 3},
      {50, 0, {}, 1},
      {53, 0x1234, {0x34, 0x12}, 3},
      {57, 0, {Img(131), Img(132), Img(133), Img(134)}, 4},
      {58, 2, {2}, 2},
      {59, 0, {3}, 2},
      {60, 0x0101, {1, 1}, 3},
      {60, 0x0001, {1, 0}, 3},
      {61, 1, {1}, 2},
      {63, 0, {}, 2},
      {72, 0, {Img(130)}, 2},
      {75, 0, {}, 1},
  };
  for (const Row& row : rows) {
    const Payload p = Encode(image, row.code, row.arg);
    EXPECT_EQ(p.length, row.length) << "code " << row.code;
    EXPECT_EQ(Data(p), Padded(row.listed, row.length)) << "code " << row.code;
  }
}

TEST(BlockEncoder, OutputChannelBlockUsesTheSharedStartBytesAndPairDelays) {
  const ParamImage image = MarkedImage(kModeAuto);
  auto block = [](int ch, int start, std::vector<std::uint8_t> tail) {
    std::vector<std::uint8_t> v{static_cast<std::uint8_t>(ch)};
    for (int i = 0; i < 16; ++i) v.push_back(Img(start + i));
    v.insert(v.end(), tail.begin(), tail.end());
    return Padded(v, 36);
  };
  EXPECT_EQ(Data(Encode(image, 14, 0)), block(0, 28, {Lo(30), Hi(30), Lo(31), Hi(31)}));
  // The right channel repeats the left's bytes, its own delay, and no partner delay.
  EXPECT_EQ(Data(Encode(image, 14, 1)), block(1, 28, {Lo(31), Hi(31), 0, 0}));
  EXPECT_EQ(Data(Encode(image, 14, 2)), block(2, 48, {Lo(32), Hi(32), Lo(33), Hi(33)}));
  EXPECT_EQ(Data(Encode(image, 14, 3)), block(3, 48, {Lo(33), Hi(33), 0, 0}));
  EXPECT_EQ(Data(Encode(image, 14, 4)), block(4, 68, {Lo(34), Hi(34), 0, 0}));
  EXPECT_EQ(Data(Encode(image, 14, 5)), block(5, 88, {Lo(35), Hi(35), 0, 0}));
}

TEST(BlockEncoder, PassFilterFollowsTheApplicationModeForOutputsOnly) {
  const ParamImage sing = MarkedImage(kModeSing);
  const ParamImage autoMode = MarkedImage(kModeAuto);
  const ParamImage dance = MarkedImage(kModeDance);
  EXPECT_EQ(Data(Encode(sing, 17, 4)), Padded({4, Img(44), Lo(4), Hi(4)}, 5));
  EXPECT_EQ(Data(Encode(autoMode, 17, 4)), Padded({4, Img(45), Lo(5), Hi(5)}, 5));
  EXPECT_EQ(Data(Encode(dance, 17, 4)), Padded({4, Img(45), Lo(5), Hi(5)}, 5));
  EXPECT_EQ(Data(Encode(autoMode, 17, 15)), Padded({15, Img(107), Lo(19), Hi(19)}, 5));
  EXPECT_EQ(Data(Encode(sing, 17, 13)), Padded({13, Img(86), Lo(14), Hi(14)}, 5));
  // Microphone and music filters have no second set.
  for (const ParamImage* image : {&sing, &autoMode}) {
    EXPECT_EQ(Data(Encode(*image, 17, 0)), Padded({0, Img(19), Lo(0), Hi(0)}, 5));
    EXPECT_EQ(Data(Encode(*image, 17, 3)), Padded({3, Img(8), Lo(3), Hi(3)}, 5));
  }
}

TEST(BlockEncoder, ReverbBlockSendsFiftyWhateverByte112Holds) {
  for (int v : {0, 50, 255}) {
    ParamImage image = MarkedImage(kModeAuto);
    image.byte(112) = static_cast<std::uint8_t>(v);
    EXPECT_EQ(Encode(image, 11, 0).data[4], 50);
  }
}

TEST(BlockEncoder, EqBandSetChoiceFollowsTheMode) {
  ParamImage image = MarkedImage(kModeSing);
  for (int s = 0; s < kEqSetCount; ++s) {
    image.eq[static_cast<std::size_t>(s)][2] =
        EqBand{0, kBandPeak, static_cast<std::int16_t>(100 + s), 10, static_cast<std::int16_t>(-s)};
  }
  auto sentFreq = [&](int setId) {
    const Payload p = Encode(image, 3, 2 * 256 + setId);
    EXPECT_EQ(p.length, 8);
    EXPECT_EQ(p.data[0], setId);
    EXPECT_EQ(p.data[1], 2);
    EXPECT_EQ(p.data[7], 0);
    return p.data[2] | (p.data[3] << 8);
  };
  // set id -> image set in Sing, and outside Sing
  const int expected[11][2] = {{0, 0}, {1, 1}, {2, 2},  {3, 4},   {4, 4},  {5, 6},
                               {6, 6}, {7, 8}, {9, 10}, {11, 11}, {12, 12}};
  for (std::uint8_t mode : {kModeSing, kModeAuto, kModeDance}) {
    image.byte(img::kAppMode) = mode;
    const int column = mode == kModeSing ? 0 : 1;
    for (int id = 0; id <= 10; ++id) {
      EXPECT_EQ(sentFreq(id), 100 + expected[id][column]) << "id " << id << " mode " << +mode;
      EXPECT_EQ(EqSetForId(image, id), expected[id][column]);
    }
  }
  // The record itself is the wire form of the band.
  image.byte(img::kAppMode) = kModeAuto;
  image.eq[kEqEcho][4] = EqBand{0, kBandHighShelf, 1000, 7, -120};
  EXPECT_EQ(Data(Encode(image, 3, 4 * 256 + 10)),
            (std::vector<std::uint8_t>{10, 4, 0xE8, 0x03, 0x07, 0xA0, 0x78, 0}));
}

TEST(BlockEncoder, BoostBandAndBufferCodesCopyTheirSources) {
  ParamImage image = MarkedImage(kModeAuto);
  image.boost.bands[1][2] = EqBand{0, kBandHighShelf, 1000, 7, -120};
  Payload p = Encode(image, 49, 2 * 256 + 1);
  EXPECT_EQ(Data(p), (std::vector<std::uint8_t>{1, 2, 0xE8, 0x03, 0x07, 0xA0, 0x78, 0}));

  std::uint8_t source[kMaxArgBuffer];
  for (int i = 0; i < kMaxArgBuffer; ++i) source[i] = static_cast<std::uint8_t>(0xC0 + i);
  const struct {
    int code, count, length;
  } buffers[] = {{23, 33, 34}, {43, 5, 6}, {44, 8, 9}, {45, 7, 8}, {46, 12, 13}, {78, 9, 10}};
  for (const auto& b : buffers) {
    Payload out;
    ASSERT_EQ(EncodeBlock(image, b.code, BlockArg::Buffer(source, kMaxArgBuffer), out),
              EncodeResult::kPayload);
    EXPECT_EQ(out.length, b.length) << "code " << b.code;
    EXPECT_EQ(Data(out), Padded({source, source + b.count}, b.length)) << "code " << b.code;
  }
  // A short buffer is zero beyond what the sender gave.
  Payload out;
  ASSERT_EQ(EncodeBlock(image, 78, BlockArg::Buffer(source, 3), out), EncodeResult::kPayload);
  EXPECT_EQ(Data(out), Padded({0xC0, 0xC1, 0xC2}, 10));
}

TEST(BlockEncoder, RefusedAndForeignCodesSendNothingAndKeepTheStagedData) {
  const ParamImage image = MarkedImage(kModeAuto);
  Payload staged = Encode(image, 9, 0);
  const Payload before = staged;
  auto refused = [&](int code, int arg) {
    EXPECT_EQ(EncodeBlock(image, code, BlockArg::Value(arg), staged), EncodeResult::kIgnored)
        << "code " << code << " arg " << arg;
    EXPECT_EQ(Data(staged), Data(before));
    EXPECT_EQ(staged.code, before.code);
  };
  refused(1, 10);
  refused(1, -1);
  refused(17, 16);
  refused(17, -3);
  refused(49, 4);            // boost channel above 3
  refused(49, 3 * 256 + 1);  // channel 1 has three bands
  refused(3, 11);            // no set id 11
  refused(3, 7 * 256 + 5);   // surround sets carry five bands
  refused(3, 12 * 256 + 0);  // beyond any set
  refused(4, 11);
  refused(14, 6);
  refused(14, -1);
  refused(12, 4 * 256 + 2);  // four tone values only
  for (int code : {0,  8,  16, 19, 22, 28, 30, 33, 35, 52, 54,  55, 56,
                   62, 68, 69, 70, 71, 73, 74, 76, 77, 79, 255, -1}) {
    refused(code, 0);
  }
  Payload p;
  for (int code : {51, 65, 66, 67}) {
    EXPECT_EQ(EncodeBlock(image, code, BlockArg::Value(0), p), EncodeResult::kOwnFrame);
  }
}

TEST(BlockEncoder, ClampingLowersOnlyAVolumeAboveItsMaximum) {
  ParamImage image;
  image.byte(img::kMusicVolume) = 60;
  image.byte(img::kMusicMaxVolume) = 40;
  image.byte(img::kMicVolume) = 70;
  image.byte(img::kMicMaxVolume) = 50;
  EXPECT_FALSE(ClampVolumes(image, 9));
  EXPECT_EQ(image.byte(img::kMusicVolume), 60);
  EXPECT_TRUE(ClampVolumes(image, 2));
  EXPECT_EQ(image.byte(img::kMusicVolume), 40);
  EXPECT_EQ(image.byte(img::kMicVolume), 70);  // code 2 leaves the microphone alone
  EXPECT_FALSE(ClampVolumes(image, 2));
  EXPECT_TRUE(ClampVolumes(image, 5));
  EXPECT_EQ(image.byte(img::kMicVolume), 50);
  image.byte(img::kMicVolume) = 50;  // equal to the maximum: nothing to do
  EXPECT_FALSE(ClampVolumes(image, 5));
  EXPECT_EQ(Encode(image, 2, 0).data[0], 40);
}

TEST(TransferFrames, OwnFramesHaveTheirFixedLayouts) {
  Payload p = ChunkRequestPayload(0x0374, 58);
  EXPECT_EQ(p.code, 64);
  EXPECT_EQ(Data(p), (std::vector<std::uint8_t>{0x74, 0x03, 58, 0, 0}));
  Payload viaEncoder;
  ASSERT_EQ(EncodeBlock(ParamImage{}, 64, BlockArg::Value(0x0374 + 58 * 65536), viaEncoder),
            EncodeResult::kPayload);
  EXPECT_EQ(Data(viaEncoder), Data(p));

  p = UploadStartPayload(654, 0xAB);
  EXPECT_EQ(p.code, 65);
  EXPECT_EQ(Data(p), (std::vector<std::uint8_t>{0x8E, 0x02, 0xAB, 0, 0, 0, 0}));

  const std::uint8_t bytes[] = {9, 8, 7};
  p = UploadChunkPayload(600, bytes, 3);
  EXPECT_EQ(p.code, 66);
  EXPECT_EQ(Data(p), (std::vector<std::uint8_t>{0x58, 0x02, 3, 0, 9, 8, 7, 0, 0, 0, 0}));
  std::vector<std::uint8_t> big(200, 0x5A);
  p = UploadChunkPayload(0, big.data(), 200);  // cut to what the frame can hold
  EXPECT_LE(p.length, kMaxCommandData);
  EXPECT_EQ(p.length, p.data[2] + 8);

  p = UploadFinishPayload(0x83, 2);
  EXPECT_EQ(p.code, 67);
  EXPECT_EQ(Data(p), (std::vector<std::uint8_t>{0x83, 2, 0, 0, 0, 0}));
}

TEST(TransferFrames, BoostBlockIsTheSwitchByteThenFourteenBandsInChannelOrder) {
  ParamImage image;
  image.boost.switches = 0x05;
  int n = 0;
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (auto& band : image.boost.bands[static_cast<std::size_t>(ch)]) {
      band = EqBand{0, kBandPeak, static_cast<std::int16_t>(1000 + n++), 10, 0};
    }
  }
  const Payload p = BoostBlockPayload(image);
  EXPECT_EQ(p.code, 51);
  EXPECT_EQ(p.length, 75);
  EXPECT_EQ(p.data[0], 0x05);
  const int expectedFreqs[14] = {1000, 1001, 1002, 1003, 1004, 1005, 1006,
                                 1007, 1010, 1011, 1012, 1015, 1016, 1017};
  for (int r = 0; r < 14; ++r) {
    EXPECT_EQ(DecodeWireBand(&p.data[static_cast<std::size_t>(1 + 5 * r)]).freq, expectedFreqs[r])
        << "record " << r;
  }
  for (int i = 71; i < 75; ++i) EXPECT_EQ(p.data[static_cast<std::size_t>(i)], 0);
}

}  // namespace
}  // namespace tavelo
