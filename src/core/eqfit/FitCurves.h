#pragma once
// The curves a fit works on: one or more measurements averaged on a logarithmic frequency
// grid, each first brought to the target's level over the alignment band, and the target
// (flat or a house curve) on the same grid.
#include <optional>
#include <string>
#include <vector>

#include "core/eqfit/Measurement.h"

namespace tavelo {

struct FitSettings {
  double fitLowHz = kFitLowestHz;  // where the error is measured and minimised
  double fitHighHz = kFitHighestHz;
  double alignLowHz = 200;  // where the measurement's level is matched to the target's
  double alignHighHz = 2000;
  double maxBoostDb = 3.0;  // cuts are preferred: boosting into a null wastes headroom
  int pointsPerOctave = 48;
};

struct FitCurves {
  std::vector<double> hz;        // the grid, rising by 1/pointsPerOctave octave
  std::vector<double> measured;  // dB, averaged and level-aligned
  std::vector<double> target;    // dB
  int fitBegin = 0;              // grid points [fitBegin, fitEnd) lie in the fit range
  int fitEnd = 0;
  std::vector<std::string> notes;  // what was narrowed, in words for the user
};

// `target` null: flat. Refuses (nullopt, `error` set) settings that make no range, a
// measurement that does not reach the alignment band, and a fit range with too few points.
// The error and the notes are worded in `lang`.
std::optional<FitCurves> PrepareFitCurves(const std::vector<ResponseCurve>& measurements,
                                          const ResponseCurve* target, const FitSettings& settings,
                                          std::string& error, Lang lang = Lang::kEnglish);

// The curve's value at `hz`: linear in log frequency between its points, held at its ends.
double InterpolateDb(const ResponseCurve& curve, double hz);

}  // namespace tavelo
