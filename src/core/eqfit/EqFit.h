#pragma once
// Fitting an equaliser set to a measured room: the set's bands, within what the processor can
// do (its band count, band types, frequency, Q and gain ranges and steps, and a maximum
// boost), chosen so the measurement plus the equaliser comes as close to the target as it can.
//
// A start is placed one band at a time, each a peak on the largest deviation or a shelf on a
// broad rise or tilt, whichever lowers the error most, boosts kept within the headroom the
// bands before it leave; all bands are then refined together by bounded non-linear least
// squares over the fit range of the grid (NLopt's L-BFGS with bound constraints, on log
// frequency, log Q and gain, the types kept), rounded to the processor's steps, and nudged
// step by step where the rounding cost accuracy. A fit that took a shelf is compared with
// the peaks' own, and the better kept.
#include <string>
#include <vector>

#include "core/eqfit/FitCurves.h"
#include "core/params/EqBand.h"
#include "core/params/ParamImage.h"
#include "core/text/Lang.h"

namespace tavelo {

// What the bands of one set may hold, in the band record's own units (hertz, tenths of Q,
// tenths of a dB); the steps are one unit of each.
struct FitLimits {
  int bands = 0;
  std::vector<BandType> types;  // the types the fit may choose (a shelf's Q stays within
                                // BandMaxQ as well as maxQ)
  int minHz = kBandMinFrequency, maxHz = kBandMaxFrequency;
  int minQ = kBandMinQ, maxQ = BandMaxQ(kBandPeak);
  int minGain = -kBandGainLimit, maxGain = kBandGainLimit;
};

// The limits of `set`'s bands that travel to the processor, with `maxBoostDb` as the highest
// gain (rounded down to the gain step) and the frequencies kept within the fit range.
FitLimits LimitsOfSet(EqSet set, const FitSettings& settings);
// The same for an array of `bands` equaliser bands of the usual ranges (a boost channel).
FitLimits LimitsOfBands(int bands, const FitSettings& settings);

struct FitBandResult {
  EqBand band{};
  std::vector<std::string> atLimit;  // "gain at the +3.0 dB boost limit"
};

struct EqFitResult {
  std::vector<FitBandResult> bands;
  std::vector<double> eqDb;             // the rounded bands' sum on the grid
  double rmsBefore = 0, maxBefore = 0;  // |measured - target| over the fit range, dB
  double rmsAfter = 0, maxAfter = 0;    // |measured + eq - target|
  int evaluations = 0;                  // objective evaluations of the refinement
};

// The limits a band reached are worded in `lang`.
EqFitResult FitEq(const FitCurves& curves, const FitLimits& limits, Lang lang = Lang::kEnglish);

// The limits `band` sits at, in words ("gain at the +3.0 dB boost limit").
std::vector<std::string> LimitsHit(const EqBand& band, const FitLimits& limits, Lang lang);

// RMS and largest absolute value of measured + eq - target over the fit range.
struct FitError {
  double rms = 0, max = 0;
};
FitError ErrorOf(const FitCurves& curves, const std::vector<double>& eqDb);

}  // namespace tavelo
