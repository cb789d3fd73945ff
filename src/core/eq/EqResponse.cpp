// Band and sum curves of a graph. A redraw happens on every mouse step of a drag, so
// the per-column work avoids trigonometry: everything that depends only on the column
// is tabled once per geometry, and each section's squared magnitude is a quadratic form
// in that table. Bands are multiplied as squared magnitudes and turned into decibels with
// one logarithm per column for up to kBandsPerLog bands.
#include "core/eq/EqResponse.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavelo {

namespace {

constexpr double kSampleRate = 48000.0;
constexpr double kPi = std::numbers::pi;
// Squared-magnitude limits of one band, +-200 dB: far outside the +-24 dB plot, and they
// keep log10 away from 0 and infinity whatever a band from the processor holds.
constexpr double kPowerFloor = 1e-20;
constexpr double kPowerCeiling = 1e20;
// 15 clamped bands multiply to at most 1e+-300, still a normal double.
constexpr int kBandsPerLog = 15;
// 10 * log10(p) == kDbPerLn * ln(p); the natural logarithm is the faster library call.
const double kDbPerLn = 10.0 / std::numbers::ln10;

// |c0 + c1 e^-jw + c2 e^-2jw|^2 with phi = sin^2(w / 2):
//   (c0 + c1 + c2)^2 - 4 c1 (c0 + c2) phi - 16 c0 c2 phi (1 - phi).
// Unlike the cos w / cos 2w form it keeps its precision near DC, where a high-pass
// response is the small difference of large terms.
struct PowerForm {
  double dc = 1, linear = 0, quadratic = 0;

  static PowerForm Of(double c0, double c1, double c2) {
    const double sum = c0 + c1 + c2;
    return {sum * sum, 4 * c1 * (c0 + c2), 16 * c0 * c2};
  }
  double At(double phi, double phiCo) const { return dc - linear * phi - quadratic * phiCo; }
};

// A designed band reduced to the sections that are not pass-through.
struct BandPower {
  int sections = 0;
  PowerForm num[2], den[2];
};

bool IsPassThrough(const Biquad& s) {
  return s.b0 == 1 && s.b1 == 0 && s.b2 == 0 && s.a1 == 0 && s.a2 == 0;
}

// Returns the section count of DesignBand (0 = skipped); `power` keeps only the sections
// that change anything.
int PrepareBand(const EqBand& band, BandPower& power) {
  std::array<Biquad, 2> sections;
  const int count = EqResponse::DesignBand(band, sections);
  power.sections = 0;
  for (int i = 0; i < count; ++i) {
    const Biquad& s = sections[i];
    if (IsPassThrough(s)) continue;
    power.num[power.sections] = PowerForm::Of(s.b0, s.b1, s.b2);
    power.den[power.sections] = PowerForm::Of(s.a0, s.a1, s.a2);
    ++power.sections;
  }
  return count;
}

double Clamped(double p) {
  // Written so that NaN (0/0 exactly at a shared pole and zero) lands on the floor.
  p = p > kPowerFloor ? p : kPowerFloor;
  return p < kPowerCeiling ? p : kPowerCeiling;
}

// Columns are processed in fixed blocks of straight-line code, which the compiler turns
// into vector instructions; the tables and buffers cover all kMaxColumns columns, so a
// block may run past [begin, end) without harm.
constexpr int kBlock = 4;
static_assert(EqResponse::kMaxColumns % kBlock == 0);

enum class Combine { kAssign, kMultiply };

template <int kSections, Combine kMode>
void BandPowerBlocks(const BandPower& band, const double* phi, const double* phiCo, int begin,
                     int end, double* out) {
  const PowerForm n0 = band.num[0], d0 = band.den[0], n1 = band.num[1], d1 = band.den[1];
  for (int x = begin; x < end; x += kBlock) {
    double p[kBlock];
    for (int i = 0; i < kBlock; ++i) {
      const double f = phi[x + i], g = phiCo[x + i];
      if constexpr (kSections == 1) {
        p[i] = Clamped(n0.At(f, g) / d0.At(f, g));
      } else {
        p[i] = Clamped((n0.At(f, g) * n1.At(f, g)) / (d0.At(f, g) * d1.At(f, g)));
      }
    }
    for (int i = 0; i < kBlock; ++i) {
      if constexpr (kMode == Combine::kAssign) {
        out[x + i] = p[i];
      } else {
        out[x + i] *= p[i];
      }
    }
  }
}

// out[x] = (or *=) the band's clamped squared magnitude, for every block that touches
// [begin, end).
template <Combine kMode>
void BandPowerColumns(const BandPower& band, const double* phi, const double* phiCo, int begin,
                      int end, double* out) {
  begin -= begin % kBlock;
  end += (kBlock - end % kBlock) % kBlock;
  if (band.sections == 1) {
    BandPowerBlocks<1, kMode>(band, phi, phiCo, begin, end, out);
  } else {
    BandPowerBlocks<2, kMode>(band, phi, phiCo, begin, end, out);
  }
}

}  // namespace

