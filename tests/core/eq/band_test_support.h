#pragma once
// Shared helpers of the response tests: band construction, random valid bands and the
// direct (trigonometry per section and column) evaluation the tabled curves must match.
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "core/eq/EqResponse.h"

namespace tavelo::testing {

inline EqBand MakeBand(int type, int freq, int q, int gain, int slope = 0) {
  EqBand b;
  b.type = static_cast<std::int8_t>(type);
  b.freq = static_cast<std::int16_t>(freq);
  b.q = static_cast<std::int16_t>(q);
  b.gain = static_cast<std::int16_t>(gain);
  b.slope = static_cast<std::int8_t>(slope);
  return b;
}

// A band a page could hold: frequency 20..20000, Q within its type's range, +-24 dB.
inline EqBand RandomValidBand(std::mt19937& rng, int type) {
  std::uniform_real_distribution<double> logFreq(std::log10(20.0), std::log10(20000.0));
  const int maxQ = (type == kBandLowShelf || type == kBandHighShelf) ? 20 : 999;
  std::uniform_int_distribution<int> q(4, maxQ);
  std::uniform_int_distribution<int> gain(-240, 240);
  std::uniform_int_distribution<int> slope(1, kSlopeCount - 1);
  return MakeBand(type, static_cast<int>(std::pow(10.0, logFreq(rng))), q(rng), gain(rng),
                  slope(rng));
}

// The band's response at `hz`, section by section, straight from the biquad formulas.
inline double DirectResponseDb(const EqBand& band, double hz) {
  std::array<Biquad, 2> sections;
  const int count = EqResponse::DesignBand(band, sections);
  const float omega = static_cast<float>(hz / 48000.0 * 2.0 * std::numbers::pi);
  double db = 0;
  for (int i = 0; i < count; ++i)
    db += 20 * std::log10(EqResponse::SectionMagnitude(omega, sections[i]));
  return db;
}

// A geometry with one pixel per dB whose column 600 stands for exactly 1000 Hz.
inline GraphGeometry ExactKiloHertzGeometry() {
  GraphGeometry g;
  g.width = 1000;
  g.xStart = 50;
  g.x0 = -300;
  g.pixelsPerDecade = 300;
  g.pixelsPerDb = 1;
  return g;
}
inline constexpr int kKiloHertzColumn = 600;

}  // namespace tavelo::testing
