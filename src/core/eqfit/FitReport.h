#pragma once
// What a fit reports: the error before and after over the fit range, each band as the edit
// that sets it, and the bands the processor's limits held; as text for a terminal and as
// JSON with the curves (measured, target, equaliser, predicted) on the fit's grid.
#include <string>
#include <vector>

#include "core/eqfit/EqFit.h"
#include "core/params/ParamImage.h"

namespace tavelo {

struct FitReportInput {
  EqSet set = kEqMusic;
  int measurements = 1;
  const FitSettings* settings = nullptr;
  const FitCurves* curves = nullptr;
  const EqFitResult* fit = nullptr;
};

// "music_eq.band0=peak,35,5.0,-9.0": the edits `set` and `eq-import` send, in band order.
std::vector<std::string> FitEditWords(EqSet set, const EqFitResult& fit);

std::string FitReportText(const FitReportInput& input);
std::string FitReportJson(const FitReportInput& input);

}  // namespace tavelo