EqResponse::EqResponse() : EqResponse(GraphGeometry::ForWidth(1000)) {}

EqResponse::EqResponse(const GraphGeometry& geometry) {
  SetGeometry(geometry);
}

void EqResponse::SetGeometry(const GraphGeometry& geometry) {
  geometry_ = geometry;
  geometry_.width = std::clamp(geometry_.width, 0, kMaxColumns);
  geometry_.xStart = std::clamp(geometry_.xStart, 0, kMaxColumns);
  for (int x = 0; x < kMaxColumns; ++x) {
    const double hz = geometry_.FrequencyOfColumn(x);
    // Above 24 kHz the same formula mirrors the response, as the digital filter does.
    double phi = 0;
    if (std::isfinite(hz)) {
      const double s = std::sin(kPi * hz / kSampleRate);
      phi = s * s;
    }
    phi_[x] = phi;
    phiCo_[x] = phi * (1 - phi);
  }
}

bool EqResponse::ComputeBandCurve(const EqBand& band, Curve& out) const {
  BandPower bandPower;
  if (PrepareBand(band, bandPower) == 0) return false;
  const int begin = geometry_.xStart;
  const int end = std::max(begin, geometry_.width);
  if (bandPower.sections == 0) {
    std::fill(out.begin() + begin, out.begin() + end, 0.0f);
    return true;
  }
  std::array<double, kMaxColumns> power;
  BandPowerColumns<Combine::kAssign>(bandPower, phi_.data(), phiCo_.data(), begin, end,
                                     power.data());
  const double pixelsPerLn = kDbPerLn * geometry_.pixelsPerDb;
  for (int x = begin; x < end; ++x) out[x] = static_cast<float>(std::log(power[x]) * pixelsPerLn);
  return true;
}

void EqResponse::SumBandCurves(const EqBand* bands, int count) {
  sum_.fill(0.0f);
  AccumulateBands(bands, count);
}

void EqResponse::AddBandCurves(const EqBand* bands) {
  AccumulateBands(bands, 3);
}

void EqResponse::AccumulateBands(const EqBand* bands, int count) {
  if (bands == nullptr) return;
  const int begin = geometry_.xStart;
  const int end = std::max(begin, geometry_.width);
  double* power = power_.data();
  int pending = 0;
  for (int i = 0; i < count; ++i) {
    BandPower band;
    PrepareBand(bands[i], band);
    if (band.sections == 0) continue;  // skipped or flat: adds exactly 0 dB
    if (pending == 0) {
      BandPowerColumns<Combine::kAssign>(band, phi_.data(), phiCo_.data(), begin, end, power);
    } else {
      BandPowerColumns<Combine::kMultiply>(band, phi_.data(), phiCo_.data(), begin, end, power);
    }
    if (++pending == kBandsPerLog) {
      FlushPowerIntoSum(begin, end);
      pending = 0;
    }
  }
  if (pending > 0) FlushPowerIntoSum(begin, end);
}

void EqResponse::FlushPowerIntoSum(int begin, int end) {
  const double pixelsPerLn = kDbPerLn * geometry_.pixelsPerDb;
  for (int x = begin; x < end; ++x) {
    sum_[x] += static_cast<float>(std::log(power_[x]) * pixelsPerLn);
  }
}

}  // namespace tavelo
