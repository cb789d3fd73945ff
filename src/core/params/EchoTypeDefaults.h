#pragma once
// What the panel loads for a new echo type while no processor is connected to answer with
// its own values: the echo settings behind the type byte and the four echo delays.
#include "core/params/ParamImage.h"

namespace tavelo {

// Stores `type` (0 "mono", 1 "stereo", 2 "dual") in the echo type byte and loads the fixed
// echo values every type starts from. Types outside 0..2 are refused (false, nothing stored).
bool LoadEchoTypeDefaults(ParamImage& image, int type);

}  // namespace tavelo
