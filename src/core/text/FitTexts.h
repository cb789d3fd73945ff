#pragma once
// Texts of fitting an equaliser set to a room measurement, in English and Chinese: why a
// measurement or a setting was refused, what the processor's limits held, and the panel's
// fit dialog. The command line reports in English, the panel in the user's language.
// Places are numbered, "{0}", "{1}" (see Placeholders.h).
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/text/Lang.h"

namespace tavelo {

enum class FitText : int {
  // Reading a measurement.
  kLine,           // {0} line number, {1} what is wrong there
  kNoSpl,          // {0} the quoted line
  kFrequency,      // the word for the first column
  kSpl,            // the word for the second column
  kNotMeasured,    // {0} kFrequency or kSpl, {1} the word found
  kNotANumber,     // {0} kFrequency or kSpl, {1} the quoted word
  kNotAboveZero,   // {0} hertz
  kNotRising,      // {0} hertz, {1} the hertz before, {2} its line
  kTooFewPoints,   // {0} points, {1} kLinesNone or kLinesRange, {2} points needed
  kLinesNone,      //
  kLinesRange,     // {0} first line, {1} last line
  kOutsideToo,     // {0} points outside 20 Hz..20 kHz (appended to kTooFewPoints)
  kPointsLeftOut,  // {0} points outside 20 Hz..20 kHz
  // Preparing the curves.
  kNoMeasurement,
  kBadFitRange,    // {0} low, {1} high
  kBadAlignBand,   // {0} low, {1} high
  kBadGrid,        //
  kShortCurve,     //
  kMissesAlign,    // {0} {1} what the measurements share, {2} {3} the alignment band
  kNoAlignPoint,   // {0} {1} the alignment band
  kMissesRange,    // {0} {1} what the measurements share, {2} {3} the fit range
  kRangeNarrowed,  // {0} {1} the range fitted
  // The limits a band reached.
  kGainAtBoostLimit,  // {0} "+3.0 dB"
  kSumAtBoostLimit,   // {0} "+3.0 dB"
  kGainAtLimit,       // {0} "-24.0 dB"
  kQAtLimit,          // {0} "0.4"
  kFrequencyAtEdge,   // {0} hertz
  // The panel's dialog.
  kFitButton,
  kDialogTitle,  // {0} the set's name as the page shows it
  kMeasurements,
  kAddMeasurement,
  kClearMeasurements,
  kTarget,
  kTargetFlat,
  kChooseTarget,
  kFitRange,
  kAlignBand,
  kMaxBoost,
  kRunFit,
  kFitting,
  kApply,
  kCancel,
  kMeasurementFiles,  // the file dialog's filter
  kFileRefused,       // {0} the file's name, {1} why
  kFileUnreadable,    // {0} the file's name, {1} the system's reason
  kFileTooLarge,      // {0} the file's name
  kNeedsNumber,       // {0} the field's caption, {1} the quoted text
  kBoostOutOfRange,   // {0} the highest boost in dB
  kNoMeasurementYet,
  kNothingFitted,  // {0} why
  kPageDisabled,
  kSummary,      // {0} bands, {1} measurements, {2} {3} hertz, {4} points, {5} max boost
  kErrorBefore,  // {0} RMS, {1} maximum
  kErrorAfter,   // {0} RMS, {1} maximum
  kBandLine,     // {0} band number, {1} type ("low shelf"), {2} hertz, {3} Q, {4} gain
  kBandFlat,     // {0} band number
  kBandHeld,     // {0} band number, {1} the limits
  kNote,         // {0} the note
  kLegendMeasured,
  kLegendTarget,
  kLegendPredicted,
  kApplied,  // {0} the set's name as the page shows it
  kCount
};

inline constexpr int kFitTextCount = static_cast<int>(FitText::kCount);

const char* Text(FitText id, Lang lang);
// The text with its places filled in order.
std::string SayFit(FitText id, Lang lang, std::initializer_list<std::string_view> args = {});

}  // namespace tavelo
