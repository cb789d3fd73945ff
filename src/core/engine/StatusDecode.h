#pragma once
// The status poll reply's seven front-panel position bytes: each holds two 4-bit positions
// 0..12 that become tone-band gains, middle frequencies and the echo and reverb quick values.
#include <array>
#include <cstdint>

#include "core/engine/EngineObserver.h"
#include "core/params/ParamImage.h"

namespace tavelo {

inline constexpr int kPanelPositionBytes = 7;
using PanelPositions = std::array<std::uint8_t, kPanelPositionBytes>;

// A position as a level: (position - 6) * 20 tenths of a dB; positions 13..15 give 0.
int PanelLevel(int position);

// Writes the decoded positions into the two tone groups of the image (bands 1..3: gains,
// band 2: frequency) and into the quick values of `panel`; `panel.positions` becomes `raw`.
void DecodePanelPositions(const PanelPositions& raw, ParamImage& image, FrontPanel& panel);

}  // namespace tavelo
