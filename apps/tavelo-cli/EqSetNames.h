#pragma once
// Equaliser sets named on the command line: "music_eq", "main_eq_1", ...
#include <optional>
#include <string>

#include "core/params/ParamImage.h"

namespace tavelo::cli {

std::optional<EqSet> FindEqSet(const std::string& name);
std::string EqSetNames();  // "mic_eq_a, mic_eq_b, ..."
// "no equaliser set "x" (SET: mic_eq_a, ...)".
std::string NoEqSet(const std::string& name);

}  // namespace tavelo::cli
