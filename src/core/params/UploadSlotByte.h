#pragma once
// The slot byte that ends an upload: the slot in bits 0..4, where the slots after the stored
// ones (kFactorySlotBase onward) write the factory set; bit 7 marks a preset loaded from a
// file.
#include "core/params/ParamImage.h"

namespace tavelo {

inline constexpr int kSlotByteMask = 0x1F;
inline constexpr int kFactorySlotBase = kStoredPresets;
inline constexpr int kFromFileFlag = 0x80;

}  // namespace tavelo
