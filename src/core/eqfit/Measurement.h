#pragma once
// A frequency response as room-measurement programs export it: REW's "Export measurement as
// text" (comment lines starting with `*`, then frequency, SPL and optionally phase per line)
// or a plain two-column CSV. Fields are separated by spaces, tabs, semicolons or commas, and
// numbers may carry a decimal comma. House curves are read the same way.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Lang.h"

namespace tavelo {

// The range in which the processor's bands act and a measurement is used.
inline constexpr double kFitLowestHz = 20.0;
inline constexpr double kFitHighestHz = 20000.0;
// Fewer points than this inside that range describe no response worth fitting.
inline constexpr int kMinMeasurementPoints = 8;
// A measurement exported unsmoothed at full resolution is a few megabytes.
inline constexpr std::size_t kMaxMeasurementBytes = 32u << 20;

struct ResponseCurve {
  std::vector<double> hz;  // strictly rising
  std::vector<double> db;
};

struct MeasurementReading {
  std::optional<ResponseCurve> curve;  // the points between 20 Hz and 20 kHz
  std::string error;                   // when refused: what is wrong, naming the line
  int pointsOutside = 0;               // points below 20 Hz or above 20 kHz, left out
};

// Refuses a point that is not a number (NaN, infinity, a word), a frequency that is not
// positive or does not rise above the line before, and a file with fewer than `minPoints`
// points between 20 Hz and 20 kHz. Points outside that range are left out rather than
// refused: measurement programs export from near 0 Hz up to 24 kHz. A house curve may be
// as short as two points. The error is worded in `lang`.
MeasurementReading ReadMeasurement(std::string_view text, int minPoints = kMinMeasurementPoints,
                                   Lang lang = Lang::kEnglish);

}  // namespace tavelo
