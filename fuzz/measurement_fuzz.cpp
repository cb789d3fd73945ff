// Arbitrary bytes as a room measurement (eq-fit). Whatever the file holds: the reader never
// fails, quotes nothing from the file raw into its refusal, and a curve it accepts is finite,
// rising and inside 20 Hz to 20 kHz; a short fit on an accepted curve keeps every band in the
// processor's ranges.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/eqfit/EqFit.h"
#include "core/eqfit/Measurement.h"

namespace {

using namespace tavelo;

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MeasurementReading reading =
      ReadMeasurement(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char c : reading.error) Check(static_cast<unsigned char>(c) >= 0x20);
  if (!reading.curve) return 0;
  const ResponseCurve& curve = *reading.curve;
  Check(curve.hz.size() == curve.db.size());
  for (std::size_t i = 0; i < curve.hz.size(); ++i) {
    Check(std::isfinite(curve.db[i]));
    Check(curve.hz[i] >= kFitLowestHz && curve.hz[i] <= kFitHighestHz);
    Check(i == 0 || curve.hz[i] > curve.hz[i - 1]);
  }
  FitSettings settings;
  settings.pointsPerOctave = 6;  // a coarse grid keeps each run short
  std::string error;
  const auto curves = PrepareFitCurves({curve}, nullptr, settings, error);
  if (!curves) return 0;
  const FitLimits limits = LimitsOfSet(kEqSubFirst, settings);
  const EqFitResult fit = FitEq(*curves, limits);
  for (const auto& fitted : fit.bands) {
    const EqBand& b = fitted.band;
    Check(b.freq >= limits.minHz && b.freq <= limits.maxHz);
    Check(b.q >= limits.minQ && b.q <= limits.maxQ);
    Check(b.gain >= limits.minGain && b.gain <= limits.maxGain);
  }
  Check(std::isfinite(fit.rmsAfter));
  return 0;
}
