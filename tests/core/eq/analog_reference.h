#pragma once
// An independent model of a band's response for the tests: the analogue prototype of
// each band evaluated on the frequency axis that the bilinear transform (prewarped at the
// band's frequency) maps onto the digital one, Omega = tan(pi f / fs) / tan(pi f0 / fs).
// Butterworth and Bessel responses come from their defining polynomials, not from a table
// of section constants.
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "core/params/EqBand.h"

namespace tavelo::testing {

inline constexpr double kReferenceRate = 48000.0;

// Coefficients a[0..n] of the reverse Bessel polynomial of order n (a[k] multiplies s^k).
inline std::vector<double> ReverseBesselPolynomial(int n) {
  std::vector<double> a(n + 1);
  for (int k = 0; k <= n; ++k) {
    // (2n - k)! / (2^(n - k) k! (n - k)!)
    double v = std::tgamma(2.0 * n - k + 1) /
               (std::pow(2.0, n - k) * std::tgamma(k + 1.0) * std::tgamma(n - k + 1.0));
    a[k] = std::round(v);
  }
  return a;
}

inline std::complex<double> Evaluate(const std::vector<double>& a, std::complex<double> s) {
  std::complex<double> r = 0;
  for (int k = static_cast<int>(a.size()) - 1; k >= 0; --k) r = r * s + a[k];
  return r;
}

// |H|^2 of the order-n Bessel low-pass scaled to be 3 dB down at Omega = 1.
inline double BesselLowPassPower(int n, double omega) {
  const auto a = ReverseBesselPolynomial(n);
  auto power = [&](double w) { return std::norm(a[0] / Evaluate(a, {0, w})); };
  // Frequency at which the unscaled filter is 3 dB down, found once per order.
  static double scale[8] = {};
  if (scale[n] == 0) {
    double lo = 0.1, hi = 10;
    for (int i = 0; i < 200; ++i) {
      const double mid = 0.5 * (lo + hi);
      (power(mid) > 0.5 ? lo : hi) = mid;
    }
    scale[n] = lo;
  }
  return power(omega * scale[n]);
}

inline double ButterworthLowPassPower(int n, double omega) {
  return 1.0 / (1.0 + std::pow(omega, 2.0 * n));
}

// Prototype low-pass power for a slope code; a high-pass is the same at 1 / Omega.
inline double PassPrototypePower(int slope, double omega) {
  switch (slope) {
    case kSlopeBessel12:
      return BesselLowPassPower(2, omega);
    case kSlopeButter12:
      return ButterworthLowPassPower(2, omega);
    case kSlopeBessel18:
      return BesselLowPassPower(3, omega);
    case kSlopeButter18:
      return ButterworthLowPassPower(3, omega);
    case kSlopeBessel24:
      return BesselLowPassPower(4, omega);
    case kSlopeButter24:
      return ButterworthLowPassPower(4, omega);
    case kSlopeLinkwitzRiley24: {
      const double b = ButterworthLowPassPower(2, omega);
      return b * b;
    }
    default:
      return 1.0;
  }
}

inline double WarpedOmega(double hz, double bandHz) {
  constexpr double pi = std::numbers::pi;
  return std::tan(pi * hz / kReferenceRate) / std::tan(pi * bandHz / kReferenceRate);
}

// Response in dB of a band with valid values (pages' ranges) at `hz` below 24 kHz.
inline double ReferenceResponseDb(const EqBand& band, double hz) {
  const double omega = WarpedOmega(hz, band.freq);
  const std::complex<double> s(0, omega);
  const double gainDb = band.gain / 10.0;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double q = band.q / 10.0;
  std::complex<double> h = 1;
  switch (band.type) {
    case kBandPeak:
      // Bell: boost A^2 at the centre, bandwidth set by Q.
      h = (s * s + s * (a / q) + 1.0) / (s * s + s / (a * q) + 1.0);
      break;
    case kBandLowShelf:
      h = a * (s * s + s * (std::sqrt(a) / q) + a) / (a * s * s + s * (std::sqrt(a) / q) + 1.0);
      break;
    case kBandHighShelf:
      h = a * (a * s * s + s * (std::sqrt(a) / q) + 1.0) / (s * s + s * (std::sqrt(a) / q) + a);
      break;
    case kBandLowPass:
      return 10 * std::log10(PassPrototypePower(band.slope, omega));
    case kBandHighPass:
      return 10 * std::log10(PassPrototypePower(band.slope, 1.0 / omega));
    default:
      break;
  }
  if (gainDb == 0) return 0;
  return 20 * std::log10(std::abs(h));
}

}  // namespace tavelo::testing
