// Resampling, level alignment and averaging of measured responses.
#include "core/eqfit/FitCurves.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/text/FitTexts.h"

namespace tavelo {
namespace {

std::string Hz(double hz) {
  char text[32];
  if (hz >= 1000) {
    std::snprintf(text, sizeof text, "%.3g kHz", hz / 1000);
  } else {
    std::snprintf(text, sizeof text, "%.4g Hz", hz);
  }
  return text;
}

// The mean of the points within half a grid step either side of `hz`; where a sparse
// measurement has none, the interpolated value. Averaging keeps a dense linear-spaced
// export from handing the fit single noisy points at high frequencies.
double ResampledDb(const ResponseCurve& curve, double hz, double halfStep) {
  const double lo = hz / halfStep, hi = hz * halfStep;
  auto it = std::lower_bound(curve.hz.begin(), curve.hz.end(), lo);
  double sum = 0;
  int count = 0;
  for (; it != curve.hz.end() && *it < hi; ++it) {
    sum += curve.db[static_cast<std::size_t>(it - curve.hz.begin())];
    ++count;
  }
  return count > 0 ? sum / count : InterpolateDb(curve, hz);
}

}  // namespace

double InterpolateDb(const ResponseCurve& curve, double hz) {
  if (curve.hz.empty()) return 0;
  if (hz <= curve.hz.front()) return curve.db.front();
  if (hz >= curve.hz.back()) return curve.db.back();
  const auto upper = std::upper_bound(curve.hz.begin(), curve.hz.end(), hz);
  const std::size_t i = static_cast<std::size_t>(upper - curve.hz.begin());
  const double x0 = std::log(curve.hz[i - 1]), x1 = std::log(curve.hz[i]);
  const double t = (std::log(hz) - x0) / (x1 - x0);
  return curve.db[i - 1] + t * (curve.db[i] - curve.db[i - 1]);
}

std::optional<FitCurves> PrepareFitCurves(const std::vector<ResponseCurve>& measurements,
                                          const ResponseCurve* target, const FitSettings& settings,
                                          std::string& error, Lang lang) {
  const FitSettings& s = settings;
  if (measurements.empty()) {
    error = Text(FitText::kNoMeasurement, lang);
    return std::nullopt;
  }
  if (!(s.fitLowHz >= kFitLowestHz && s.fitHighHz <= kFitHighestHz && s.fitHighHz > s.fitLowHz)) {
    error = SayFit(FitText::kBadFitRange, lang, {Hz(s.fitLowHz), Hz(s.fitHighHz)});
    return std::nullopt;
  }
  if (!(s.alignLowHz > 0 && s.alignHighHz > s.alignLowHz)) {
    error = SayFit(FitText::kBadAlignBand, lang, {Hz(s.alignLowHz), Hz(s.alignHighHz)});
    return std::nullopt;
  }
  if (s.pointsPerOctave < 1 || s.pointsPerOctave > 192) {
    error = Text(FitText::kBadGrid, lang);
    return std::nullopt;
  }
  // Every measurement covers the grid: the range all of them share.
  double coveredLow = 0, coveredHigh = 1e300;
  for (const auto& m : measurements) {
    if (m.hz.size() < 2) {
      error = Text(FitText::kShortCurve, lang);
      return std::nullopt;
    }
    coveredLow = std::max(coveredLow, m.hz.front());
    coveredHigh = std::min(coveredHigh, m.hz.back());
  }
  if (!(s.alignLowHz < coveredHigh && s.alignHighHz > coveredLow)) {
    error = SayFit(FitText::kMissesAlign, lang,
                   {Hz(coveredLow), Hz(coveredHigh), Hz(s.alignLowHz), Hz(s.alignHighHz)});
    return std::nullopt;
  }
  const double low = std::max(coveredLow, std::min(s.fitLowHz, s.alignLowHz));
  const double high = std::min(coveredHigh, std::max(s.fitHighHz, s.alignHighHz));
  const double step = std::exp2(1.0 / s.pointsPerOctave);
  const double halfStep = std::exp2(0.5 / s.pointsPerOctave);

  FitCurves curves;
  for (double hz = low; hz <= high * (1 + 1e-12); hz *= step) curves.hz.push_back(hz);
  const std::size_t n = curves.hz.size();
  curves.target.resize(n, 0.0);
  if (target != nullptr) {
    for (std::size_t i = 0; i < n; ++i) curves.target[i] = InterpolateDb(*target, curves.hz[i]);
  }
  curves.measured.assign(n, 0.0);
  std::vector<double> one(n);
  for (const auto& m : measurements) {
    double offset = 0;
    int inBand = 0;
    for (std::size_t i = 0; i < n; ++i) {
      one[i] = ResampledDb(m, curves.hz[i], halfStep);
      if (curves.hz[i] >= s.alignLowHz && curves.hz[i] <= s.alignHighHz) {
        offset += curves.target[i] - one[i];
        ++inBand;
      }
    }
    if (inBand == 0) {
      error = SayFit(FitText::kNoAlignPoint, lang, {Hz(s.alignLowHz), Hz(s.alignHighHz)});
      return std::nullopt;
    }
    offset /= inBand;
    for (std::size_t i = 0; i < n; ++i) {
      curves.measured[i] += (one[i] + offset) / static_cast<double>(measurements.size());
    }
  }
  curves.fitBegin = static_cast<int>(
      std::lower_bound(curves.hz.begin(), curves.hz.end(), s.fitLowHz * (1 - 1e-12)) -
      curves.hz.begin());
  curves.fitEnd = static_cast<int>(
      std::upper_bound(curves.hz.begin(), curves.hz.end(), s.fitHighHz * (1 + 1e-12)) -
      curves.hz.begin());
  if (curves.fitEnd - curves.fitBegin < kMinMeasurementPoints) {
    error = SayFit(FitText::kMissesRange, lang,
                   {Hz(coveredLow), Hz(coveredHigh), Hz(s.fitLowHz), Hz(s.fitHighHz)});
    return std::nullopt;
  }
  if (coveredLow > s.fitLowHz * step || coveredHigh < s.fitHighHz / step) {
    curves.notes.push_back(SayFit(FitText::kRangeNarrowed, lang,
                                  {Hz(curves.hz[static_cast<std::size_t>(curves.fitBegin)]),
                                   Hz(curves.hz[static_cast<std::size_t>(curves.fitEnd - 1)])}));
  }
  return curves;
}

}  // namespace tavelo
