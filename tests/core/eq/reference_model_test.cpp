// The curves against an independent model of every band type and slope (analogue
// prototypes seen through the bilinear transform's warping), so a wrong coefficient, a
// swapped section or a wrong prototype constant shows up as a shape error.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "analog_reference.h"
#include "band_test_support.h"
#include "core/eq/BandSyntax.h"

namespace tavelo::testing {
namespace {

constexpr double kToleranceDb = 0.05;

// The 18 dB filters move their first-order pole by 2^-23, as the processor does. For a
// high-pass with a low corner that pole sits next to z = 1, and the shift moves the real
// pole by up to 2 %: 0.18 dB at 10 Hz for a 20 Hz corner, under 0.05 dB from 50 Hz up.
double ToleranceDb(const EqBand& band) {
  const bool shiftedHighPass =
      band.type == kBandHighPass && (band.slope == kSlopeBessel18 || band.slope == kSlopeButter18);
  return shiftedHighPass && band.freq < 50 ? 0.2 : kToleranceDb;
}

// Compares every column below 20 kHz where the response is above -80 dB.
void ExpectMatchesReference(const EqResponse& resp, const EqBand& band) {
  EqResponse::Curve curve{};
  EqResponse probe(resp.Geometry());
  ASSERT_TRUE(probe.ComputeBandCurve(band, curve)) << FormatBand(band);
  const GraphGeometry& g = resp.Geometry();
  int compared = 0;
  for (int x = g.xStart; x < g.width; ++x) {
    const double hz = g.FrequencyOfColumn(x);
    if (hz >= 20000) break;
    const double expected = ReferenceResponseDb(band, hz);
    if (expected < -80) continue;
    ++compared;
    ASSERT_NEAR(curve[x] / g.pixelsPerDb, expected, ToleranceDb(band))
        << FormatBand(band) << " at column " << x << " (" << hz << " Hz)";
  }
  EXPECT_GT(compared, 0) << FormatBand(band);
}

TEST(ReferenceModel, PeakingAndShelvingBandsFollowTheirPrototypes) {
  const EqResponse resp(GraphGeometry::ForWidth(1600));
  for (int type : {kBandPeak, kBandLowShelf, kBandHighShelf}) {
    for (int freq : {20, 63, 1000, 7500, 20000}) {
      for (int gain : {-240, -35, 1, 120, 240}) {
        const int maxQ = type == kBandPeak ? 999 : 20;
        for (int q : {4, 7, 20, maxQ}) {
          ExpectMatchesReference(resp, MakeBand(type, freq, q, gain));
        }
      }
    }
  }
}

TEST(ReferenceModel, EveryPassFilterSlopeFollowsItsPolynomial) {
  const EqResponse resp(GraphGeometry::ForWidth(1600));
  for (int type : {kBandLowPass, kBandHighPass}) {
    for (int slope = 1; slope < kSlopeCount; ++slope) {
      for (int freq : {20, 80, 1000, 5000, 16000, 20000}) {
        ExpectMatchesReference(resp, MakeBand(type, freq, 7, 0, slope));
      }
    }
  }
}

TEST(ReferenceModel, RandomValidBandsAtSeveralWidths) {
  std::mt19937 rng(20240611);
  for (int width : {300, 700, 2048}) {
    const EqResponse resp(GraphGeometry::ForWidth(width));
    for (int i = 0; i < 150; ++i) {
      ExpectMatchesReference(resp, RandomValidBand(rng, i % 5));
    }
  }
}

}  // namespace
}  // namespace tavelo::testing
