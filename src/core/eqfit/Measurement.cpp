// Reading measured responses: one point per line, comments and a heading skipped.
#include "core/eqfit/Measurement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/eq/FilterText.h"
#include "core/text/Escaped.h"
#include "core/text/FitTexts.h"

namespace tavelo {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Fields split on blanks and semicolons; a comma next to them is a separator too. A line
// with no other separator is split on its commas (plain CSV), so "100,5 -3,2" reads as two
// numbers with decimal commas and "100.5,-3.2" as two with points.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == ';'; };
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    std::string_view word = line.substr(start, i - start);
    while (!word.empty() && word.front() == ',') word.remove_prefix(1);
    while (!word.empty() && word.back() == ',') word.remove_suffix(1);
    if (!word.empty()) fields.push_back(word);
  }
  if (fields.size() == 1 && fields[0].find(',') != std::string_view::npos) {
    const std::string_view whole = fields[0];
    fields.clear();
    std::size_t start = 0;
    for (std::size_t c = 0; c <= whole.size(); ++c) {
      if (c == whole.size() || whole[c] == ',') {
        fields.push_back(whole.substr(start, c - start));
        start = c + 1;
      }
    }
  }
  return fields;
}

bool LooksLikeNumber(std::string_view word) {
  return !word.empty() && (std::isdigit(static_cast<unsigned char>(word.front())) ||
                           word.front() == '-' || word.front() == '+' || word.front() == '.');
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// "NaN", "inf", "-Infinity": what a program writes for a value it could not measure.
bool IsNonFiniteWord(std::string_view word) {
  std::string w = Lower(word);
  if (!w.empty() && (w.front() == '-' || w.front() == '+')) w.erase(0, 1);
  return w == "nan" || w == "inf" || w == "infinity" || w == "-nan(ind)" || w == "nan(ind)";
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

MeasurementReading ReadMeasurement(std::string_view text, int minPoints, Lang lang) {
  MeasurementReading reading;
  ResponseCurve curve;
  int lineNumber = 0;
  int firstLine = 0;
  int lastLine = 0;
  double previousHz = 0;
  int previousLine = 0;
  bool anyPoint = false;
  auto refuse = [&](const std::string& why) {
    reading.error = SayFit(FitText::kLine, lang, {std::to_string(lineNumber), why});
    return reading;
  };
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;
    if (line.empty() || line.front() == '*' || line.front() == '#') continue;
    const auto fields = Fields(line);
    if (fields.empty()) continue;
    // A heading ("Freq(Hz), SPL(dB), Phase(degrees)") may stand before the first point.
    if (!anyPoint && !LooksLikeNumber(fields[0]) && !IsNonFiniteWord(fields[0])) continue;
    if (fields.size() < 2) {
      return refuse(SayFit(FitText::kNoSpl, lang, {QuotedBytes(line)}));
    }
    double values[2];
    for (int f = 0; f < 2; ++f) {
      const char* what = Text(f == 0 ? FitText::kFrequency : FitText::kSpl, lang);
      if (IsNonFiniteWord(fields[f])) {
        return refuse(SayFit(FitText::kNotMeasured, lang, {what, EscapedBytes(fields[f])}));
      }
      const auto value = ParseLocaleNumber(fields[f]);
      if (!value) {
        return refuse(SayFit(FitText::kNotANumber, lang, {what, QuotedBytes(fields[f])}));
      }
      values[f] = *value;
    }
    const double hz = values[0];
    if (!(hz > 0)) return refuse(SayFit(FitText::kNotAboveZero, lang, {Number(hz)}));
    if (anyPoint && !(hz > previousHz)) {
      return refuse(SayFit(FitText::kNotRising, lang,
                           {Number(hz), Number(previousHz), std::to_string(previousLine)}));
    }
    anyPoint = true;
    previousHz = hz;
    previousLine = lineNumber;
    if (hz < kFitLowestHz || hz > kFitHighestHz) {
      ++reading.pointsOutside;
      continue;
    }
    if (curve.hz.empty()) firstLine = lineNumber;
    lastLine = lineNumber;
    curve.hz.push_back(hz);
    curve.db.push_back(values[1]);
  }
  if (static_cast<int>(curve.hz.size()) < std::max(minPoints, 2)) {
    const std::string lines = curve.hz.empty()
                                  ? std::string(Text(FitText::kLinesNone, lang))
                                  : SayFit(FitText::kLinesRange, lang,
                                           {std::to_string(firstLine), std::to_string(lastLine)});
    reading.error =
        SayFit(FitText::kTooFewPoints, lang,
               {std::to_string(curve.hz.size()), lines, std::to_string(std::max(minPoints, 2))});
    if (reading.pointsOutside > 0) {
      reading.error += SayFit(FitText::kOutsideToo, lang, {std::to_string(reading.pointsOutside)});
    }
    return reading;
  }
  reading.curve = std::move(curve);
  return reading;
}

}  // namespace tavelo
