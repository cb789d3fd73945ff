#pragma once
// The equaliser response computation of a graph: biquad design for every band type and
// slope at 48 kHz, magnitude per pixel column, and the sums a page draws. The drawing
// itself lives in the panel; this class is pure arithmetic.
#include <array>
#include <cstdint>

#include "core/params/EqBand.h"

namespace tavelo {

struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0;
  double a0 = 1, a1 = 0, a2 = 0;
};

// Graph geometry of every page: W is the client width (at most 2048).
struct GraphGeometry {
  int width = 1000;  // one past the last column
  int xStart = 50;   // first computed column, left edge of the plot
  int top = 30;      // +24 dB row
  int bottom = 250;  // -24 dB row
  int x0 = 0;
  float pixelsPerDecade = 0;
  float pixelsPerDb = 0;

  // The geometry of a graph `width` pixels wide (10 Hz .. 25 kHz, -24 .. +24 dB).
  static GraphGeometry ForWidth(int width);
  int ZeroRow() const { return top + (bottom - top) / 2; }
  double FrequencyOfColumn(int x) const;   // 10^((x - x0) / pixelsPerDecade)
  int ColumnOfFrequency(double hz) const;  // trunc(log10 f * ppd + 0.5) + x0
  int RowOfGain(int gainTenths) const;     // trunc(bottom - (g / 10 + 24) * ppDb)
};

class EqResponse {
 public:
  static constexpr int kMaxColumns = 2048;
  using Curve = std::array<float, kMaxColumns>;

  EqResponse();
  explicit EqResponse(const GraphGeometry& geometry);

  void SetGeometry(const GraphGeometry& geometry);  // recomputes the per-column tables
  const GraphGeometry& Geometry() const { return geometry_; }

  // Number of sections (0, 1 or 2) and their coefficients; 0 = band skipped.
  static int DesignBand(const EqBand& band, std::array<Biquad, 2>& sections);
  // The one section of a peak or shelf (`type`) with unrounded values: DesignBand's own
  // formula, which the room fit varies continuously before rounding to the band's steps.
  static Biquad DesignPeakOrShelf(int type, double hz, double q, double gainDb);
  // |H(e^jw)| of one section.
  static float SectionMagnitude(float omega, const Biquad& section);

  // Writes the band's response in pixels for columns xStart..width-1; false (out
  // untouched) when the band is skipped. A band's response is limited to +-200 dB, so
  // a curve never holds NaN or infinity, whatever the band's fields.
  bool ComputeBandCurve(const EqBand& band, Curve& out) const;
  // Sum curve = sum of the bands' curves (cleared first). The scratch curve is left alone.
  void SumBandCurves(const EqBand* bands, int count);
  // Adds three more bands (tone controls) to the sum curve, without clearing it.
  void AddBandCurves(const EqBand* bands);

  const Curve& SumCurve() const { return sum_; }
  Curve& ScratchCurve() { return scratch_; }

 private:
  // Multiplies the squared magnitudes of `count` bands into power_ and adds them, in
  // pixels, to the sum curve.
  void AccumulateBands(const EqBand* bands, int count);
  void FlushPowerIntoSum(int begin, int end);

  GraphGeometry geometry_;
  Curve sum_{};
  Curve scratch_{};
  // Per-column tables that depend only on the geometry: phi = sin^2(w / 2) and
  // phi * (1 - phi), from which every section's squared magnitude is a quadratic form.
  std::array<double, kMaxColumns> phi_{}, phiCo_{};
  // Running product of the squared band magnitudes not yet added to the sum curve.
  std::array<double, kMaxColumns> power_{};
};

}  // namespace tavelo
