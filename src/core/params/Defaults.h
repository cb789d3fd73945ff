#pragma once
// What the default set holds beyond the catalogue rows' defaults (ApplyDefaults fills a
// whole image).
#include "core/params/ParamImage.h"

namespace tavelo {

// The frequency band `band` of EQ set `set` has in the default set (an equaliser reset
// returns to it); 0 for a band the set does not have.
int DefaultBandFrequency(EqSet set, int band);

}  // namespace tavelo
