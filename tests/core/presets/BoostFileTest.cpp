// The 116-byte boost file.
#include <gtest/gtest.h>

#include <vector>

#include "presets/BoostFile.h"

namespace tavelo {
namespace {

BoostBlock SampleBlock() {
  BoostBlock block;
  block.switches = 0x0B;
  for (std::size_t c = 0; c < kBoostChannels; ++c) {
    for (std::size_t b = 0; b < 5; ++b) {
      block.bands[c][b] = EqBand{static_cast<std::int8_t>(b), static_cast<std::int8_t>(b % 3),
                                 static_cast<std::int16_t>(1000 * (c + 1) + b), 12,
                                 static_cast<std::int16_t>(-30 + static_cast<int>(c))};
    }
  }
  return block;
}

std::vector<std::uint8_t> FileOf(const BoostBlock& block) {
  const auto f = BuildBoostFile(block);
  return {f.begin(), f.end()};
}

int Freq(const std::vector<std::uint8_t>& f, std::size_t band) {
  return f[band + 2] | f[band + 3] << 8;
}

TEST(BoostFile, MusicComesFirstThenMicReverbEcho) {
  const BoostBlock block = SampleBlock();
  const auto f = FileOf(block);
  ASSERT_EQ(f.size(), 116u);
  EXPECT_EQ(f[0], 149);
  EXPECT_EQ(f[1], 0x0B);
  EXPECT_EQ(Freq(f, 2), block.bands[1][0].freq);
  EXPECT_EQ(Freq(f, 2 + 16), block.bands[1][2].freq);
  EXPECT_EQ(Freq(f, 26), block.bands[0][0].freq);
  EXPECT_EQ(Freq(f, 26 + 32), block.bands[0][4].freq);
  EXPECT_EQ(Freq(f, 66), block.bands[2][0].freq);
  EXPECT_EQ(Freq(f, 90 + 16), block.bands[3][2].freq);
  EXPECT_EQ(f[115], 0);
  EXPECT_EQ(BoostFileChecksumSum(f.data()), 0);
}

TEST(BoostFile, RoundTripsAndLoadsOnlyTheBandsEachChannelHas) {
  const BoostBlock block = SampleBlock();
  const BoostFileResult parsed = ParseBoostFile(FileOf(block).data(), kBoostFileSize);
  ASSERT_TRUE(parsed.ok()) << parsed.message;
  EXPECT_EQ(parsed.block.switches, block.switches);
  for (std::size_t c = 0; c < kBoostChannels; ++c) {
    for (std::size_t b = 0; b < static_cast<std::size_t>(kBoostBandCounts[c]); ++b) {
      EXPECT_EQ(parsed.block.bands[c][b], block.bands[c][b]) << c << "/" << b;
    }
  }
  BoostBlock target;
  target.bands[1][4].freq = 4321;  // music has 3 bands: its 5th slot is not the file's
  ApplyLoadedBoost(target, parsed.block);
  EXPECT_EQ(target.bands[1][2], block.bands[1][2]);
  EXPECT_EQ(target.bands[0][4], block.bands[0][4]);
  EXPECT_EQ(target.bands[1][4].freq, 4321);
  EXPECT_EQ(target.switches, 0x0B);
}

TEST(BoostFile, RefusesWrongSizeMagicAndAChecksumOffByOne) {
  const auto good = FileOf(SampleBlock());
  auto off = good;
  off[114] = static_cast<std::uint8_t>(off[114] + 1);
  EXPECT_EQ(ParseBoostFile(off.data(), off.size()).message, "bad checksum");
  off[114] = static_cast<std::uint8_t>(off[114] - 2);
  EXPECT_EQ(ParseBoostFile(off.data(), off.size()).error, BoostFileError::kBadChecksum);

  // A wrong magic is refused even when the checksum balances.
  auto magic = good;
  magic[0] = 150;
  magic[114] = static_cast<std::uint8_t>(magic[114] - 1);
  ASSERT_EQ(BoostFileChecksumSum(magic.data()), 0);
  EXPECT_EQ(ParseBoostFile(magic.data(), magic.size()).message, "bad magic");

  EXPECT_EQ(ParseBoostFile(good.data(), 115).message, "wrong size: 115 bytes");
  std::vector<std::uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(ParseBoostFile(longer.data(), longer.size()).error, BoostFileError::kWrongSize);
}

}  // namespace
}  // namespace tavelo
