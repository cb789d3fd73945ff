#pragma once
// The processor's side of the block encoder: puts the data of a block request back into
// the parameter image, so a later download shows the change.
#include <cstdint>

#include "core/params/ParamImage.h"

namespace tavelo {

// Applies the data of `code` to `image`. Returns false when the code carries no image
// data or the data is too short or out of range (the image is then unchanged).
bool ApplyBlockToImage(ParamImage& image, std::uint8_t code, const std::uint8_t* data,
                       int dataLength);

}  // namespace tavelo
