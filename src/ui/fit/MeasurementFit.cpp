#include "ui/fit/MeasurementFit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/eq/FilterText.h"
#include "core/eqfit/FitCurves.h"
#include "core/eqfit/GridResponse.h"
#include "core/presets/AtomicFile.h"
#include "core/text/Escaped.h"
#include "core/text/FitTexts.h"
#include "core/text/ReportTexts.h"

namespace tavelo {
namespace {

std::string Fixed(double v, int decimals, bool sign = false) {
  char text[48];
  std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, v);
  return text;
}

// The user chose the file: its name is shown as the file dialog showed it.
std::string FileName(const std::filesystem::path& path) {
  return path.filename().string();
}

}  // namespace

std::optional<ResponseCurve> MeasurementFit::Read(const std::filesystem::path& path, int minPoints,
                                                  std::string& message) const {
  const std::string name = FileName(path);
  const ReadResult read = ReadWholeFile(path, kMaxMeasurementBytes);
  if (!read.ok) {
    message = read.tooLarge ? SayFit(FitText::kFileTooLarge, lang_, {name})
                            : SayFit(FitText::kFileUnreadable, lang_, {name, read.message});
    return std::nullopt;
  }
  const MeasurementReading reading = ReadMeasurement(
      std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
      minPoints, lang_);
  if (!reading.curve) {
    message = SayFit(FitText::kFileRefused, lang_, {name, reading.error});
    return std::nullopt;
  }
  message = reading.pointsOutside > 0 ? name + ": " +
                                            SayFit(FitText::kPointsLeftOut, lang_,
                                                   {std::to_string(reading.pointsOutside)})
                                      : std::string();
  return reading.curve;
}

std::string MeasurementFit::AddMeasurement(const std::filesystem::path& path) {
  std::string message;
  auto curve = Read(path, kMinMeasurementPoints, message);
  if (curve) {
    measurements_.push_back(std::move(*curve));
    names_.push_back(FileName(path));
  }
  return message;
}

std::string MeasurementFit::SetTarget(const std::filesystem::path& path) {
  std::string message;
  // A house curve may be as short as two points.
  auto curve = Read(path, 2, message);
  if (curve) {
    target_ = std::move(*curve);
    targetName_ = FileName(path);
  }
  return message;
}

void MeasurementFit::ClearMeasurements() {
  measurements_.clear();
  names_.clear();
}

void MeasurementFit::ClearTarget() {
  target_.reset();
  targetName_.clear();
}

std::optional<FitSettings> MeasurementFit::ReadFields(const FitFields& fields,
                                                      std::string& error) const {
  FitSettings settings;
  struct Field {
    const std::string& text;
    FitText caption;
    double& into;
  };
  const Field all[] = {{fields.rangeLow, FitText::kFitRange, settings.fitLowHz},
                       {fields.rangeHigh, FitText::kFitRange, settings.fitHighHz},
                       {fields.alignLow, FitText::kAlignBand, settings.alignLowHz},
                       {fields.alignHigh, FitText::kAlignBand, settings.alignHighHz},
                       {fields.maxBoost, FitText::kMaxBoost, settings.maxBoostDb}};
  for (const Field& f : all) {
    const auto value = ParseLocaleNumber(f.text);
    if (!value) {
      error = SayFit(FitText::kNeedsNumber, lang_,
                     {Text(f.caption, lang_), "\"" + ShownArgument(f.text) + "\""});
      return std::nullopt;
    }
    f.into = *value;
  }
  const double highest = kBandGainLimit / 10.0;
  if (settings.maxBoostDb < 0 || settings.maxBoostDb > highest) {
    error = SayFit(FitText::kBoostOutOfRange, lang_, {Fixed(highest, 0)});
    return std::nullopt;
  }
  return settings;
}

std::optional<FitJob> MeasurementFit::Prepare(const FitFields& fields, int bands,
                                              std::string& error) const {
  if (measurements_.empty()) {
    error = Text(FitText::kNoMeasurementYet, lang_);
    return std::nullopt;
  }
  const auto settings = ReadFields(fields, error);
  if (!settings) return std::nullopt;
  std::string why;
  auto curves =
      PrepareFitCurves(measurements_, target_ ? &*target_ : nullptr, *settings, why, lang_);
  if (!curves) {
    error = SayFit(FitText::kNothingFitted, lang_, {why});
    return std::nullopt;
  }
  FitJob job;
  job.curves = std::move(*curves);
  job.settings = *settings;
  job.limits = LimitsOfBands(bands, *settings);
  job.measurements = static_cast<int>(measurements_.size());
  job.lang = lang_;
  return job;
}

