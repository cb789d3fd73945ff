// The curve computation: the response values a page relies on, the bands that must draw
// flat or be skipped, degenerate bands from a processor, and the tabled fast path
// against the direct per-section formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "band_test_support.h"
#include "core/eq/BandSyntax.h"

namespace tavelo::testing {
namespace {

double DbAtExactKiloHertz(const EqBand& band) {
  std::array<Biquad, 2> sections;
  const int count = EqResponse::DesignBand(band, sections);
  const float omega = static_cast<float>(2 * std::numbers::pi * 1000 / 48000);
  double db = 0;
  for (int i = 0; i < count; ++i)
    db += 20 * std::log10(EqResponse::SectionMagnitude(omega, sections[i]));
  return db;
}

bool AllFinite(const EqResponse::Curve& c, const GraphGeometry& g) {
  for (int x = g.xStart; x < g.width; ++x) {
    if (!std::isfinite(c[x])) return false;
  }
  return true;
}

TEST(EqResponseCurve, PassFiltersAreThreeDbDownAtTheCornerAndLinkwitzRileySix) {
  const EqResponse resp(ExactKiloHertzGeometry());
  for (int type : {kBandLowPass, kBandHighPass}) {
    for (int slope = 1; slope < kSlopeCount; ++slope) {
      const EqBand band = MakeBand(type, 1000, 7, 0, slope);
      const double expected = slope == kSlopeLinkwitzRiley24 ? -6.02 : -3.01;
      EXPECT_NEAR(DbAtExactKiloHertz(band), expected, 0.01) << FormatBand(band);
      EqResponse::Curve curve{};
      ASSERT_TRUE(resp.ComputeBandCurve(band, curve));
      EXPECT_NEAR(curve[kKiloHertzColumn], expected, 0.01) << FormatBand(band);
    }
  }
}

TEST(EqResponseCurve, PeakingBandReachesItsGainAtItsCentre) {
  const EqResponse resp(ExactKiloHertzGeometry());
  for (int gain : {120, -120, 240, 5}) {
    for (int q : {4, 10, 999}) {
      EqResponse::Curve curve{};
      ASSERT_TRUE(resp.ComputeBandCurve(MakeBand(kBandPeak, 1000, q, gain), curve));
      EXPECT_NEAR(curve[kKiloHertzColumn], gain / 10.0, 0.01) << gain << " q " << q;
    }
  }
  // In pixels on a real graph, at the column standing nearest 1 kHz.
  const EqResponse page(GraphGeometry::ForWidth(1000));
  const int column = page.Geometry().ColumnOfFrequency(1000);
  EqResponse::Curve curve{};
  page.ComputeBandCurve(MakeBand(kBandPeak, 1000, 10, 120), curve);
  EXPECT_NEAR(curve[column] / page.Geometry().pixelsPerDb, 12.0, 0.01);
}

TEST(EqResponseCurve, ShelvesReachTheirGainFarFromTheirCorner) {
  const EqResponse resp(GraphGeometry::ForWidth(1000));
  const GraphGeometry& g = resp.Geometry();
  const int low = g.ColumnOfFrequency(20);
  const int high = g.ColumnOfFrequency(20000);
  EqResponse::Curve curve{};
  resp.ComputeBandCurve(MakeBand(kBandLowShelf, 1000, 7, 90), curve);
  EXPECT_NEAR(curve[low] / g.pixelsPerDb, 9.0, 0.05);
  EXPECT_NEAR(curve[high] / g.pixelsPerDb, 0.0, 0.05);
  resp.ComputeBandCurve(MakeBand(kBandHighShelf, 1000, 7, -90), curve);
  EXPECT_NEAR(curve[low] / g.pixelsPerDb, 0.0, 0.05);
  EXPECT_NEAR(curve[high] / g.pixelsPerDb, -9.0, 0.1);
}

TEST(EqResponseFlatBands, ZeroGainIsExactlyZeroWhateverFrequencyAndQ) {
  EqResponse resp(GraphGeometry::ForWidth(2048));
  std::vector<EqBand> bands;
  for (int type : {kBandPeak, kBandLowShelf, kBandHighShelf}) {
    for (int freq : {20, 1000, 20000, 32767}) {
      for (int q : {4, 7, 999}) bands.push_back(MakeBand(type, freq, q, 0));
    }
  }
  for (const EqBand& band : bands) {
    EqResponse::Curve curve;
    curve.fill(5.0f);
    ASSERT_TRUE(resp.ComputeBandCurve(band, curve));
    for (int x = 50; x < 2048; ++x) ASSERT_EQ(curve[x], 0.0f) << FormatBand(band) << " " << x;
  }
  resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
  for (int x = 50; x < 2048; ++x) ASSERT_EQ(resp.SumCurve()[x], 0.0f) << x;
}

TEST(EqResponseFlatBands, BypassedPassFilterIsSkippedAndLeavesOutputUntouched) {
  EqResponse resp(GraphGeometry::ForWidth(1000));
  for (int type : {kBandLowPass, kBandHighPass}) {
    const EqBand bypassed = MakeBand(type, 1000, 7, 0, kSlopeBypass);
    std::array<Biquad, 2> sections;
    EXPECT_EQ(EqResponse::DesignBand(bypassed, sections), 0);
    EqResponse::Curve curve;
    curve.fill(3.5f);
    EXPECT_FALSE(resp.ComputeBandCurve(bypassed, curve));
    for (float v : curve) ASSERT_EQ(v, 3.5f);
  }
  const EqBand peak = MakeBand(kBandPeak, 500, 10, 60);
  const std::array<EqBand, 3> withBypass = {peak, MakeBand(kBandLowPass, 100, 7, 0, 0),
                                            MakeBand(kBandHighPass, 5000, 7, 0, 0)};
  resp.SumBandCurves(&peak, 1);
  const EqResponse::Curve alone = resp.SumCurve();
  resp.SumBandCurves(withBypass.data(), 3);
  for (int x = 50; x < 1000; ++x) ASSERT_EQ(resp.SumCurve()[x], alone[x]) << x;
}

TEST(EqResponseFlatBands, UnknownTypeOrSlopeIsComputedFlat) {
  const EqResponse resp(GraphGeometry::ForWidth(1000));
  const std::vector<EqBand> unknown = {
      MakeBand(5, 1000, 10, 60),
      MakeBand(-1, 1000, 10, 60),
      MakeBand(127, 1000, 10, 60),
      MakeBand(kBandLowPass, 1000, 7, 0, 8),
      MakeBand(kBandHighPass, 1000, 7, 0, -3),
      MakeBand(kBandLowPass, 1000, 7, 0, 127),
  };
  for (const EqBand& band : unknown) {
    std::array<Biquad, 2> sections;
    EXPECT_EQ(EqResponse::DesignBand(band, sections), 1) << FormatBand(band);
    EqResponse::Curve curve;
    curve.fill(9.0f);
    EXPECT_TRUE(resp.ComputeBandCurve(band, curve)) << FormatBand(band);
    for (int x = 50; x < 1000; ++x) ASSERT_EQ(curve[x], 0.0f) << FormatBand(band);
  }
}

// Bands as a processor or a damaged file may hold them must never put NaN or infinity
// into a curve: q 0 or frequency 0 would divide by zero, and the int16 fields go far
// beyond what the pages allow.
TEST(EqResponseDegenerateBands, ZeroQOrFrequencyDrawsFlat) {
  const EqResponse resp(GraphGeometry::ForWidth(1000));
  for (int type : {kBandPeak, kBandLowShelf, kBandHighShelf}) {
    for (const EqBand& band : {MakeBand(type, 1000, 0, 60), MakeBand(type, 0, 10, 60),
                               MakeBand(type, -500, 10, 60), MakeBand(type, 1000, -7, 60)}) {
      EqResponse::Curve curve{};
      ASSERT_TRUE(resp.ComputeBandCurve(band, curve));
      for (int x = 50; x < 1000; ++x) ASSERT_EQ(curve[x], 0.0f) << FormatBand(band);
    }
  }
  for (int type : {kBandLowPass, kBandHighPass}) {
    for (int slope = 1; slope < kSlopeCount; ++slope) {
      EqResponse::Curve curve{};
      ASSERT_TRUE(resp.ComputeBandCurve(MakeBand(type, 0, 0, 0, slope), curve));
      for (int x = 50; x < 1000; ++x) ASSERT_EQ(curve[x], 0.0f);
    }
  }
}

TEST(EqResponseDegenerateBands, ExtremeFieldValuesStayFinite) {
  EqResponse resp(GraphGeometry::ForWidth(2048));
  const int freqs[] = {1, 19, 23999, 24000, 24001, 32767};
  const int qs[] = {1, 32767};
  const int gains[] = {-32768, -241, 241, 32767};
  std::vector<EqBand> all;
  for (int type = 0; type <= 4; ++type) {
    for (int slope = 0; slope < kSlopeCount; ++slope) {
      for (int freq : freqs) {
        for (int q : qs) {
          for (int gain : gains) all.push_back(MakeBand(type, freq, q, gain, slope));
        }
      }
    }
  }
  for (const EqBand& band : all) {
    std::array<Biquad, 2> sections;
    const int count = EqResponse::DesignBand(band, sections);
    for (int i = 0; i < count; ++i) {
      const Biquad& s = sections[i];
      ASSERT_TRUE(std::isfinite(s.b0 + s.b1 + s.b2 + s.a1 + s.a2)) << FormatBand(band);
    }
    EqResponse::Curve curve{};
    resp.ComputeBandCurve(band, curve);
    ASSERT_TRUE(AllFinite(curve, resp.Geometry())) << FormatBand(band);
  }
  resp.SumBandCurves(all.data(), static_cast<int>(all.size()));
  EXPECT_TRUE(AllFinite(resp.SumCurve(), resp.Geometry()));
}

TEST(EqResponseDegenerateBands, EighteenDbFiltersAreFiniteUpToTheRightEdge) {
  // At 2048 columns the graph reaches 25 kHz, beyond the 24 kHz Nyquist frequency.
  const EqResponse resp(GraphGeometry::ForWidth(2048));
  const GraphGeometry& g = resp.Geometry();
  ASSERT_GT(g.FrequencyOfColumn(g.width - 1), 24000);
  for (int type : {kBandLowPass, kBandHighPass}) {
    for (int slope : {kSlopeBessel18, kSlopeButter18}) {
      for (int freq : {20, 1000, 20000}) {
        const EqBand band = MakeBand(type, freq, 7, 0, slope);
        // The shift leaves the first-order section's pole just off its zero at z = -1
        // (low-pass) or z = +1 (high-pass): the denominator there is 2^-23, not 0.
        std::array<Biquad, 2> s;
        ASSERT_EQ(EqResponse::DesignBand(band, s), 2);
        const double denominatorAtZero =
            type == kBandLowPass ? 1 - s[0].a1 + s[0].a2 : 1 + s[0].a1 + s[0].a2;
        EXPECT_NEAR(denominatorAtZero, 1.1920929e-7, 1e-12) << FormatBand(band);
        EqResponse::Curve curve{};
        ASSERT_TRUE(resp.ComputeBandCurve(band, curve));
        EXPECT_TRUE(AllFinite(curve, g)) << FormatBand(band);
      }
    }
  }
}

TEST(EqResponseSums, SumClearsAndAddBandCurvesAddsWithoutClearing) {
  EqResponse resp(GraphGeometry::ForWidth(1200));
  std::mt19937 rng(7);
  std::vector<EqBand> eq;
  for (int i = 0; i < 12; ++i) eq.push_back(RandomValidBand(rng, i % 5));
  const std::array<EqBand, 3> tones = {MakeBand(kBandLowShelf, 100, 7, 60),
                                       MakeBand(kBandPeak, 1000, 10, -40),
                                       MakeBand(kBandHighShelf, 10000, 7, 80)};
  // Expected: the band curves added one by one.
  std::vector<double> eqOnly(1200, 0.0), toneOnly(1200, 0.0);
  for (const EqBand& b : eq) {
    EqResponse::Curve c{};
    if (resp.ComputeBandCurve(b, c)) {
      for (int x = 50; x < 1200; ++x) eqOnly[x] += c[x];
    }
  }
  for (const EqBand& b : tones) {
    EqResponse::Curve c{};
    resp.ComputeBandCurve(b, c);
    for (int x = 50; x < 1200; ++x) toneOnly[x] += c[x];
  }
  const double tolerance = 0.01 * resp.Geometry().pixelsPerDb;
  resp.SumBandCurves(tones.data(), 3);  // stale content that the next sum must clear
  resp.SumBandCurves(eq.data(), static_cast<int>(eq.size()));
  for (int x = 50; x < 1200; ++x) ASSERT_NEAR(resp.SumCurve()[x], eqOnly[x], tolerance) << x;
  resp.AddBandCurves(tones.data());
  for (int x = 50; x < 1200; ++x) {
    ASSERT_NEAR(resp.SumCurve()[x], eqOnly[x] + toneOnly[x], tolerance) << x;
  }
  resp.AddBandCurves(tones.data());
  for (int x = 50; x < 1200; ++x) {
    ASSERT_NEAR(resp.SumCurve()[x], eqOnly[x] + 2 * toneOnly[x], tolerance) << x;
  }
}

TEST(EqResponseSums, ManyDeepBandsStayFiniteAndAdd) {
  // Thirty 24 dB low-passes at 20 Hz: each is far below -200 dB at the top of the graph,
  // and their product would underflow a double without the per-band floor.
  EqResponse resp(GraphGeometry::ForWidth(2048));
  std::vector<EqBand> bands(30, MakeBand(kBandLowPass, 20, 7, 0, kSlopeButter24));
  resp.SumBandCurves(bands.data(), 30);
  EXPECT_TRUE(AllFinite(resp.SumCurve(), resp.Geometry()));
  EqResponse::Curve one{};
  resp.ComputeBandCurve(bands[0], one);
  for (int x = 50; x < 2048; ++x) ASSERT_NEAR(resp.SumCurve()[x], 30 * one[x], 0.5) << x;
}

// The tabled quadratic forms against trigonometry per section and column.
TEST(EqResponseFastPath, MatchesTheDirectFormulasWithinAHundredthOfADb) {
  std::mt19937 rng(99);
  for (int width : {51, 1000, 2048}) {
    EqResponse resp(GraphGeometry::ForWidth(width));
    const GraphGeometry& g = resp.Geometry();
    std::vector<EqBand> bands;
    for (int i = 0; i < 200; ++i) bands.push_back(RandomValidBand(rng, i % 5));
    std::vector<double> direct(width, 0.0);
    for (const EqBand& band : bands) {
      EqResponse::Curve curve{};
      ASSERT_TRUE(resp.ComputeBandCurve(band, curve));
      for (int x = g.xStart; x < g.width; ++x) {
        const double hz = g.FrequencyOfColumn(x);
        const double expected = DirectResponseDb(band, hz);
        direct[x] += expected;
        if (expected < -80) continue;  // deep stop band: single-precision noise
        ASSERT_NEAR(curve[x] / g.pixelsPerDb, expected, 0.01)
            << FormatBand(band) << " at " << hz << " Hz, width " << width;
      }
    }
    // 200 bands also cross the point where the sum takes its logarithm in batches.
    resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
    for (int x = g.xStart; x < g.width; ++x) {
      if (direct[x] < -80) continue;
      ASSERT_NEAR(resp.SumCurve()[x] / g.pixelsPerDb, direct[x], 0.01) << x;
    }
  }
}

TEST(EqResponseGeometry, OutOfRangeGeometryNeverWritesOutsideTheCurve) {
  GraphGeometry g = GraphGeometry::ForWidth(1000);
  g.width = 5000;
  g.xStart = -20;
  EqResponse resp(g);
  EXPECT_EQ(resp.Geometry().width, EqResponse::kMaxColumns);
  EXPECT_EQ(resp.Geometry().xStart, 0);
  const EqBand band = MakeBand(kBandPeak, 1000, 10, 60);
  EqResponse::Curve curve{};
  EXPECT_TRUE(resp.ComputeBandCurve(band, curve));
  resp.SumBandCurves(&band, 1);
  EXPECT_TRUE(AllFinite(resp.SumCurve(), resp.Geometry()));
}

}  // namespace
}  // namespace tavelo::testing
