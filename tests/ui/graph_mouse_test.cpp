// Mouse editing on the graph: which band a click takes, and the drag arithmetic.
#include <gtest/gtest.h>

#include "ui/graph/GraphLayout.h"
#include "ui/graph/GraphMouse.h"

namespace tavelo::ui {
namespace {

EqBand Band(int type, int freq, int gain, int q = 10) {
  EqBand b;
  b.type = static_cast<std::int8_t>(type);
  b.freq = static_cast<std::int16_t>(freq);
  b.gain = static_cast<std::int16_t>(gain);
  b.q = static_cast<std::int16_t>(q);
  return b;
}

class GraphMouseTest : public ::testing::Test {
 protected:
  GraphMouseTest() : g(GraphGeometry::ForWidth(1170)), mouse(g) {
    bands = {Band(kBandPeak, 1000, 0), Band(kBandLowShelf, 100, 60), Band(kBandPeak, 1000, 0),
             Band(kBandHighPass, 40, 0), Band(kBandLowPass, 16000, 0)};
    set.bands = bands.data();
    set.eqCount = 3;
    set.passCount = 2;
  }
  QPoint Point(int i) const { return BandPointOf(g, bands[i]); }
  // What the page does with an edit: store the values in the band.
  void Apply(const GraphEdit& e) {
    if (e.setFreq) bands[e.band].freq = static_cast<std::int16_t>(e.freq);
    if (e.setGain) bands[e.band].gain = static_cast<std::int16_t>(e.gain);
    if (e.setQ) bands[e.band].q = static_cast<std::int16_t>(e.q);
  }

