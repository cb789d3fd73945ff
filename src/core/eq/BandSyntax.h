#pragma once
// The text form of one equaliser band on tavelo-cli's command line and in its listings:
//   TYPE,FREQ,Q,GAIN[,SLOPE]
// TYPE peak | lowshelf | highshelf | lowpass | highpass; FREQ whole hertz 20..20000;
// Q and GAIN decimal numbers rounded to tenths (Q 0.4..99.9, 0.4..2.0 for shelves; GAIN
// -24.0..24.0 dB); SLOPE one of SlopeWord()'s names, pass filters only, bypass when left
// out. The accepted ranges are those the pages accept. The text `tavelo-cli show` prints for
// a band ("peak 1000 Hz q=1.0 +3.0 dB", "high-pass 80 Hz butter_24db") reads as well.
#include <optional>
#include <string>
#include <string_view>

#include "core/params/EqBand.h"

namespace tavelo {

std::optional<EqBand> ParseBand(std::string_view text, std::string& error);

// The text ParseBand reads back for any band it accepts. Values outside the ranges (a
// band read from a file or a processor) are written as they are; an unknown type or
// slope is written as "type<N>" or "slope<N>".
std::string FormatBand(const EqBand& band);

// A decimal number in tenths, rounded half away from zero ("1.25" -> 13, "+3" -> 30).
std::optional<int> ParseTenths(std::string_view text);

// A slope by any of its names ("butter_24db", "lr_24db", "Link Riley 24db"; case ignored).
std::optional<std::int8_t> ParseSlopeName(std::string_view text);

// "peak", "lowshelf", ...; nullptr for an unknown type.
const char* BandTypeWord(int type);
// "bypass", "bessel_12db", ..., "lr_24db"; nullptr for an unknown slope code.
const char* SlopeWord(int slope);

}  // namespace tavelo
