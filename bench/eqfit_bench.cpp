// Fitting a set to a room: seven bands on a 1/48-octave measurement (about 480 points from
// 20 Hz to 20 kHz), the whole fit from the prepared curves to the rounded bands. The error
// reached is reported beside the time, as counters.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/eqfit/EqFit.h"
#include "core/eqfit/GridResponse.h"

namespace {

using namespace tavelo;

EqBand Peak(int hz, double q, double gainDb) {
  EqBand b;
  b.type = kBandPeak;
  b.freq = static_cast<std::int16_t>(hz);
  b.q = static_cast<std::int16_t>(std::lround(q * 10));
  b.gain = static_cast<std::int16_t>(std::lround(gainDb * 10));
  return b;
}

// Seven room modes and dips plus +-0.4 dB of noise.
ResponseCurve Room() {
  const std::vector<EqBand> room = {
      Peak(35, 5.0, 9.0),    Peak(55, 4.0, 6.5),   Peak(90, 3.0, -2.5),  Peak(140, 5.0, 5.0),
      Peak(3800, 2.0, -2.0), Peak(7000, 1.5, 4.0), Peak(12000, 3.0, 3.0)};
  ResponseCurve curve;
  for (double hz = 20.0; hz <= 20000.0; hz *= std::exp2(1.0 / 48)) curve.hz.push_back(hz);
  const std::vector<double> eq = GridResponse(curve.hz).SumDb(room);
  std::mt19937 rng(7);
  for (std::size_t i = 0; i < curve.hz.size(); ++i) {
    const double unit = static_cast<double>(rng()) / 4294967295.0;
    curve.db.push_back(75 + eq[i] + 0.4 * (2 * unit - 1));
  }
  return curve;
}

void BM_FitSevenBandsOn480Points(benchmark::State& state) {
  std::string error;
  const FitSettings settings;
  const auto curves = PrepareFitCurves({Room()}, nullptr, settings, error);
  if (!curves) {
    state.SkipWithError(error.c_str());
    return;
  }
  const FitLimits limits = LimitsOfSet(kEqMusic, settings);
  EqFitResult fit;
  for (auto _ : state) {
    fit = FitEq(*curves, limits);
    benchmark::DoNotOptimize(fit.eqDb.data());
  }
  state.counters["points"] = static_cast<double>(curves->fitEnd - curves->fitBegin);
  state.counters["rms_before_db"] = fit.rmsBefore;
  state.counters["rms_after_db"] = fit.rmsAfter;
  state.counters["max_after_db"] = fit.maxAfter;
  state.counters["evaluations"] = fit.evaluations;
}
BENCHMARK(BM_FitSevenBandsOn480Points)->Unit(benchmark::kMillisecond);

}  // namespace
