#pragma once
// The text form of one equaliser band on tavelo-cli's command line and in its listings:
//   TYPE,FREQ,Q,GAIN[,SLOPE]
// TYPE peak | lowshelf | highshelf | lowpass | highpass; FREQ whole hertz 20..20000;
// Q and GAIN decimal numbers rounded to tenths (Q 0.4..99.9, 0.4..2.0 for shelves; GAIN
// -24.0..24.0 dB); SLOPE one of SlopeName()'s names, pass filters only, bypass when left
// out. The accepted ranges are those the pages accept.
#include <optional>
#include <string>
#include <string_view>

#include "params/EqBand.h"

namespace tavelo {

std::optional<EqBand> ParseBand(std::string_view text, std::string& error);

// The text ParseBand reads back for any band it accepts. Values outside the ranges (a
// band read from a file or a processor) are written as they are; an unknown type or
// slope is written as "type<N>" or "slope<N>".
std::string FormatBand(const EqBand& band);

// "peak", "lowshelf", ...; nullptr for an unknown type.
const char* BandTypeName(int type);
// "bypass", "bessel_12db", ..., "lr_24db"; nullptr for an unknown slope code.
const char* SlopeName(int slope);

}  // namespace tavelo
