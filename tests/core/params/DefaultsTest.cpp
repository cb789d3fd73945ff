#include <gtest/gtest.h>

#include "params/ParamImage.h"

namespace tavelo {
namespace {

ParamImage Defaults() {
  ParamImage image;
  ApplyDefaults(image);
  return image;
}

TEST(Defaults, SettingsBytesMatchTheDefaultTableRows) {
  const ParamImage image = Defaults();
  const struct {
    int offset;
    int value;
  } samples[] = {{0, 35},   {4, 84},   {5, 11},    {9, 7},    {11, 84},  {12, 100}, {19, 6},
                 {21, 35},  {27, 3},   {28, 99},   {32, 50},  {40, 10},  {88, 75},  {106, 6},
                 {111, 50}, {113, 85}, {115, 100}, {119, 64}, {121, 50}, {125, 1},  {126, 10},
                 {130, 2},  {131, 99}, {135, 0},   {136, 52}, {138, 1},  {139, 84}, {140, 0}};
  for (const auto& s : samples) EXPECT_EQ(image.byte(s.offset), s.value) << "byte " << s.offset;
  EXPECT_EQ(image.bytes[kSettingsBytes], 0);  // the spare byte
}

TEST(Defaults, WordsSwitchWordsAndNames) {
  const ParamImage image = Defaults();
  const struct {
    int k;
    int value;
  } samples[] = {{0, 50},     {1, 20000}, {4, 20},    {6, 20000}, {18, 125}, {20, 100},
                 {21, 15200}, {22, 61},   {23, 7700}, {24, 2680}, {26, 200}, {30, 0},
                 {36, 240},   {38, 1000}, {42, 1000}, {43, 240}};
  for (const auto& s : samples) EXPECT_EQ(image.word(s.k), s.value) << "W" << s.k;
  EXPECT_EQ(image.words[kWordCount], 0);  // the spare word
  EXPECT_EQ(image.switchWord, 0x03FFE000u);
  EXPECT_EQ(image.altSwitchWord, 0x00550000u);
  for (char c : image.name) EXPECT_EQ(c, 0);
  for (const auto& n : image.presetNames) {
    for (char c : n) EXPECT_EQ(c, 0);
  }
}

TEST(Defaults, EveryBandIsFlatAtItsSetsFrequency) {
  const ParamImage image = Defaults();
  auto freqs = [&](EqSet s) {
    std::vector<int> out;
    for (int b = 0; b < kEqSets[s].memoryBands; ++b) {
      const EqBand& band = image.eq[s][static_cast<std::size_t>(b)];
      EXPECT_EQ(band.slope, 0);
      EXPECT_EQ(band.type, 0);
      EXPECT_EQ(band.q, 10);
      EXPECT_EQ(band.gain, 0);
      out.push_back(band.freq);
    }
    return out;
  };
  const std::vector<int> mic = {63, 125, 250, 500, 1000, 2000, 4000, 6300, 8000, 16000, 20000, 20};
  EXPECT_EQ(freqs(kEqMicA), mic);
  EXPECT_EQ(freqs(kEqMicB), mic);
  EXPECT_EQ(freqs(kEqMainSecond),
            (std::vector<int>{125, 250, 500, 1000, 2000, 4000, 8000, 20000, 20}));
  EXPECT_EQ(freqs(kEqCentreFirst), (std::vector<int>{125, 250, 1000, 2500, 8000, 20000, 20}));
  EXPECT_EQ(freqs(kEqSubSecond), (std::vector<int>{31, 63, 125, 250, 500, 20000, 20}));
  EXPECT_EQ(freqs(kEqReverb), (std::vector<int>{125, 250, 1000, 2500, 8000, 15200, 100}));
  EXPECT_EQ(freqs(kEqEcho), (std::vector<int>{125, 250, 1000, 2500, 8000, 7700, 61}));

  const int boost[] = {125, 250, 1000, 2500, 8000};
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      const EqBand& band =
          image.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)];
      EXPECT_EQ(band, (EqBand{0, 0, static_cast<std::int16_t>(boost[b]), 10, 0}));
    }
  }
}

TEST(Defaults, ReplaceAnEarlierPresetCompletely) {
  ParamImage image = Defaults();
  image.byte(0) = 1;
  image.word(20) = 9;
  image.eq[kEqMusic][3].gain = -60;
  image.presetNames[4][0] = 'X';
  image.btName[0] = 'B';
  image.toneGroups[0][1].gain = 30;
  ApplyDefaults(image);
  EXPECT_EQ(image, Defaults());
  // Status tone gains start flat; their middle band sits at the tone words' 1000 Hz.
  for (const auto& group : image.toneGroups) {
    for (const EqBand& band : group) EXPECT_EQ(band.gain, 0);
    EXPECT_EQ(group[2].freq, 1000);
  }
}

}  // namespace
}  // namespace tavelo
