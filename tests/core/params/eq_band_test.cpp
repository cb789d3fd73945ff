#include <gtest/gtest.h>

#include <random>

#include "core/params/EqBand.h"

namespace tavelo {
namespace {

TEST(EqBandWire, KnownHighShelfTravelsAsDocumentedBytes) {
  // High shelf at 1000 Hz, Q 0.7, -12.0 dB.
  const EqBand band{0, kBandHighShelf, 1000, 7, -120};
  const auto wire = EncodeWireBand(band);
  EXPECT_EQ(wire, (std::array<std::uint8_t, 5>{0xE8, 0x03, 0x07, 0xA0, 0x78}));

  const std::uint8_t bytes[] = {0xE8, 0x03, 0x07, 0xA0, 0x78};
  EXPECT_EQ(DecodeWireBand(bytes), band);
}

TEST(EqBandWire, HighQBitsAndSignShareByteThree) {
  // Q above 255 puts bits 8..11 in the low nibble next to type and sign.
  const EqBand band{0, kBandHighPass, 20000, 0x0ABC, 240};
  const auto wire = EncodeWireBand(band);
  EXPECT_EQ(wire[2], 0xBC);
  EXPECT_EQ(wire[3], 0x4A);  // positive gain: sign bit clear
  EXPECT_EQ(wire[4], 240);
  // A flat band is not "negative zero".
  EXPECT_EQ(EncodeWireBand(EqBand{0, kBandPeak, 1000, 10, 0})[3], 0x00);
}

TEST(EqBandWire, SlopeIsNotCarriedAndDecodesAsZero) {
  const EqBand band{kSlopeLinkwitzRiley24, kBandLowPass, 80, 10, 0};
  const EqBand back = DecodeWireBand(EncodeWireBand(band).data());
  EXPECT_EQ(back.slope, 0);
  EXPECT_EQ(back.type, kBandLowPass);
  EXPECT_EQ(back.freq, 80);
}

TEST(EqBandWire, OutOfRangeTypeNeverFlipsTheGainSign) {
  EqBand band{0, 9, 1000, 10, 30};  // type 9 has no wire meaning
  const auto wire = EncodeWireBand(band);
  EXPECT_EQ(wire[3] & 0x80, 0);
  EXPECT_EQ(DecodeWireBand(wire.data()).gain, 30);
}

TEST(EqBandWire, RandomBandsSurviveTheRoundTrip) {
  std::mt19937 rng(20124);
  std::uniform_int_distribution<int> type(0, 7), freq(0, 65535), q(0, 4095), gain(-240, 240);
  for (int i = 0; i < 5000; ++i) {
    EqBand band;
    band.slope = 0;
    band.type = static_cast<std::int8_t>(type(rng));
    band.freq = static_cast<std::int16_t>(static_cast<std::uint16_t>(freq(rng)));
    band.q = static_cast<std::int16_t>(q(rng));
    band.gain = static_cast<std::int16_t>(gain(rng));
    std::uint8_t wire[5];
    EncodeWireBand(band, wire);
    ASSERT_EQ(DecodeWireBand(wire), band) << "iteration " << i;
  }
}

TEST(EqBandFile, RecordIsLittleEndianSlopeTypeFreqQGain) {
  const EqBand band{kSlopeButter24, kBandHighPass, 0x1234, 0x0567, -2};
  std::uint8_t out[kFileBandSize];
  WriteFileBand(band, out);
  const std::uint8_t expected[] = {6, 4, 0x34, 0x12, 0x67, 0x05, 0xFE, 0xFF};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), out));
  EXPECT_EQ(ReadFileBand(out), band);
}

TEST(EqBandFile, RandomBandsSurviveTheRoundTrip) {
  std::mt19937 rng(7905);
  std::uniform_int_distribution<int> i8(-128, 127), i16(-32768, 32767);
  for (int i = 0; i < 5000; ++i) {
    const EqBand band{static_cast<std::int8_t>(i8(rng)), static_cast<std::int8_t>(i8(rng)),
                      static_cast<std::int16_t>(i16(rng)), static_cast<std::int16_t>(i16(rng)),
                      static_cast<std::int16_t>(i16(rng))};
    std::uint8_t out[kFileBandSize];
    WriteFileBand(band, out);
    ASSERT_EQ(ReadFileBand(out), band) << "iteration " << i;
  }
}

}  // namespace
}  // namespace tavelo
