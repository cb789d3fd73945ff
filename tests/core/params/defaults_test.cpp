#include <gtest/gtest.h>

#include "core/params/Catalogue.h"
#include "core/params/ParamImage.h"

namespace tavelo {
namespace {

ParamImage Defaults() {
  ParamImage image;
  ApplyDefaults(image);
  return image;
}

// The bytes themselves are pinned by the golden (DefaultImageGoldenTest); here each row's
// default is checked against what the row allows and against what the image reads back.
TEST(Defaults, EveryDefaultLiesInItsRowsRangeAndReadsBack) {
  const ParamImage image = Defaults();
  for (const CatalogueRow& r : AllRows()) {
    if (r.kind == ValueKind::kBand || r.kind == ValueKind::kText || r.kind == ValueKind::kHex) {
      continue;
    }
    // The processor ships liveliness 0, below the page's 20..99; it stays as shipped.
    if (r.id != row::kReverbLiveliness) {
      EXPECT_GE(r.def, r.min) << r.name;
      EXPECT_LE(r.def, r.max) << r.name;
    }
    EXPECT_EQ(ReadValue(image, r), r.def) << r.name;
  }
  EXPECT_EQ(image.bytes[kSettingsBytes], 0);  // the spare byte
  EXPECT_EQ(image.words[kWordCount], 0);      // the spare word
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
