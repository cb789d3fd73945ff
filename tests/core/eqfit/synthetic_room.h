#pragma once
// Rooms made from known peaking and shelving bands plus noise, measured at 1/48 octave from 20 Hz
// to 20 kHz: the fit of their inverse is known to exist.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/eqfit/GridResponse.h"
#include "core/eqfit/Measurement.h"
#include "core/params/EqBand.h"

namespace tavelo::testing {

inline EqBand Band(BandType type, int hz, double q, double gainDb) {
  EqBand b;
  b.type = type;
  b.freq = static_cast<std::int16_t>(hz);
  b.q = static_cast<std::int16_t>(std::lround(q * 10));
  b.gain = static_cast<std::int16_t>(std::lround(gainDb * 10));
  return b;
}
inline EqBand Peak(int hz, double q, double gainDb) {
  return Band(kBandPeak, hz, q, gainDb);
}

// Level `levelDb` plus the bands' response plus uniform noise of +-`noiseDb` (fixed seed).
inline ResponseCurve SyntheticRoom(const std::vector<EqBand>& room, double noiseDb,
                                   double levelDb = 75.0, unsigned seed = 7) {
  ResponseCurve curve;
  for (double hz = 20.0; hz <= 20000.0; hz *= std::exp2(1.0 / 48)) curve.hz.push_back(hz);
  const std::vector<double> eq = GridResponse(curve.hz).SumDb(room);
  std::mt19937 rng(seed);
  for (std::size_t i = 0; i < curve.hz.size(); ++i) {
    // mt19937's output is the same everywhere; the library's distributions are not.
    const double unit = static_cast<double>(rng()) / 4294967295.0;
    curve.db.push_back(levelDb + eq[i] + noiseDb * (2 * unit - 1));
  }
  return curve;
}

}  // namespace tavelo::testing