  GraphGeometry g;
  GraphMouse mouse;
  std::vector<EqBand> bands;
  GraphBandSet set;
};

TEST_F(GraphMouseTest, HitBoxIs24PixelsAroundThePoint) {
  const QPoint p(100, 100);
  EXPECT_TRUE(GraphMouse::InHitBox(p, {88, 88}));
  EXPECT_TRUE(GraphMouse::InHitBox(p, {111, 111}));
  EXPECT_FALSE(GraphMouse::InHitBox(p, {112, 100}));
  EXPECT_FALSE(GraphMouse::InHitBox(p, {100, 87}));
}

TEST_F(GraphMouseTest, ClickOnNothingChangesNothingAndStartsNoDrag) {
  const GraphEdit e = mouse.LeftDown({600, 20}, set, 1, true);
  EXPECT_FALSE(e.Any());
  EXPECT_EQ(e.band, -1);
  EXPECT_EQ(mouse.Drag(), GraphDrag::kNone);
  EXPECT_FALSE(mouse.Move({300, 60}, set).Any());
}

TEST_F(GraphMouseTest, OverlappingMarkersLowerIndexWinsUnlessFocusedSelectionIsHit) {
  GraphEdit e = mouse.LeftDown(Point(2), set, -1, false);
  EXPECT_EQ(e.band, 0);
  EXPECT_TRUE(e.select);
  e = mouse.LeftDown(Point(2), set, 2, false);  // selected, but no band control focused
  EXPECT_EQ(e.band, 0);
  e = mouse.LeftDown(Point(2), set, 2, true);
  EXPECT_EQ(e.band, 2);
  EXPECT_FALSE(e.select);  // already selected and focused: just the drag
  EXPECT_EQ(mouse.Drag(), GraphDrag::kPoint);
}

TEST_F(GraphMouseTest, RightButtonReachesEqualiserBandsOnly) {
  EXPECT_EQ(mouse.RightDown(Point(3), set, -1, false).band, -1);
  EXPECT_EQ(mouse.Drag(), GraphDrag::kNone);
  // A selected pass filter does not keep the right button either.
  EXPECT_EQ(mouse.RightDown(Point(4), set, 4, true).band, -1);
  const GraphEdit e = mouse.RightDown(Point(1), set, -1, false);
  EXPECT_EQ(e.band, 1);
  EXPECT_EQ(mouse.Drag(), GraphDrag::kQ);
  EXPECT_TRUE(mouse.LeftDown(Point(3), set, -1, false).passFilter);
}

TEST_F(GraphMouseTest, PointDragPinsGainAtPlusMinus24AndFrequencyAt20And20000) {
  mouse.LeftDown(Point(1), set, -1, false);
  GraphEdit e = mouse.Move({Point(1).x(), 2}, set);  // above the plot
  EXPECT_TRUE(e.setGain);
  EXPECT_EQ(e.gain, 240);
  EXPECT_FALSE(e.setFreq);  // same column: only what changed is reported
  Apply(e);
  e = mouse.Move({Point(1).x(), 278}, set);
  EXPECT_EQ(e.gain, -240);
  Apply(e);
  e = mouse.Move({0, 278}, set);
  EXPECT_TRUE(e.setFreq);
  EXPECT_EQ(e.freq, 20);
  EXPECT_FALSE(e.setGain);
  Apply(e);
  e = mouse.Move({1169, 278}, set);
  EXPECT_EQ(e.freq, 20000);
  Apply(e);
  EXPECT_FALSE(mouse.Move({1169, 278}, set).Changed());
  // Back to the 0 dB row and a mid column.
  e = mouse.Move({g.ColumnOfFrequency(1000), 140}, set);
  EXPECT_NEAR(e.freq, 1000, 10);
  EXPECT_EQ(mouse.GainAtRow(140), 0);
}

TEST_F(GraphMouseTest, PassFilterFollowsOnlyInFrequencyWithinItsOwnRange) {
  set.passRanges = {{20, 1000}, {}};
  mouse.LeftDown(Point(3), set, -1, false);
  GraphEdit e = mouse.Move({1100, 20}, set);
  EXPECT_TRUE(e.passFilter);
  EXPECT_TRUE(e.setFreq);
  EXPECT_EQ(e.freq, 1000);
  EXPECT_FALSE(e.setGain);
  mouse.ButtonUp();
  mouse.LeftDown(Point(4), set, -1, false);
  EXPECT_EQ(mouse.Move({1169, 20}, set).freq, 20000);
}

TEST_F(GraphMouseTest, QDragStepsOneTenthPerPixelWithinTheTypesLimits) {
  mouse.RightDown(Point(0), set, -1, false);  // peaking, q 10
  const int x = Point(0).x();
  GraphEdit e = mouse.Move({x + 3, 200}, set);
  EXPECT_EQ(e.q, 13);
  Apply(e);
  e = mouse.Move({x + 5, 10}, set);  // relative to the last position, rows ignored
  EXPECT_EQ(e.q, 15);
  EXPECT_FALSE(e.setGain || e.setFreq);
  Apply(e);
  e = mouse.Move({0, 10}, set);
  EXPECT_EQ(e.q, 4);
  Apply(e);
  EXPECT_FALSE(mouse.Move({0, 12}, set).Changed());
  e = mouse.Move({1169, 12}, set);
  EXPECT_EQ(e.q, 999);  // 4 + 1169 pixels, held at the peaking limit
  mouse.ButtonUp();

  mouse.RightDown(Point(1), set, -1, false);  // low shelf
  e = mouse.Move({Point(1).x() + 400, 100}, set);
  EXPECT_EQ(e.q, 20);
  EXPECT_EQ(GraphMouse::QMaxOf(Band(kBandHighShelf, 1, 0)), 20);
  EXPECT_EQ(GraphMouse::QMaxOf(Band(kBandPeak, 1, 0)), 999);
}

TEST_F(GraphMouseTest, PeakQStopsAt999) {
  bands[0].q = 990;
  mouse.RightDown(Point(0), set, -1, false);
  EXPECT_EQ(mouse.Move({Point(0).x() + 50, 100}, set).q, 999);
}

TEST_F(GraphMouseTest, LeavingTheGraphOrReleasingEndsTheDrag) {
  mouse.LeftDown(Point(0), set, -1, false);
  EXPECT_FALSE(mouse.Move({-1, 100}, set).Any());
  EXPECT_EQ(mouse.Drag(), GraphDrag::kNone);
  EXPECT_FALSE(mouse.Move({300, 100}, set).Any());
  mouse.LeftDown(Point(0), set, -1, false);
  EXPECT_FALSE(mouse.Move({300, 280}, set).Any());  // row 280 is outside
  mouse.LeftDown(Point(0), set, -1, false);
  mouse.ButtonUp();
  EXPECT_FALSE(mouse.Move({300, 100}, set).Any());
}

}  // namespace
}  // namespace tavelo::ui
