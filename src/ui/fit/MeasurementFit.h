#pragma once
// "Fit to measurement..." of the EQ pages without its widgets: the measurement files and
// the house curve the user chose, the settings typed into the dialog, the fit itself (a
// value job that a worker thread can run), its report in the user's language, the bands it
// gives the page, and the measured, target and predicted curves for the page's graph.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/eq/EqResponse.h"
#include "core/eqfit/EqFit.h"
#include "core/text/Lang.h"

namespace tavelo {

// What the dialog's fields hold, as typed.
struct FitFields {
  std::string rangeLow = "20", rangeHigh = "20000";
  std::string alignLow = "200", alignHigh = "2000";
  std::string maxBoost = "3";
};

// Everything a fit needs, by value: it runs away from the window's thread.
struct FitJob {
  FitCurves curves;
  FitLimits limits;
  FitSettings settings;
  int measurements = 0;
  Lang lang = Lang::kEnglish;
};

struct FitOutcome {
  FitJob job;
  EqFitResult fit;
};

FitOutcome RunFit(FitJob job);

class MeasurementFit {
 public:
  explicit MeasurementFit(Lang lang) : lang_(lang) {}

  // Reads a measurement (or the house curve) and keeps it. Returns what the user should
  // read: why the file was refused, naming the file and the line, or a note on points left
  // out; "" when it was taken without remark. A refused file leaves the list as it was.
  std::string AddMeasurement(const std::filesystem::path& path);
  std::string SetTarget(const std::filesystem::path& path);
  void ClearMeasurements();
  void ClearTarget();

  const std::vector<std::string>& MeasurementNames() const { return names_; }
  const std::string& TargetName() const { return targetName_; }  // "" = flat

  // The fields read into settings; nullopt and `error` (in words for the user) when one
  // cannot be used.
  std::optional<FitSettings> ReadFields(const FitFields& fields, std::string& error) const;
  // The curves prepared for a fit of `bands` bands; nullopt and `error` when they cannot be.
  std::optional<FitJob> Prepare(const FitFields& fields, int bands, std::string& error) const;

 private:
  std::optional<ResponseCurve> Read(const std::filesystem::path& path, int minPoints,
                                    std::string& message) const;

  Lang lang_;
  std::vector<ResponseCurve> measurements_;
  std::vector<std::string> names_;
  std::optional<ResponseCurve> target_;
  std::string targetName_;
};

// The report: error before and after, each band, the limits that held bands.
std::string FitSummary(const FitOutcome& outcome);

// The page's first bands as the fit sets them; the fields a fit does not choose (the slope)
// stay as `current` has them.
std::vector<EqBand> FittedBands(const FitOutcome& outcome, const EqBand* current);

// The curves for the page's graph, in pixels above the 0 dB row per column (NaN where the
// fit's grid does not reach), the target's level over the fit range put on the 0 dB row.
struct FitPreview {
  std::vector<float> measured, target, predicted;
};
FitPreview PreviewOf(const FitOutcome& outcome, const GraphGeometry& geometry);

}  // namespace tavelo