FitOutcome RunFit(FitJob job) {
  FitOutcome outcome;
  outcome.fit = FitEq(job.curves, job.limits, job.lang);
  outcome.job = std::move(job);
  return outcome;
}

std::string FitSummary(const FitOutcome& outcome) {
  const FitCurves& c = outcome.job.curves;
  const EqFitResult& fit = outcome.fit;
  const Lang lang = outcome.job.lang;
  std::string out =
      SayFit(FitText::kSummary, lang,
             {std::to_string(fit.bands.size()), std::to_string(outcome.job.measurements),
              Fixed(c.hz[static_cast<std::size_t>(c.fitBegin)], 0),
              Fixed(c.hz[static_cast<std::size_t>(c.fitEnd - 1)], 0),
              std::to_string(c.fitEnd - c.fitBegin), Fixed(outcome.job.settings.maxBoostDb, 1)});
  for (const auto& note : c.notes) out += "\n" + SayFit(FitText::kNote, lang, {note});
  out += "\n" +
         SayFit(FitText::kErrorBefore, lang, {Fixed(fit.rmsBefore, 2), Fixed(fit.maxBefore, 2)});
  out +=
      "\n" + SayFit(FitText::kErrorAfter, lang, {Fixed(fit.rmsAfter, 2), Fixed(fit.maxAfter, 2)});
  for (std::size_t b = 0; b < fit.bands.size(); ++b) {
    const EqBand& band = fit.bands[b].band;
    const std::string number = std::to_string(b + 1);
    out += "\n" + (band.gain == 0 ? SayFit(FitText::kBandFlat, lang, {number})
                                  : SayFit(FitText::kBandLine, lang,
                                           {number, std::string(ShownBandType(band.type, lang)),
                                            std::to_string(band.freq), Fixed(band.q / 10.0, 1),
                                            Fixed(band.gain / 10.0, 1, true)}));
  }
  for (std::size_t b = 0; b < fit.bands.size(); ++b) {
    std::string held;
    for (const auto& why : fit.bands[b].atLimit) held += (held.empty() ? "" : ", ") + why;
    if (!held.empty())
      out += "\n" + SayFit(FitText::kBandHeld, lang, {std::to_string(b + 1), held});
  }
  return out;
}

std::vector<EqBand> FittedBands(const FitOutcome& outcome, const EqBand* current) {
  std::vector<EqBand> bands;
  for (std::size_t b = 0; b < outcome.fit.bands.size(); ++b) {
    EqBand band = current != nullptr ? current[b] : EqBand{};
    const EqBand& fitted = outcome.fit.bands[b].band;
    band.type = fitted.type;
    band.freq = fitted.freq;
    band.q = fitted.q;
    band.gain = fitted.gain;
    bands.push_back(band);
  }
  return bands;
}

FitPreview PreviewOf(const FitOutcome& outcome, const GraphGeometry& geometry) {
  const FitCurves& c = outcome.job.curves;
  const std::size_t lo = static_cast<std::size_t>(c.fitBegin);
  const std::size_t hi = static_cast<std::size_t>(c.fitEnd);
  double level = 0;
  for (std::size_t i = lo; i < hi; ++i) level += c.target[i];
  level /= static_cast<double>(std::max<std::size_t>(hi - lo, 1));

  ResponseCurve measured, target, predicted;
  for (std::size_t i = lo; i < hi; ++i) {
    for (ResponseCurve* curve : {&measured, &target, &predicted}) curve->hz.push_back(c.hz[i]);
    measured.db.push_back(c.measured[i] - level);
    target.db.push_back(c.target[i] - level);
    predicted.db.push_back(c.measured[i] + outcome.fit.eqDb[i] - level);
  }
  const int columns = std::min(geometry.width, EqResponse::kMaxColumns);
  const float none = std::numeric_limits<float>::quiet_NaN();
  FitPreview preview;
  for (auto* column : {&preview.measured, &preview.target, &preview.predicted})
    column->assign(static_cast<std::size_t>(std::max(columns, 0)), none);
  if (hi <= lo) return preview;
  for (int x = geometry.xStart; x < columns; ++x) {
    const double hz = geometry.FrequencyOfColumn(x);
    if (hz < c.hz[lo] || hz > c.hz[hi - 1]) continue;
    const auto at = static_cast<std::size_t>(x);
    preview.measured[at] = static_cast<float>(InterpolateDb(measured, hz) * geometry.pixelsPerDb);
    preview.target[at] = static_cast<float>(InterpolateDb(target, hz) * geometry.pixelsPerDb);
    preview.predicted[at] = static_cast<float>(InterpolateDb(predicted, hz) * geometry.pixelsPerDb);
  }
  return preview;
}

}  // namespace tavelo
