// Biquad design of one equaliser band at 48 kHz, as the processor runs it, and the
// direct magnitude of one section.
#include <cmath>
#include <complex>
#include <numbers>

#include "core/eq/EqResponse.h"

namespace tavelo {

namespace {

constexpr double kSampleRate = 48000.0;
constexpr double kPi = std::numbers::pi;
// 2^-23: moves the first-order pole of the 18 dB filters off the zero it shares at
// z = -1 (low-pass) or z = +1 (high-pass), so the two never coincide exactly.
constexpr double kFirstOrderPoleShift = 1.0 / 8388608.0;

// Analogue low-pass prototype section 1 / (1 + c1 p + c2 p^2); c2 = 0 is first order.
// Stored in single precision, as the processor's tables are.
struct PrototypePair {
  float c1 = 0;
  float c2 = 0;
};

struct SlopeTable {
  int sections = 0;
  PrototypePair first;
  PrototypePair second;
  bool secondCopiesFirst = false;  // Linkwitz-Riley: two identical Butterworth sections
  bool shiftFirstPole = false;     // 18 dB filters
};

// Indexed by SlopeCode. Bessel pairs are normalised to -3 dB at the corner.
constexpr SlopeTable kSlopeTables[kSlopeCount] = {
    {0, {}, {}, false, false},                                              // bypass
    {1, {1.3616542f, 0.6180340f}, {}, false, false},                        // bessel_12db
    {1, {1.4142135f, 1.0f}, {}, false, false},                              // butter_12db
    {2, {0.7560432f, 0.0f}, {0.9996292f, 0.4771914f}, false, true},         // bessel_18db
    {2, {1.0f, 0.0f}, {1.0f, 1.0f}, false, true},                           // butter_18db
    {2, {1.3396637f, 0.4889041f}, {0.7742540f, 0.3889907f}, false, false},  // bessel_24db
    {2, {1.8477590f, 1.0f}, {0.7653669f, 1.0f}, false, false},              // butter_24db
    {2, {1.4142135f, 1.0f}, {}, true, false},                               // Linkwitz-Riley
};

bool IsFinite(const Biquad& s) {
  return std::isfinite(s.b0) && std::isfinite(s.b1) && std::isfinite(s.b2) && std::isfinite(s.a0) &&
         std::isfinite(s.a1) && std::isfinite(s.a2);
}

Biquad Normalised(Biquad s) {
  const double a0 = s.a0;
  return {s.b0 / a0, s.b1 / a0, s.b2 / a0, 1.0, s.a1 / a0, s.a2 / a0};
}

}  // namespace

Biquad EqResponse::DesignPeakOrShelf(int type, double hz, double q, double gainDb) {
  const double a = std::pow(10.0, gainDb / 40.0);
  const double w0 = 2.0 * kPi * hz / kSampleRate;
  const double cs = std::cos(w0);
  const double sn = std::sin(w0);
  const double alpha = sn / (2.0 * q);
  Biquad s;
  if (type == kBandPeak) {
    s = {1 + alpha * a, -2 * cs, 1 - alpha * a, 1 + alpha / a, -2 * cs, 1 - alpha / a};
  } else {
    const double r = 2.0 * std::sqrt(a) * alpha;
    if (type == kBandLowShelf) {
      s = {a * ((a + 1) - (a - 1) * cs + r), 2 * a * ((a - 1) - (a + 1) * cs),
           a * ((a + 1) - (a - 1) * cs - r), (a + 1) + (a - 1) * cs + r,
           -2 * ((a - 1) + (a + 1) * cs),    (a + 1) + (a - 1) * cs - r};
    } else {
      s = {a * ((a + 1) + (a - 1) * cs + r), -2 * a * ((a - 1) + (a + 1) * cs),
           a * ((a + 1) + (a - 1) * cs - r), (a + 1) - (a - 1) * cs + r,
           2 * ((a - 1) - (a + 1) * cs),     (a + 1) - (a - 1) * cs - r};
    }
  }
  return Normalised(s);
}

namespace {

// One section of a pass filter: bilinear transform with the corner prewarped.
Biquad DesignPassSection(bool highPass, double hz, PrototypePair pair) {
  const double c1 = pair.c1;
  const double c2 = pair.c2;
  const double wc = 2.0 * kPi * hz;
  const double k = wc / std::tan(kPi * hz / kSampleRate);
  if (!highPass) {
    const double u = c1 * k / wc;
    const double v = c2 * k * k / (wc * wc);
    const double n = 1 + u + v;
    return {1 / n, 2 / n, 1 / n, 1, 2 * (1 - v) / n, (1 - u + v) / n};
  }
  const double k2 = k * k;
  const double n = c2 * wc * wc + c1 * wc * k + k2;
  return {k2 / n,
          -2 * k2 / n,
          k2 / n,
          1,
          2 * (c2 * wc * wc - k2) / n,
          (c2 * wc * wc - c1 * wc * k + k2) / n};
}

}  // namespace

int EqResponse::DesignBand(const EqBand& band, std::array<Biquad, 2>& sections) {
  sections = {};  // pass-through: what every flat band is drawn with
  switch (band.type) {
    case kBandPeak:
    case kBandLowShelf:
    case kBandHighShelf: {
      // A band from the processor may carry q 0 or frequency 0; the formulas would divide
      // by zero, so it is drawn flat.
      if (band.gain == 0 || band.q <= 0 || band.freq <= 0) return 1;
      const Biquad s = DesignPeakOrShelf(band.type, band.freq, band.q / 10.0, band.gain / 10.0);
      if (IsFinite(s)) sections[0] = s;
      return 1;
    }
    case kBandLowPass:
    case kBandHighPass: {
      if (band.slope == kSlopeBypass) return 0;
      if (band.slope < 0 || band.slope >= kSlopeCount || band.freq <= 0) return 1;
      const SlopeTable& table = kSlopeTables[band.slope];
      const bool highPass = band.type == kBandHighPass;
      std::array<Biquad, 2> designed;
      designed[0] = DesignPassSection(highPass, band.freq, table.first);
      if (table.sections == 2) {
        designed[1] = table.secondCopiesFirst
                          ? designed[0]
                          : DesignPassSection(highPass, band.freq, table.second);
      }
      if (table.shiftFirstPole) {
        double& a1 = designed[0].a1;
        a1 += a1 >= 0 ? -kFirstOrderPoleShift : kFirstOrderPoleShift;
      }
      for (int i = 0; i < table.sections; ++i) {
        if (!IsFinite(designed[i])) return 1;
      }
      sections = designed;
      return table.sections;
    }
    default:
      return 1;
  }
}

float EqResponse::SectionMagnitude(float omega, const Biquad& section) {
  const std::complex<double> z1 = std::polar(1.0, -static_cast<double>(omega));
  const std::complex<double> z2 = z1 * z1;
  const std::complex<double> n = section.b0 + section.b1 * z1 + section.b2 * z2;
  const std::complex<double> d = section.a0 + section.a1 * z1 + section.a2 * z2;
  return static_cast<float>(std::abs(n) / std::abs(d));
}

}  // namespace tavelo
