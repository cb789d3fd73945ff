// The band text of tavelo-cli: what it accepts must be a band the pages could hold, and
// what FormatBand writes must read back as the same band.
#include <gtest/gtest.h>

#include <string>

#include "core/eq/BandSyntax.h"
#include "core/presets/ParamFields.h"

namespace tavelo {
namespace {

EqBand Band(int type, int freq, int q, int gain, int slope = 0) {
  EqBand b;
  b.type = static_cast<std::int8_t>(type);
  b.freq = static_cast<std::int16_t>(freq);
  b.q = static_cast<std::int16_t>(q);
  b.gain = static_cast<std::int16_t>(gain);
  b.slope = static_cast<std::int8_t>(slope);
  return b;
}

TEST(BandSyntax, AcceptsEveryTypeAndSlope) {
  struct Case {
    const char* text;
    EqBand band;
  };
  const Case cases[] = {
      {"peak,1000,1.4,-3.5", Band(kBandPeak, 1000, 14, -35)},
      {"lowshelf,20,0.4,24", Band(kBandLowShelf, 20, 4, 240)},
      {"highshelf,20000,2,-24.0", Band(kBandHighShelf, 20000, 20, -240)},
      {"lowpass,80,0.7,0", Band(kBandLowPass, 80, 7, 0, kSlopeBypass)},
      {"highpass,100,0.7,0,bessel_12db", Band(kBandHighPass, 100, 7, 0, kSlopeBessel12)},
      {"lowpass,100,0.7,0,butter_12db", Band(kBandLowPass, 100, 7, 0, kSlopeButter12)},
      {"lowpass,100,0.7,0,bessel_18db", Band(kBandLowPass, 100, 7, 0, kSlopeBessel18)},
      {"lowpass,100,0.7,0,butter_18db", Band(kBandLowPass, 100, 7, 0, kSlopeButter18)},
      {"lowpass,100,0.7,0,bessel_24db", Band(kBandLowPass, 100, 7, 0, kSlopeBessel24)},
      {"lowpass,100,0.7,0,butter_24db", Band(kBandLowPass, 100, 7, 0, kSlopeButter24)},
      {"lowpass,100,0.7,0,lr_24db", Band(kBandLowPass, 100, 7, 0, kSlopeLinkwitzRiley24)},
      {"highpass,100,0.7,0,Link Riley 24db", Band(kBandHighPass, 100, 7, 0, 7)},
      {"lowpass,100,0.7,0,bypass", Band(kBandLowPass, 100, 7, 0, kSlopeBypass)},
      // Case and spaces around fields do not matter.
      {" PEAK , 250 , 99.9 , +6 ", Band(kBandPeak, 250, 999, 60)},
      {"HighPass,40,1,0,BUTTER_24DB", Band(kBandHighPass, 40, 10, 0, kSlopeButter24)},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto band = ParseBand(c.text, error);
    ASSERT_TRUE(band) << c.text << ": " << error;
    EXPECT_EQ(*band, c.band) << c.text;
  }
}

TEST(BandSyntax, RoundsQAndGainToTenthsLikeThePages) {
  std::string error;
  EXPECT_EQ(ParseBand("peak,1000,1.26,0", error)->q, 13);
  EXPECT_EQ(ParseBand("peak,1000,1,24.04", error)->gain, 240);
  EXPECT_EQ(ParseBand("peak,1000,1,-0.06", error)->gain, -1);
  EXPECT_EQ(ParseBand("peak,1000,1,-23.96", error)->gain, -240);
  EXPECT_FALSE(ParseBand("peak,1000,1,24.05", error));  // rounds to 24.1
  EXPECT_FALSE(ParseBand("peak,1000,0.34,0", error));   // rounds to 0.3
}

TEST(BandSyntax, RefusesMalformedOrOutOfRangeBandsWithAReason) {
  const char* refused[] = {
      "",
      "peak",
      "peak,1000,1",
      "peak,1000,1,0,bypass,1",
      "notch,1000,1,0",
      "peak,19,1,0",
      "peak,20001,1,0",
      "peak,1000.5,1,0",
      "peak,+1000,1,0",
      "peak,1e3,1,0",
      "peak,abc,1,0",
      "peak,,1,0",
      "peak,1000,,0",
      "peak,1000,1,",
      "peak,1000,0.3,0",
      "peak,1000,100,0",
      "lowshelf,1000,2.1,0",
      "highshelf,1000,2.06,0",
      "peak,1000,1,24.1",
      "peak,1000,1,-24.1",
      "peak,1000,nan,0",
      "peak,1000,inf,0",
      "peak,1000,1,1e1",
      "peak,1000,1,0x10",
      "peak,1000,1,99999999999999999999",
      "peak,1000,1,0,butter_12db",
      "lowpass,1000,1,0,butter_48db",
      "lowpass,1000,1,0,",
      "lowpass,1000,1,0,7",
  };
  for (const char* text : refused) {
    std::string error;
    EXPECT_FALSE(ParseBand(text, error)) << "'" << text << "'";
    EXPECT_FALSE(error.empty()) << "'" << text << "'";
  }
  std::string error;
  ParseBand("peak,1000,1,0,butter_12db", error);
  EXPECT_NE(error.find("lowpass"), std::string::npos) << error;
  ParseBand("lowpass,1000,1,0,steep", error);
  EXPECT_NE(error.find("steep"), std::string::npos) << error;
  EXPECT_NE(error.find("lr_24db"), std::string::npos) << error;  // lists the choices
  ParseBand("peak,7,1,0", error);
  EXPECT_NE(error.find("'7'"), std::string::npos) << error;
}

TEST(BandSyntax, FormatWritesTenthsExactlyAndReadsBack) {
  EXPECT_EQ(FormatBand(Band(kBandPeak, 1000, 14, -35)), "peak,1000,1.4,-3.5");
  EXPECT_EQ(FormatBand(Band(kBandPeak, 1000, 10, -5)), "peak,1000,1.0,-0.5");
  EXPECT_EQ(FormatBand(Band(kBandLowShelf, 20, 7, 0)), "lowshelf,20,0.7,0.0");
  EXPECT_EQ(FormatBand(Band(kBandLowPass, 80, 7, 0, kSlopeLinkwitzRiley24)),
            "lowpass,80,0.7,0.0,lr_24db");
  EXPECT_EQ(FormatBand(Band(kBandHighPass, 80, 7, 0, kSlopeBypass)), "highpass,80,0.7,0.0,bypass");
  // Bands from files or a processor may hold anything; they are still written.
  EXPECT_EQ(FormatBand(Band(9, 0, 0, 0)), "type9,0,0.0,0.0");
  EXPECT_EQ(FormatBand(Band(kBandLowPass, 100, 7, 0, 12)), "lowpass,100,0.7,0.0,slope12");
  EXPECT_EQ(FormatBand(Band(kBandPeak, -32768, -32768, -32768)), "peak,-32768,-3276.8,-3276.8");

  for (int type = 0; type <= 4; ++type) {
    for (int slope = 0; slope < kSlopeCount; ++slope) {
      const bool pass = type == kBandLowPass || type == kBandHighPass;
      if (!pass && slope != 0) continue;
      for (const EqBand& b : {Band(type, 20, 4, -240, slope), Band(type, 20000, 20, 240, slope),
                              Band(type, 1234, 13, -7, slope)}) {
        std::string error;
        const auto back = ParseBand(FormatBand(b), error);
        ASSERT_TRUE(back) << FormatBand(b) << ": " << error;
        EXPECT_EQ(*back, b) << FormatBand(b);
      }
    }
  }
}

TEST(BandSyntax, NamesOfTypesAndSlopes) {
  EXPECT_STREQ(BandTypeWord(kBandHighShelf), "highshelf");
  EXPECT_EQ(BandTypeWord(5), nullptr);
  EXPECT_EQ(BandTypeWord(-1), nullptr);
  EXPECT_STREQ(SlopeWord(kSlopeBessel18), "bessel_18db");
  EXPECT_EQ(SlopeWord(kSlopeCount), nullptr);
  EXPECT_EQ(SlopeWord(-1), nullptr);
}

// What `tavelo-cli show` prints for a band reads back as that band, so a value copied from
// show's output can be handed to `set`.
TEST(BandSyntax, ReadsTheBandTextShowPrints) {
  std::string error;
  for (const EqBand& band : {Band(kBandPeak, 1000, 10, 30), Band(kBandLowShelf, 63, 7, -120),
                             Band(kBandHighShelf, 16000, 20, 0), Band(kBandPeak, 20, 999, -240)}) {
    const auto back = ParseBand(BandText(band), error);
    ASSERT_TRUE(back) << BandText(band) << ": " << error;
    EXPECT_EQ(*back, band) << BandText(band);
  }
  // Pass filters print frequency and slope only; show writes code 7 as the list's text.
  for (const EqBand& band : {Band(kBandHighPass, 80, 7, 0, kSlopeButter24),
                             Band(kBandLowPass, 18000, 7, 0, kSlopeLinkwitzRiley24)}) {
    const auto back = ParseBand(BandText(band), error);
    ASSERT_TRUE(back) << BandText(band) << ": " << error;
    EXPECT_EQ(*back, band) << BandText(band);
  }
  EXPECT_FALSE(ParseBand("peak 1000 Hz q=1.0 +30.0 dB", error));  // still range-checked
  EXPECT_NE(error.find("gain"), std::string::npos) << error;
  EXPECT_FALSE(ParseBand("notch 1000 Hz q=1.0 +3.0 dB", error));
}

}  // namespace
}  // namespace tavelo
