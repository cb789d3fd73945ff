#pragma once
// The words of printed commissioning reports, in English and Chinese.
#include <string_view>

#include "core/text/Lang.h"

namespace tavelo {

enum class ReportText : int {
  kTitle,      // "Commissioning report"
  kPreset,     // "Preset"
  kDate,       // "Date"
  kSource,     // "Source"
  kParameter,  // "Parameter"
  kValue,      // "Value"
  kName,       // "Name"
  kBand,       // "Band"
  kType,       // "Type"
  kFrequency,  // "Frequency"
  kQ,          // "Q"
  kGain,       // "Gain"
  kSlope,      // "Slope"
  kPage,       // "Page %d of %d"
  kContinued,  // "(continued)"
  kExport,     // "Export report...": the panel's button and its file dialog
  kPdfFiles,   // the file dialog's filter
  kWritten,    // "%s": the report's file
  kProcessor,  // the source of a report of the processor's preset
  kSetNumber,  // ", set %d": a value or equaliser of an output's set 1 or 2
  kOn,         // a switch that is on
  kOff,        // a switch that is off
  kLevelOff,   // " (off)": after a level whose button is off
  kPeak,       // band types, as the band tables name them
  kLowShelf,
  kHighShelf,
  kLowPass,
  kHighPass,
  kEqInCircuit,    // the caption of an equaliser's on/off value (the panel's "EQ Bypass")
  kCompInCircuit,  // the same for a compressor ("Comp Bypass")
  kCount
};

std::string_view ReportWord(ReportText text, Lang lang);

// The band table's name of a band type (0 peak .. 4 high-pass); "" for any other.
std::string_view ShownBandType(int type, Lang lang);

}  // namespace tavelo
