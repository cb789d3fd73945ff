// Column <-> frequency and gain <-> row mapping shared by the curve computation, the
// graph drawing and the mouse editing. The arithmetic is kept in single precision where
// the drawing rounds (rows), because a double evaluation puts 0 dB on row 139, not 140.
#include <algorithm>
#include <cmath>

#include "core/eq/EqResponse.h"
#include "core/eq/GraphAxes.h"

namespace tavelo {

namespace {
constexpr int kGraphMaxWidth = EqResponse::kMaxColumns;
constexpr int kPlotTop = 30;
constexpr int kPlotBottom = 250;
constexpr int kPlotLeft = 50;
constexpr float kDbRange = 2.0f * kAxisDbLimit;
const double kDecadesShown = std::log10(kAxisHighHz / kAxisLowHz);
}  // namespace

GraphGeometry GraphGeometry::ForWidth(int width) {
  GraphGeometry g;
  // The curve buffers hold kMaxColumns entries; a wider window would overrun them and a
  // zero width would divide by zero below.
  g.width = std::clamp(width, 1, kGraphMaxWidth);
  g.xStart = kPlotLeft;
  g.top = kPlotTop;
  g.bottom = kPlotBottom;
  g.pixelsPerDb = static_cast<float>(g.bottom - g.top) / kDbRange;
  g.pixelsPerDecade = static_cast<float>(g.width / kDecadesShown);
  g.x0 = static_cast<int>(-g.pixelsPerDecade);
  return g;
}

double GraphGeometry::FrequencyOfColumn(int x) const {
  return std::pow(10.0, (x - x0) / static_cast<double>(pixelsPerDecade));
}

int GraphGeometry::ColumnOfFrequency(double hz) const {
  // log10 is undefined at and below zero; such a frequency sits at the 1 Hz column, far
  // left of anything drawn. The upper bound keeps the column within int.
  if (!(hz > 0)) hz = 1;
  hz = std::min(hz, 1e30);
  return static_cast<int>(std::log10(hz) * pixelsPerDecade + 0.5) + x0;
}

int GraphGeometry::RowOfGain(int gainTenths) const {
  const float fromBottom =
      (static_cast<float>(gainTenths) / 10.0f + static_cast<float>(kAxisDbLimit)) * pixelsPerDb;
  return static_cast<int>(static_cast<float>(bottom) - fromBottom);
}

}  // namespace tavelo
