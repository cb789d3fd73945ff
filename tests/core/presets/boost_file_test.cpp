// The 116-byte boost file.
#include <gtest/gtest.h>

#include <vector>

#include "core/presets/BoostFile.h"
#include "support/temp_folder.h"

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

TEST(BoostFile, NamesTheFirstBandValueOutsideWhatThePageCanSet) {
  struct Case {
    int channel, band;
    EqBand value;
    const char* message;
  };
  const Case cases[] = {
      {1, 1, {0, 0, 7, 10, 0}, "music band 2: frequency 7 Hz outside 20..20000"},
      {0, 4, {0, 3, 1000, 10, 0}, "microphone band 5: type 3 is not peaking or shelving"},
      {2, 0, {0, 1, 1000, 21, 0}, "reverb band 1: Q 21 tenths outside 4..20"},
      {3, 2, {0, 0, 1000, 10, -241}, "echo band 3: gain -241 tenths of a dB outside +-240"},
      {3, 0, {8, 0, 1000, 10, 0}, "echo band 1: slope 8"},
  };
  for (const Case& c : cases) {
    BoostBlock block = SampleBlock();
    block.bands[static_cast<std::size_t>(c.channel)][static_cast<std::size_t>(c.band)] = c.value;
    EXPECT_EQ(BoostBandProblem(block), c.message);
  }
}

TEST(BoostFile, SavesAndLoadsByPathAndSaysWhyAFileWasNotLoaded) {
  testing::TempFolder dir;
  const BoostBlock block = SampleBlock();
  ASSERT_TRUE(SaveBoostFile(dir / "room.btpar", block).ok);
  const BoostLoad loaded = LoadBoostFile(dir / "room.btpar");
  ASSERT_EQ(loaded.outcome, BoostLoadOutcome::kLoaded) << loaded.reason;
  EXPECT_EQ(loaded.block.bands[0][4], block.bands[0][4]);
  EXPECT_EQ(loaded.block.switches, block.switches);

  const BoostLoad missing = LoadBoostFile(dir / "none.btpar");
  EXPECT_EQ(missing.outcome, BoostLoadOutcome::kUnreadable);
  EXPECT_FALSE(missing.reason.empty());

  auto bad = FileOf(block);
  bad[114] = static_cast<std::uint8_t>(bad[114] + 1);
  testing::WriteBytes(dir / "bad.btpar", bad);
  const BoostLoad refused = LoadBoostFile(dir / "bad.btpar");
  EXPECT_EQ(refused.outcome, BoostLoadOutcome::kRefused);
  EXPECT_EQ(refused.reason, "bad checksum");

  // The checksum holds but a value is out of range: refused with its reason.
  BoostBlock odd = block;
  odd.bands[1][1].freq = 7;
  ASSERT_TRUE(SaveBoostFile(dir / "odd.btpar", odd).ok);
  EXPECT_EQ(LoadBoostFile(dir / "odd.btpar").outcome, BoostLoadOutcome::kRefused);
  EXPECT_EQ(LoadBoostFile(dir / "odd.btpar").reason, BoostBandProblem(odd));

  std::vector<std::uint8_t> big(4096, 0);
  testing::WriteBytes(dir / "big.btpar", big);
  EXPECT_EQ(LoadBoostFile(dir / "big.btpar").reason, "wrong size: more than 116 bytes");
}

}  // namespace
}  // namespace tavelo
