// The graph's column and row mapping: the curve, the markers, the grid and the mouse all
// go through it, so a column or row off by one shows as a marker beside its curve.
#include <gtest/gtest.h>

#include <cmath>

#include "core/eq/EqResponse.h"

namespace tavelo {
namespace {

TEST(GraphGeometry, FixedPlotAndScalesFromWidth) {
  for (int width : {51, 800, 1000, 1366, 2048}) {
    const GraphGeometry g = GraphGeometry::ForWidth(width);
    EXPECT_EQ(g.width, width);
    EXPECT_EQ(g.xStart, 50);
    EXPECT_EQ(g.top, 30);
    EXPECT_EQ(g.bottom, 250);
    EXPECT_EQ(g.ZeroRow(), 140);
    EXPECT_FLOAT_EQ(g.pixelsPerDb, 220.0f / 48.0f);
    EXPECT_FLOAT_EQ(g.pixelsPerDecade, static_cast<float>(width / std::log10(2500.0)));
    EXPECT_EQ(g.x0, static_cast<int>(-g.pixelsPerDecade));
  }
  const GraphGeometry g = GraphGeometry::ForWidth(1000);
  EXPECT_EQ(g.x0, -294);  // 1000 / log10(2500) = 294.30
}

TEST(GraphGeometry, AxisEndsSitAtTheEdgesOfTheGraph) {
  for (int width : {800, 1000, 1366, 2048}) {
    const GraphGeometry g = GraphGeometry::ForWidth(width);
    // Truncations of ppd and ppd + 0.5 may differ by one.
    EXPECT_GE(g.ColumnOfFrequency(10), 0) << width;
    EXPECT_LE(g.ColumnOfFrequency(10), 1) << width;
    EXPECT_GE(g.ColumnOfFrequency(25000), width) << width;
    EXPECT_LE(g.ColumnOfFrequency(25000), width + 1) << width;
    EXPECT_NEAR(g.FrequencyOfColumn(g.x0), 1.0, 1e-12);
  }
  const GraphGeometry g = GraphGeometry::ForWidth(1000);
  EXPECT_EQ(g.ColumnOfFrequency(1000), 589);
  EXPECT_EQ(g.ColumnOfFrequency(20), 89);
  EXPECT_EQ(g.ColumnOfFrequency(20000), 972);
}

TEST(GraphGeometry, ColumnOfFrequencyInvertsFrequencyOfColumn) {
  for (int width : {51, 1000, 2048}) {
    const GraphGeometry g = GraphGeometry::ForWidth(width);
    for (int x = g.xStart; x < g.width; ++x) {
      ASSERT_EQ(g.ColumnOfFrequency(g.FrequencyOfColumn(x)), x) << width;
    }
  }
}

TEST(GraphGeometry, RowsOfTheGainRangeAndItsMiddle) {
  const GraphGeometry g = GraphGeometry::ForWidth(1000);
  EXPECT_EQ(g.RowOfGain(0), g.ZeroRow());
  EXPECT_EQ(g.RowOfGain(240), g.top);
  EXPECT_EQ(g.RowOfGain(-240), g.bottom);
  EXPECT_EQ(g.RowOfGain(60), 112);   // 250 - 30 * 4.5833 = 112.5
  EXPECT_EQ(g.RowOfGain(-61), 167);  // 250 - 17.9 * 4.5833 = 167.96
  for (int gain = -240; gain < 240; ++gain) ASSERT_GE(g.RowOfGain(gain), g.RowOfGain(gain + 1));
}

TEST(GraphGeometry, UnusableWidthsAndFrequenciesAreContained) {
  EXPECT_EQ(GraphGeometry::ForWidth(5000).width, EqResponse::kMaxColumns);
  const GraphGeometry zero = GraphGeometry::ForWidth(0);
  EXPECT_GT(zero.pixelsPerDecade, 0);
  EXPECT_TRUE(std::isfinite(zero.FrequencyOfColumn(40)));
  const GraphGeometry g = GraphGeometry::ForWidth(1000);
  EXPECT_EQ(g.ColumnOfFrequency(0), g.x0);
  EXPECT_EQ(g.ColumnOfFrequency(-100), g.x0);
  EXPECT_EQ(g.ColumnOfFrequency(std::nan("")), g.x0);
  EXPECT_GT(g.ColumnOfFrequency(HUGE_VAL), 1000);
}

}  // namespace
}  // namespace tavelo
