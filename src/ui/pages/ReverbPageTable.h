#pragma once
// The reverb page as a table: the shared effect equaliser plus the reverb's level, decay,
// predelay and direct level. The reverb type, room size, liveliness and echo ratio have
// no control on this page; their bytes travel unchanged with the reverb block.
#include "ui/pages/EffectPageTable.h"

namespace tavelo::reverb {

inline constexpr int kDecaySlider = 1226, kDecayText = 1227;
inline constexpr int kPredelaySlider = 1228, kPredelayText = 1229;
inline constexpr int kDirectSlider = 1232, kDirectText = 1233, kDirectSwitch = 1853;

const PageDefinition& Definition();
// Reverb level, decay and predelay: the front panel's reverb quick values 0, 1, 2.
std::span<const effect::QuickSlider> QuickSliders();

}  // namespace tavelo::reverb
