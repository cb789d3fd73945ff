// The fit's report in words and in JSON.
#include "core/eqfit/FitReport.h"

#include <cstdio>

#include "core/eq/BandSyntax.h"
#include "core/params/Catalogue.h"
#include "core/presets/ParamFields.h"

namespace tavelo {
namespace {

std::string Fixed(double v, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string BandName(EqSet set, std::size_t band) {
  return std::string(RowOf(BandRow(set, static_cast<int>(band))).name);
}

std::string JsonNumbers(const std::vector<double>& values, int begin, int end, int decimals) {
  std::string out = "[";
  for (int i = begin; i < end; ++i) {
    out += (i > begin ? ", " : "") + Fixed(values[static_cast<std::size_t>(i)], decimals);
  }
  return out + "]";
}

}  // namespace

std::vector<std::string> FitEditWords(EqSet set, const EqFitResult& fit) {
  std::vector<std::string> words;
  for (std::size_t b = 0; b < fit.bands.size(); ++b) {
    words.push_back(BandName(set, b) + "=" + FormatBand(fit.bands[b].band));
  }
  return words;
}

std::string FitReportText(const FitReportInput& in) {
  const FitCurves& c = *in.curves;
  const EqFitResult& fit = *in.fit;
  const std::size_t lo = static_cast<std::size_t>(c.fitBegin);
  const std::size_t hi = static_cast<std::size_t>(c.fitEnd - 1);
  std::string out = std::string(kEqSets[static_cast<std::size_t>(in.set)].name) + ": " +
                    std::to_string(fit.bands.size()) + " bands fitted to " +
                    std::to_string(in.measurements) +
                    (in.measurements == 1 ? " measurement" : " measurements (averaged)") + ", " +
                    Fixed(c.hz[lo], 0) + " to " + Fixed(c.hz[hi], 0) + " Hz (" +
                    std::to_string(c.fitEnd - c.fitBegin) + " points), maximum boost " +
                    Fixed(in.settings->maxBoostDb, 1) + " dB\n";
  for (const auto& note : c.notes) out += "note: " + note + "\n";
  out += "error before: " + Fixed(fit.rmsBefore, 2) + " dB RMS, " + Fixed(fit.maxBefore, 2) +
         " dB max\n";
  out += "error after:  " + Fixed(fit.rmsAfter, 2) + " dB RMS, " + Fixed(fit.maxAfter, 2) +
         " dB max\n";
  const auto words = FitEditWords(in.set, fit);
  for (const auto& w : words) out += w + "\n";
  for (std::size_t b = 0; b < fit.bands.size(); ++b) {
    for (const auto& why : fit.bands[b].atLimit)
      out += "limit: " + BandName(in.set, b) + " " + why + "\n";
  }
  return out;
}

std::string FitReportJson(const FitReportInput& in) {
  const FitCurves& c = *in.curves;
  const EqFitResult& fit = *in.fit;
  std::string out = "{\n  \"set\": " + JsonString(kEqSets[static_cast<std::size_t>(in.set)].name);
  out += ",\n  \"measurements\": " + std::to_string(in.measurements);
  out += ",\n  \"range_hz\": [" + Fixed(c.hz[static_cast<std::size_t>(c.fitBegin)], 1) + ", " +
         Fixed(c.hz[static_cast<std::size_t>(c.fitEnd - 1)], 1) + "]";
  out += ",\n  \"align_hz\": [" + Fixed(in.settings->alignLowHz, 1) + ", " +
         Fixed(in.settings->alignHighHz, 1) + "]";
  out += ",\n  \"max_boost_db\": " + Fixed(in.settings->maxBoostDb, 1);
  out += ",\n  \"before\": {\"rms_db\": " + Fixed(fit.rmsBefore, 3) +
         ", \"max_db\": " + Fixed(fit.maxBefore, 3) + "}";
  out += ",\n  \"after\": {\"rms_db\": " + Fixed(fit.rmsAfter, 3) +
         ", \"max_db\": " + Fixed(fit.maxAfter, 3) + "}";
  out += ",\n  \"notes\": [";
  for (std::size_t i = 0; i < c.notes.size(); ++i) out += (i ? ", " : "") + JsonString(c.notes[i]);
  out += "],\n  \"bands\": [";
  for (std::size_t b = 0; b < fit.bands.size(); ++b) {
    const EqBand& band = fit.bands[b].band;
    out += std::string(b ? "," : "") + "\n    {\"name\": " + JsonString(BandName(in.set, b)) +
           ", \"type\": " + JsonString(BandTypeWord(band.type)) +
           ", \"freq_hz\": " + std::to_string(band.freq) + ", \"q\": " + Fixed(band.q / 10.0, 1) +
           ", \"gain_db\": " + Fixed(band.gain / 10.0, 1) + ", \"at_limit\": [";
    for (std::size_t k = 0; k < fit.bands[b].atLimit.size(); ++k) {
      out += (k ? ", " : "") + JsonString(fit.bands[b].atLimit[k]);
    }
    out += "]}";
  }
  // The curves over the fit range: what was measured, the target, the equaliser and the
  // measurement as the equaliser will leave it.
  std::vector<double> predicted(c.hz.size());
  for (std::size_t i = 0; i < c.hz.size(); ++i) predicted[i] = c.measured[i] + fit.eqDb[i];
  out += "\n  ],\n  \"curves\": {";
  out += "\n    \"hz\": " + JsonNumbers(c.hz, c.fitBegin, c.fitEnd, 2);
  out += ",\n    \"measured_db\": " + JsonNumbers(c.measured, c.fitBegin, c.fitEnd, 3);
  out += ",\n    \"target_db\": " + JsonNumbers(c.target, c.fitBegin, c.fitEnd, 3);
  out += ",\n    \"eq_db\": " + JsonNumbers(fit.eqDb, c.fitBegin, c.fitEnd, 3);
  out += ",\n    \"predicted_db\": " + JsonNumbers(predicted, c.fitBegin, c.fitEnd, 3);
  out += "\n  }\n}\n";
  return out;
}

}  // namespace tavelo
