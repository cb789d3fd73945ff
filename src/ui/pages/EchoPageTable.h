#pragma once
// The echo page as a table: the shared effect equaliser plus the echo's own rows. The
// right-channel rows are shown by echo type: the stereo type keeps its right delay and
// predelay as percent bytes, the dual type as millisecond words, with its own repeat and
// level; the mono type has none.
#include "ui/pages/EffectPageTable.h"

namespace tavelo::echo {

inline constexpr int kDelaySlider = 1220, kDelayText = 1221;
inline constexpr int kRepeatSlider = 1222, kRepeatText = 1223;
inline constexpr int kLeftPredelaySlider = 1228, kLeftPredelayText = 1229;
inline constexpr int kDirectSlider = 1232, kDirectText = 1235, kDirectSwitch = 1854;
inline constexpr int kRightDelaySlider = 1226, kRightDelayText = 1227;
inline constexpr int kRightPredelaySlider = 1233, kRightPredelayText = 1237;
inline constexpr int kRightRepeatSlider = 1234, kRightRepeatText = 1239;
inline constexpr int kRightLevelSlider = 1218, kRightLevelText = 1219, kRightLevelSwitch = 1853;
inline constexpr int kTypeList = 1811;

// Values of the echo type byte.
inline constexpr int kMono = 0, kStereo = 1, kDual = 2;

const PageDefinition& Definition();
// Echo level, delay and repeat: the front panel's echo quick values 0, 1, 2.
std::span<const effect::QuickSlider> QuickSliders();

}  // namespace tavelo::echo
