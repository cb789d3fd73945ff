#pragma once
// Equaliser filters in the text that room-measurement programs write and read, e.g.
//   Filter  1: ON  PK       Fc    63.0 Hz  Gain  -5.0 dB  Q  4.00
//   Filter: ON LSC Fc 120 Hz Gain 3 dB Q 0.7
// Read into the processor's bands, and the processor's bands written back in that form, so
// an installer applies a measured room correction without retyping it and can look at the
// processor's curve in the measuring program.
//
// The processor's peaks and shelves are the audio-EQ-cookbook biquads at 48 kHz; a shelf's
// frequency is its mid-gain point. A filter maps onto a band when the cookbook describes it:
// PK, LS/HS (slope 1, Q 0.707), LS/HS 12dB, LSC/HSC with a Q or a slope in dB per octave.
// Anything else (first-order shelves, pass, notch, all-pass...) is reported, never guessed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/params/EqBand.h"
#include "core/text/Lang.h"

namespace tavelo {

// One enabled filter the processor's bands can express, its values as the file gives them.
struct TextFilter {
  int line = 0;          // 1-based line of the file
  int number = 0;        // the file's filter number; 0 when the line gives none
  std::string typeWord;  // as written, escaped for display: "PK", "LSC", "HS 12dB"
  BandType type = kBandPeak;
  double frequency = 0;  // Hz
  double gainDb = 0;
  double q = 0;
};

struct FilterTextReading {
  std::vector<TextFilter> filters;
  // Lines that hold a filter the processor cannot take, or that cannot be read, each naming
  // its line and why ("line 9: filter 4 (NO) is a notch; the processor's bands have none").
  std::vector<std::string> problems;
  int disabled = 0;    // OFF filters and "None" slots, skipped as the measuring program does
  int otherLines = 0;  // lines that carry no filter and no command (names, device lines)
};

// Reads LF or CRLF text; numbers may use a decimal comma. Preamp, comment and header lines
// are ignored; a line that is neither a filter nor one of those is reported.
// Problems are worded in `lang`.
FilterTextReading ReadFilterText(std::string_view text, Lang lang = Lang::kEnglish);

// A filter fitted to a band: rounded to the processor's steps (whole hertz, tenths of a dB
// and of Q) and held to its limits. Each value that had to be held is named in `held`.
struct FittedBand {
  EqBand band{};
  std::vector<std::string> held;  // "gain +30.0 dB held to +24.0 dB"
};
FittedBand FitFilter(const TextFilter& filter, Lang lang = Lang::kEnglish);

// What a set of `bandCount` bands holds after taking `filters` in order: band k takes the
// k-th filter, the bands no filter reaches are made flat (gain 0), and filters beyond the
// last band are listed as left over.
struct FilterImport {
  std::vector<EqBand> bands;       // bandCount bands
  std::vector<std::string> notes;  // per band: what was held; a flat band says so
  std::vector<TextFilter> leftOver;
};
FilterImport ImportFilters(const std::vector<TextFilter>& filters, const EqBand* current,
                           int bandCount, Lang lang = Lang::kEnglish);

// The bands in the same text, numbered from 1, headed by `title` as a note line. A band the
// text cannot express (a pass filter, an unknown type) is written as a comment naming it.
std::string WriteFilterText(const EqBand* bands, int count, std::string_view title);

// "63.5" or "63,5" as a finite number; the whole word must be the number.
std::optional<double> ParseLocaleNumber(std::string_view word);

}  // namespace tavelo
