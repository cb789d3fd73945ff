#pragma once
// A room's working set (a 1140-byte parameter file) as a parameter image.
#include <QByteArray>
#include <optional>

#include "core/params/ParamImage.h"

namespace tavelo::hub {

// Nothing when the bytes are not a valid parameter file.
std::optional<ParamImage> ImageOfSet(const QByteArray& parameterFile);

}  // namespace tavelo::hub
