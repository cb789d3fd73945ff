#pragma once
// The one clean-up of the 16-byte preset name, for everyone who stores, reads or prints one.
#include <array>
#include <string>
#include <string_view>

#include "core/params/ParamImage.h"

namespace tavelo {

// The preset name stored in a file and sent with an upload: at most 16 characters, those
// below 32 or above 122 replaced by spaces, space padded.
std::array<char, kPresetNameSize> SanitisePresetName(std::string_view name);

// A stored name as the mode-name edit shows it: up to the first NUL, trailing spaces removed.
std::string PresetNameText(const std::array<char, kPresetNameSize>& name);

}  // namespace tavelo
