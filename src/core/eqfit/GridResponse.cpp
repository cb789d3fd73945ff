// Section magnitudes from sin^2(w / 2), the form the graph uses: precise near DC and free
// of trigonometry per evaluation, which a fit performs thousands of times.
#include "core/eqfit/GridResponse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tavelo {
namespace {

constexpr double kSampleRate = 48000.0;
// The graph's limits of one band's squared magnitude, +-200 dB.
constexpr double kPowerFloor = 1e-20;
constexpr double kPowerCeiling = 1e20;

// |c0 + c1 e^-jw + c2 e^-2jw|^2 = (c0 + c1 + c2)^2 - 4 c1 (c0 + c2) phi - 16 c0 c2 phi (1 - phi)
double Power(double c0, double c1, double c2, double phi, double phiCo) {
  const double sum = c0 + c1 + c2;
  return sum * sum - 4 * c1 * (c0 + c2) * phi - 16 * c0 * c2 * phiCo;
}

}  // namespace

GridResponse::GridResponse(const std::vector<double>& hz) {
  phi_.reserve(hz.size());
  phiCo_.reserve(hz.size());
  for (double f : hz) {
    const double s = std::sin(std::numbers::pi * f / kSampleRate);
    phi_.push_back(s * s);
    phiCo_.push_back(s * s * (1 - s * s));
  }
}

void GridResponse::SectionsDb(const Biquad* sections, int count, double* out) const {
  for (std::size_t i = 0; i < phi_.size(); ++i) {
    double p = 1;
    for (int k = 0; k < count; ++k) {
      const Biquad& s = sections[k];
      p *=
          Power(s.b0, s.b1, s.b2, phi_[i], phiCo_[i]) / Power(s.a0, s.a1, s.a2, phi_[i], phiCo_[i]);
    }
    p = p > kPowerFloor ? p : kPowerFloor;  // NaN lands on the floor, as on the graph
    p = std::min(p, kPowerCeiling);
    out[i] = 10.0 * std::log10(p);
  }
}

void GridResponse::BandDb(const EqBand& band, double* out) const {
  std::array<Biquad, 2> sections;
  const int count = EqResponse::DesignBand(band, sections);
  if (count == 0) {
    std::fill(out, out + phi_.size(), 0.0);
    return;
  }
  SectionsDb(sections.data(), count, out);
}

void GridResponse::PeakOrShelfDb(int type, double hz, double q, double gainDb, double* out) const {
  const Biquad s = EqResponse::DesignPeakOrShelf(type, hz, q, gainDb);
  SectionsDb(&s, 1, out);
}

std::vector<double> GridResponse::SumDb(const std::vector<EqBand>& bands) const {
  std::vector<double> sum(phi_.size(), 0.0), one(phi_.size());
  for (const EqBand& band : bands) {
    BandDb(band, one.data());
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += one[i];
  }
  return sum;
}

}  // namespace tavelo
